// The values of a command's App Paths key that hold its options. Written by
// the store, read by the launcher at every start; the key carries them, so a
// rename, a copy to the other scope, an export and an import carry them too.
// Plain constants, so the launcher (which links no runtime) can use them.
#pragma once

// The real program of a command with options (REG_SZ, or REG_EXPAND_SZ),
// whose default value names its launcher instead.
inline constexpr char16_t kOptionProgramValue[] = u"VelmoraProgram";
// Preset arguments (REG_SZ): `%*` for the words typed, `%%`, `%NAME%`.
inline constexpr char16_t kOptionArgumentsValue[] = u"VelmoraArguments";
// The working folder (REG_SZ, or REG_EXPAND_SZ when it holds %variables%).
inline constexpr char16_t kOptionFolderValue[] = u"VelmoraWorkingFolder";
// Environment variables (REG_MULTI_SZ of NAME=VALUE; values expanded).
inline constexpr char16_t kOptionEnvironmentValue[] = u"VelmoraEnvironment";
// Run as administrator (REG_DWORD, not zero).
inline constexpr char16_t kOptionAdministratorValue[] = u"VelmoraRunAsAdministrator";

// The folder inside each scope's launcher folder that holds the launchers of
// commands with options, which the Run box starts through the default value
// of their entry: below the folder on PATH, not on PATH itself.
inline constexpr char16_t kOptionsFolderName[] = u"options";
