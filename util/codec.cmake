# Base64, number transforms and human-readable formatting.
velmora_library_part(velmora_util_codec SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/codec/base64.cpp)
