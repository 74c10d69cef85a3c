# Windows tests of the icon services, run under Wine against real files that
# scripts/icon-test-files.sh prepares (wrestool's group counts, an .ico and a
# .cur extracted by wrestool, Wine's 32-bit and 64-bit images).
velmora_add_gtest(icons_win32_tests
  SOURCES extract_icons_win32_test.cpp extract_icons_slots_test.cpp icofile_win32_test.cpp icofile_replace_test.cpp
  LIBS velmora_static advapi32)
add_test(NAME icons_test_files
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/icon-test-files.sh ${CMAKE_BINARY_DIR}/icon-files)
set_tests_properties(icons_test_files PROPERTIES FIXTURES_SETUP icon_test_files)
set_tests_properties(icons_win32_tests PROPERTIES FIXTURES_REQUIRED icon_test_files
                     ENVIRONMENT VELMORA_ICON_TEST_FILES=${CMAKE_BINARY_DIR}/icon-files)

# The main dialog's dropped-file icon, in process.
velmora_add_gtest(icons_dropped_icon_tests
  SOURCES dropped_icon_test.cpp
  LIBS velmora_ui velmora_static velmora_res)
set_tests_properties(icons_dropped_icon_tests PROPERTIES RESOURCE_LOCK wine_display
                     FIXTURES_REQUIRED icon_test_files ENVIRONMENT VELMORA_ICON_TEST_FILES=${CMAKE_BINARY_DIR}/icon-files)

# The fuzz corpus of the resource walk (seeds made from Wine's images, the
# regression inputs kept with the sources, and what a fuzz run of this tree
# added, when there is one) through the Win32 ExtractFileIcons.
velmora_add_gtest(icons_corpus_tests SOURCES corpus_win32_test.cpp LIBS velmora_static)
add_test(NAME icons_fuzz_seeds
         COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/scripts/icon-fuzz-seeds.py ${CMAKE_BINARY_DIR}/icon-fuzz-seeds
                 ${CMAKE_BINARY_DIR}/icon-files/wine32)
set_tests_properties(icons_fuzz_seeds PROPERTIES FIXTURES_SETUP icon_fuzz_seeds FIXTURES_REQUIRED icon_test_files)
get_filename_component(VELMORA_FUZZ_CORPUS ${CMAKE_BINARY_DIR}/../fuzz/corpus/fuzz_icons ABSOLUTE)
set_tests_properties(icons_corpus_tests PROPERTIES FIXTURES_REQUIRED icon_fuzz_seeds
  ENVIRONMENT "VELMORA_ICON_CORPUS=${CMAKE_BINARY_DIR}/icon-fuzz-seeds|${PROJECT_SOURCE_DIR}/fuzz/regressions/fuzz_icons|${VELMORA_FUZZ_CORPUS}")
