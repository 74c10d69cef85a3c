// Text rules of run-command registration, free of any window or registry:
// file titles of dropped paths, the executable test, command-name trimming
// and the key path below App Paths that holds a command.
// All text is UTF-16 (CStringW) as the platform hands it over; positions
// count code units, and the separators and blanks the rules look for are
// ASCII, so no character of a name is ever taken for one.
#pragma once

#include "base/wide_text.h"

// The longest command name the tool takes (the main dialog's field, the
// manager's in-place edit), in UTF-16 code units.
constexpr int kCommandNameLimit = 25;

// The App Paths key, below HKEY_LOCAL_MACHINE and below HKEY_CURRENT_USER.
extern const char16_t* const kAppPathsKey;

// The file name of a path without its directory and extension: the text
// strictly between the last backslash and the last full stop, when the full
// stop comes after the backslash and the backslash is not the first
// character. Otherwise (no backslash, no extension, an extension only on a
// directory) the empty string.
CStringW GetFileTitleFromPath(const CStringW& path);

// True when the last four code units of the path (the whole path when
// shorter) are ".exe" in any letter case.
bool HasExeExtension(const CStringW& path);

// The typed command name without spaces, carriage returns, line feeds and
// tabs at either end.
CStringW TrimCommandName(const CStringW& typed);

// A command and the key below App Paths that holds it, both ways: the typed
// name trimmed, ".exe" added and the path normalised as writing it makes
// the keys ("tools\\ed " -> "tools\ed.exe"); the key path without its
// last four units ("tools\ed.exe" -> "tools\ed").
CStringW KeyPathOfCommand(const CStringW& name);
CStringW CommandOfKeyPath(const CStringW& keyPath);
