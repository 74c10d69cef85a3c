// Text rules of run-command registration, free of any window or registry:
// file titles of dropped paths, the executable test, command-name trimming,
// key paths below App Paths and the splitting of key paths into key names.
// All text is UTF-16 (CStringW) as the platform hands it over; positions
// count code units, and the separators and blanks the rules look for are
// ASCII, so no character of a name is ever taken for one.
#pragma once

#include <vector>

#include "base/wide_text.h"

// The longest command name the tool takes (the main dialog's field, the
// manager's in-place edit), in UTF-16 code units.
constexpr int kCommandNameLimit = 25;

// The App Paths key, below HKEY_LOCAL_MACHINE and below HKEY_CURRENT_USER.
extern const char16_t* const kAppPathsKey;
// Key path of a run command; %s is the command name.
extern const char16_t* const kAppPathsKeyFormat;
// Key path of the tool's own run command, "run".
extern const char16_t* const kAppPathsRunKey;

// The file name of a path without its directory and extension: the text
// strictly between the last backslash and the last full stop, when the full
// stop comes after the backslash and the backslash is not the first
// character. Otherwise (no backslash, no extension, an extension only on a
// directory) the empty string.
CStringW GetFileTitleFromPath(const CStringW& strPath);

// True when the last four code units of the path (the whole path when
// shorter) are ".exe" in any letter case.
bool HasExeExtension(const CStringW& strPath);

// The typed command name without spaces, carriage returns, line feeds and
// tabs at either end.
CStringW TrimCommandName(const CStringW& strTyped);

// Key path of the run command `strName`.
CStringW BuildCommandKeyPath(const CStringW& strName);

// The key path as the registry names the keys that RegWriteString walks:
// the names of SplitKeyPath joined by single backslashes. A name typed with
// doubled backslashes or blanks around its parts reads the key that writing
// it made.
CStringW NormalizeKeyPath(const CStringW& strKeyPath);

// Appends the pieces of `strSource` between runs of `pszSeparators` to
// `pieces`; what `pieces` held before is kept and empty pieces are never
// added. With bTrim, the source first loses " |*\r\n\t" at both ends and each
// piece " \r\n\t" at both ends.
void SplitString(const CStringW& strSource, const char16_t* pszSeparators, std::vector<CStringW>& pieces,
                 bool bTrim);

// The key names along a key path, in order: the path without spaces and
// backslashes at its ends, split at backslashes with trimming.
std::vector<CStringW> SplitKeyPath(const CStringW& strKeyPath);
