// Text for output: JSON string literals and UTF-8 bytes from UTF-16.
// Registry values are UTF-16 code units as they were written, so a hand-made
// value may hold a lone surrogate; neither function ever drops a unit
// silently or writes bytes that are not UTF-8.
#pragma once

#include <string>

#include "base/wide_text.h"

// `text` as a JSON string literal with its quotes: `"` and `\` escaped,
// control characters (below U+0020, and U+007F) as \n, \t, ... or \u00XX,
// and a surrogate that is not half of a pair as \uXXXX. Everything else
// stays as it is (the caller writes it as UTF-8 or UTF-16).
CStringW JsonString(const CStringW& text);

// UTF-16 as UTF-8. A surrogate that is not half of a pair becomes U+FFFD.
std::string Utf8FromUtf16(const CStringW& text);
