// What an entry's target names on this system, and whether it is there.
#pragma once

#include "base/wide_text.h"

// The file a target file (TargetFileOf) names here: %NAME% references
// expanded from the environment, and a bare file name (no folder, no drive)
// searched the way SearchPath does. What cannot be expanded or found stays as
// it is.
CStringW ResolveTargetFile(const CStringW& file);

// The path under which this process reads the file that `path` names for
// the system and the shell. A 32-bit process under WOW64 is shown SysWOW64 in
// place of the Windows folder's System32, so a path there is read through
// Sysnative (PathThroughSysnative); any other process reads every path as it
// is. For existence checks and icon reads only: what goes into the registry
// or to the shell keeps the path as the user gave it.
CStringW PathToReadHere(const CStringW& path);

// An existing file that is not a folder, looked for through PathToReadHere.
bool IsExistingFile(const CStringW& path);
// An existing folder, looked for through PathToReadHere.
bool IsExistingFolder(const CStringW& path);

// Whether an entry's target file exists: MarkRunEntries' check.
bool TargetFileExists(const CStringW& file);

// Whether a folder of a Path value exists: %NAME% references expanded, then
// IsExistingFolder. MarkPathFolders' check.
bool PathFolderExists(const CStringW& folder);

// `path` made absolute against the current folder (GetFullPathNameW);
// `path` itself when that fails.
CStringW FullPathOf(const CStringW& path);

// The full path of the running program, whatever its length.
CStringW RunningProgramPath();
