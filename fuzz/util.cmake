# Fuzz targets of the utility library's parsers and converters.
foreach(target base64_decode base64_engines url_decode url_decode_share_az utf8_to_gb url_filter)
  velmora_add_fuzzer(fuzz_${target}
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/util/fuzz_${target}.cpp
    LIBS velmora_static)
endforeach()

# The three link decoders share one target source.
foreach(pair thunder_decode:ThunderURLDecode flashget_decode:FlashgetURLDecode qqdl_decode:QQDLURLDecode)
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 target)
  list(GET pair 1 decoder)
  velmora_add_fuzzer(fuzz_${target}
    SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/util/fuzz_link_decode.cpp
    LIBS velmora_static)
  target_compile_definitions(fuzz_${target} PRIVATE VELMORA_FUZZ_DECODER=${decoder})
endforeach()
