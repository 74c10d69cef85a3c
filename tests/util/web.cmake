velmora_add_gtest(util_web_tests
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/web/url_test.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/web/codepage_test.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/web/link_decode_test.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/web/logging_test.cpp
  LIBS velmora_static)

# The logging tests start this helper twice at once; it lives beside them,
# so both write into the same log directory.
add_executable(log_writer ${CMAKE_CURRENT_SOURCE_DIR}/web/log_writer.cpp)
velmora_defaults(log_writer)
target_link_libraries(log_writer PRIVATE velmora_static)
add_dependencies(util_web_tests log_writer)
