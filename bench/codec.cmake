# MD5 and Base64 against OpenSSL, with a summary of throughput ratios.
add_executable(bench_codec ${CMAKE_CURRENT_SOURCE_DIR}/codec/bench_codec.cpp)
velmora_defaults(bench_codec)
target_link_libraries(bench_codec PRIVATE velmora_static benchmark::benchmark OpenSSL::Crypto)
