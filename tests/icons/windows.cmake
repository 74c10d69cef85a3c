# Windows tests of the icon services, run under Wine against real files that
# scripts/icon-test-files.sh prepares (wrestool's group counts, an .ico and a
# .cur extracted by wrestool, the 64-bit Wine images).
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
  LIBS velmora_app velmora_static velmora_res)
set_tests_properties(icons_dropped_icon_tests PROPERTIES RESOURCE_LOCK wine_display)
