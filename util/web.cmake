# URL and code-page conversion, download-link decoders, logging and directories.
velmora_library_part(velmora_util_web SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/web/text_encoding.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/web/url_encode.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/web/url_decode.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/web/link_decode.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/web/url_filter.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/web/module_directory.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/web/log_message.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/web/directories.cpp)
