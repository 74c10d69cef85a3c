# Icon groups of Wine's i386 files: the portable walk against wrestool.
# Compiled without the GBK literal setting: <chrono> has literals GBK lacks.
add_executable(bench_icons ${CMAKE_CURRENT_SOURCE_DIR}/icons/bench_icons.cpp
  ${PROJECT_SOURCE_DIR}/icons/pe_resources.cpp)
target_include_directories(bench_icons PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_options(bench_icons PRIVATE -Wall -Wextra)
target_link_libraries(bench_icons PRIVATE benchmark::benchmark)
