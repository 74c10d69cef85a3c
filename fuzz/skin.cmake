# Fuzz target of the skin's packed bitmaps. The unpacker is compiled into the
# target so that it carries the fuzzer's coverage instrumentation.
velmora_add_fuzzer(fuzz_packed_bitmap
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/skin/fuzz_packed_bitmap.cpp ${PROJECT_SOURCE_DIR}/skin/packed_bitmap.cpp)
target_include_directories(fuzz_packed_bitmap PRIVATE ${PROJECT_SOURCE_DIR})
