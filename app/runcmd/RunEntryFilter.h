// The manager's filter: the entries whose command, target or Path value
// holds the typed text. Letters compare without regard to case the way a
// Windows user expects it: ASCII, Latin-1, Greek, Cyrillic and the
// full-width forms of the Chinese fonts (Ａ matches ａ and A does not match Ａ:
// they are different characters). Everything else, Chinese characters
// among them, compares by its UTF-16 code units, so a character only ever
// matches itself (never a part of another one, as the bytes of GBK text
// could).
#pragma once

#include <vector>

#include "app/runcmd/RunEntries.h"

// One code unit in lower case, as the filter compares it.
char16_t FoldForFilter(char16_t ch) noexcept;

// The typed text as the filter uses it: blanks at both ends removed, then
// folded.
CStringW FilterTextOf(const CStringW& typed);

class RunEntryFilter {
public:
    // Folds the entries' texts once, so that each keystroke only searches.
    // Called again whenever the entries or their order change.
    void Index(const std::vector<RunEntry>& entries);

    // The indexes (in the entries given to Index, in their order) of the
    // entries that match `typed`: every entry when it is empty or blank.
    std::vector<int> Matching(const CStringW& typed) const;

private:
    // Per entry: command, target and Path value, folded, with a line feed
    // between them (no text holds one where it matters, and the typed text
    // loses its line feeds), so that one search covers all three.
    std::vector<CStringW> m_folded;
};
