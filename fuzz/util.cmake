# Fuzz targets of the utility library's parsers and converters.
foreach(target base64_decode url_decode url_decode_share_az utf8_to_gb
               thunder_decode flashget_decode qqdl_decode url_filter)
  velmora_add_fuzzer(fuzz_${target}
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/util/fuzz_${target}.cpp
    LIBS velmora_static)
endforeach()
