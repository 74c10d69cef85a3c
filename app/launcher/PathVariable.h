// Edits of a PATH value's text: folders separated by semicolons, split as
// every folder list is (PathListEntries: a semicolon in double quotes is part
// of its folder). Every entry but the one edited is kept as it was written,
// with its separators; a folder matches an entry as SameFolder says.
#pragma once

#include <vector>

#include "base/wide_text.h"

// Whether `list` names `folder`.
bool PathListHas(const CStringW& list, const CStringW& folder);

// `list` with `folder` appended, or `list` itself when it names it already.
CStringW PathListWith(const CStringW& list, const CStringW& folder);

// `list` without any entry naming `folder`.
CStringW PathListWithout(const CStringW& list, const CStringW& folder);

// The folders of `list` up to (not including) the first entry naming
// `folder`, or all of them when none does; empty entries are skipped, quotes
// and surrounding blanks removed.
std::vector<CStringW> PathFoldersBefore(const CStringW& list, const CStringW& folder);
