# Base64 (a portable engine and vector ones chosen by the processor), number
# transforms and human-readable formatting.
velmora_library_part(velmora_util_codec SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/codec/base64.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/codec/base64_ssse3.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/codec/base64_avx2.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/codec/base64_avx512vbmi.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/codec/cpu_features.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/codec/fixed_decimal.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/codec/transform.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/codec/humanize.cpp)
