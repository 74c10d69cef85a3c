# Code-page conversion against raw iconv, URL encoding and decoding.
add_executable(bench_web ${CMAKE_CURRENT_SOURCE_DIR}/web/bench_web.cpp)
velmora_defaults(bench_web)
target_link_libraries(bench_web PRIVATE velmora_static benchmark::benchmark)
