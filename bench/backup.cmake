# Writing and reading the .reg backup of 2 000 run commands.
add_executable(bench_backup ${CMAKE_CURRENT_SOURCE_DIR}/backup/bench_backup.cpp)
velmora_defaults(bench_backup)
target_link_libraries(bench_backup PRIVATE velmora_runcmd velmora_static benchmark::benchmark)
