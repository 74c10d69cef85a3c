// What an entry's target names on this system, and whether it is there.
#pragma once

#include "velmora/CString.h"

// The file a target file (TargetFileOf) names here: %NAME% references
// expanded from the environment, and a bare file name (no folder, no drive)
// searched the way SearchPath does. What cannot be expanded or found stays as
// it is.
CString ResolveTargetFile(const CString& file);

// An existing file that is not a folder.
bool IsExistingFile(const CString& path);
// An existing folder.
bool IsExistingFolder(const CString& path);

// Whether an entry's target file exists: MarkRunEntries' check.
bool TargetFileExists(const CString& file);
