// Aligned text columns for the console: each cell padded to its column's
// widest cell as a terminal shows it (Chinese and other wide characters
// take two columns).
#pragma once

#include <vector>

#include "base/wide_text.h"

// How many terminal columns `text` takes: two for East Asian wide and
// full-width characters and for characters beyond the Basic Multilingual
// Plane (a surrogate pair, as emoji are), none for a lone low surrogate
// after its pair's first half, one for everything else.
int DisplayWidth(const CStringW& text);

// The rows as lines ending in "\n": cells separated by two blanks, every
// column but the last padded, no blanks at a line's end.
CStringW AlignedTable(const std::vector<std::vector<CStringW>>& rows);
