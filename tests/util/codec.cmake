velmora_add_gtest(util_codec_tests
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/codec/base64_test.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/codec/base64_engines_test.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/codec/transform_test.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/codec/humanize_test.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/codec/same_bytes_test.cpp
  LIBS velmora_static)
