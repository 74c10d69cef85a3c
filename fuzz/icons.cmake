# Fuzz target of the icon services' parsers. The portable sources are compiled
# into the target itself so that they carry the fuzzer's coverage
# instrumentation. Its seeds are Wine's own 32-bit executables (fetched by
# scripts/fetch-wine-images.sh) cut down to their headers and resource
# section, made in the build directory by scripts/icon-fuzz-seeds.py.
set(VELMORA_ICON_FUZZ_SOURCES
  ${PROJECT_SOURCE_DIR}/icons/pe_resources.cpp
  ${PROJECT_SOURCE_DIR}/icons/file_kind.cpp
  ${PROJECT_SOURCE_DIR}/icons/path_variables.cpp
  ${PROJECT_SOURCE_DIR}/icons/environment_posix.cpp)
velmora_add_fuzzer(fuzz_icons
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/icons/fuzz_icons.cpp ${VELMORA_ICON_FUZZ_SOURCES})
add_custom_command(TARGET fuzz_icons POST_BUILD
  COMMAND ${PROJECT_SOURCE_DIR}/scripts/fetch-wine-images.sh i386 ${CMAKE_BINARY_DIR}/wine-images/wine32
  COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/scripts/icon-fuzz-seeds.py ${CMAKE_BINARY_DIR}/corpus/fuzz_icons
          ${CMAKE_BINARY_DIR}/wine-images/wine32
  VERBATIM)
