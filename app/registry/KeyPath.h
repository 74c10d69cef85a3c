// Key paths as the registry walks them: names between backslashes. Plain
// text rules shared by every registry helper; all text is UTF-16 and the
// separators and blanks looked for are ASCII, so no character of a name is
// ever taken for one.
#pragma once

#include <vector>

#include "base/wide_text.h"

// Appends the pieces of `source` between runs of `separators` to
// `pieces`; what `pieces` held before is kept and empty pieces are never
// added. With trim, the source first loses " |*\r\n\t" at both ends and each
// piece " \r\n\t" at both ends.
void SplitString(const CStringW& source, const char16_t* separators, std::vector<CStringW>& pieces,
                 bool trim);

// The key names along a key path, in order: the path without spaces and
// backslashes at its ends, split at backslashes with trimming.
std::vector<CStringW> SplitKeyPath(const CStringW& keyPath);

// The key path as the registry names the keys that RegWriteString walks:
// the names of SplitKeyPath joined by single backslashes. A name typed with
// doubled backslashes or blanks around its parts reads the key that writing
// it made.
CStringW NormalizeKeyPath(const CStringW& keyPath);
