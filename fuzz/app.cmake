# Fuzz target of the run-command text rules and the registry key walk. The
# sources are compiled into the target so that they carry the fuzzer's
# coverage instrumentation.
velmora_add_fuzzer(fuzz_command_text
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/app/fuzz_command_text.cpp
          ${PROJECT_SOURCE_DIR}/app/CommandText.cpp ${PROJECT_SOURCE_DIR}/app/RegistryAccess.cpp
  LIBS velmora_static)
