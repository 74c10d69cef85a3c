# Helpers shared by every directory of the build.
#
#   velmora_defaults(target)           warnings, code page of literals, platform defines
#   velmora_library_part(name SOURCES ...)
#                                      an object library whose objects go into the
#                                      exported library (libvelmora.so / velmora.dll,
#                                      Velmora.exe) and into velmora_static
#   velmora_add_gtest(name SOURCES ... [LIBS ...] [ARGS ...])
#                                      a GoogleTest executable, run by ctest as one entry
#                                      with ARGS (under Wine on the Windows build)

function(velmora_defaults target)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/include)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # Source files are UTF-8; narrow literals are GBK at run time.
    target_compile_options(${target} PRIVATE -finput-charset=UTF-8 -fexec-charset=GBK)
  endif()
  if(WIN32)
    target_compile_definitions(${target} PRIVATE
      _WIN32_WINNT=0x0601 WINVER=0x0601 __USE_MINGW_ANSI_STDIO=1 NOMINMAX)
  endif()
endfunction()

function(velmora_library_part name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} OBJECT ${ARG_SOURCES})
  velmora_defaults(${name})
  target_compile_definitions(${name} PRIVATE VELMORA_BUILDING)
  set_target_properties(${name} PROPERTIES POSITION_INDEPENDENT_CODE ON
                                           CXX_VISIBILITY_PRESET hidden
                                           VISIBILITY_INLINES_HIDDEN ON)
  if(ARG_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  endif()
  set_property(GLOBAL APPEND PROPERTY VELMORA_LIBRARY_PARTS ${name})
endfunction()

function(velmora_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ARGS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  velmora_defaults(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock velmora_gtest_main)
  add_test(NAME ${name} COMMAND ${name} ${ARG_ARGS})
endfunction()
