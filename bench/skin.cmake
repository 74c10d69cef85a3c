# Unpacking the skin's packed artwork, step by step, as a dialog set up at
# that step does. Compiled without the GBK literal setting: <chrono> has
# literals GBK lacks.
add_executable(bench_packed_skin ${CMAKE_CURRENT_SOURCE_DIR}/skin/bench_packed_skin.cpp
  ${PROJECT_SOURCE_DIR}/skin/packed_bitmap.cpp)
target_include_directories(bench_packed_skin PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(bench_packed_skin PRIVATE -Wall -Wextra)
target_compile_definitions(bench_packed_skin PRIVATE VELMORA_RES_DIR="${PROJECT_SOURCE_DIR}/res")
target_link_libraries(bench_packed_skin PRIVATE benchmark::benchmark)
