// The `Path` value of a run command as a list of folders: the shell adds the
// folders, separated by semicolons, to the program's PATH when it starts it.
// Plain text rules; whether a folder exists is asked of a callback.
#pragma once

#include <functional>
#include <vector>

#include "base/wide_text.h"

// The entries of a folder list (a Path value, the PATH variable) exactly as
// written, without the semicolons between them: split at every semicolon
// that is not inside double quotes; quotes, blanks and empty entries kept.
// Joined again with ';' they give the text back.
std::vector<CStringW> PathListEntries(const CStringW& value);

// The folders of a Path value in order, as the user reads them: split at
// semicolons (a semicolon inside double quotes is part of the folder), each
// folder without blanks at its ends and without the quotes that storage
// needs (no folder name holds a quote), empty items left out.
std::vector<CStringW> SplitPathList(const CStringW& value);

// True when `folders` (as edited: blanks at the ends and empty items do not
// count) is the list the stored value already holds, so that writing it
// would change nothing the shell sees. The stored text is then best kept
// as it is, byte for byte: a trailing semicolon, spacing and quotes stay.
bool SamePathList(const CStringW& stored, const std::vector<CStringW>& folders);

// The folders joined with single semicolons, each without blanks at its
// ends; empty ones are left out. A folder holding a semicolon is written in
// double quotes (any stray quote in it dropped), unless it is quoted
// already.
CStringW JoinPathList(const std::vector<CStringW>& folders);

// True when the text holds a %name% pair (a name of at least one character
// between two percent signs), which the shell expands only in REG_EXPAND_SZ.
bool HoldsEnvironmentVariable(const CStringW& text);

// Two folder texts name the same folder: equal once blanks and quotes at the
// ends and trailing backslashes (not a drive's "C:\") are taken off, ASCII
// letter case ignored.
bool SameFolder(const CStringW& a, const CStringW& b);

// Appends `folder` (quotes and blanks at its ends taken off). False, and the list
// unchanged, when it is empty or SameFolder as one already listed.
bool AddPathFolder(std::vector<CStringW>& folders, const CStringW& folder);

// Removes the folder at `index`; false when there is none.
bool RemovePathFolder(std::vector<CStringW>& folders, std::size_t index);

// Swaps the folder at `index` with the one before (up) or after (down);
// false, and the list unchanged, at the ends or past them.
bool MovePathFolderUp(std::vector<CStringW>& folders, std::size_t index);
bool MovePathFolderDown(std::vector<CStringW>& folders, std::size_t index);

// Whether a folder exists; the text is as listed (quotes and blanks taken
// off, %variables% not expanded: the platform side expands them).
using FolderCheck = std::function<bool(const CStringW& folder)>;

struct PathFolder {
    CStringW folder;
    bool missing = false;
};

// Each folder with its "missing" mark: `exists` is asked once per folder,
// with the quotes at its ends taken off.
std::vector<PathFolder> MarkPathFolders(const std::vector<CStringW>& folders, const FolderCheck& exists);
