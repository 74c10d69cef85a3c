# Fuzz target of the run-command text rules, key paths, the registry key walk, the
# listing of entries (with their options) and the deletion of key trees. The
# sources are compiled into the target so that they carry the fuzzer's
# coverage instrumentation.
velmora_add_fuzzer(fuzz_command_text
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/app/fuzz_command_text.cpp
          ${PROJECT_SOURCE_DIR}/app/runcmd/CommandText.cpp ${PROJECT_SOURCE_DIR}/app/registry/KeyPath.cpp
          ${PROJECT_SOURCE_DIR}/app/registry/RegistryAccess.cpp
          ${PROJECT_SOURCE_DIR}/app/registry/RegistryTree.cpp ${PROJECT_SOURCE_DIR}/app/runcmd/RunEntries.cpp
          ${PROJECT_SOURCE_DIR}/app/runcmd/RunCommandOptions.cpp ${PROJECT_SOURCE_DIR}/app/registry/RegistryValues.cpp
  LIBS velmora_text velmora_static)

# Fuzz target of the .reg file reader and writer.
velmora_add_fuzzer(fuzz_reg_file
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/app/fuzz_reg_file.cpp ${PROJECT_SOURCE_DIR}/app/registry/RegFile.cpp
  LIBS velmora_text velmora_static)
