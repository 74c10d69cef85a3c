#include "app/runcmd/RunEntryFilter.h"

namespace {

constexpr char16_t kSeparator = u'\n';

CStringW Folded(const CStringW& text) {
    CStringW folded(text);
    for (char16_t& ch : folded) ch = FoldForFilter(ch);
    return folded;
}

}  // namespace

char16_t FoldForFilter(char16_t ch) noexcept {
    // ASCII and Latin-1 (the multiplication sign sits among the capitals).
    if ((ch >= u'A' && ch <= u'Z') || (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7)) return ch + 0x20;
    // Greek capitals (0x3A2 is unassigned).
    if (ch >= 0x391 && ch <= 0x3A9 && ch != 0x3A2) return ch + 0x20;
    // Cyrillic: Ѐ to Џ, then А to Я.
    if (ch >= 0x400 && ch <= 0x40F) return ch + 0x50;
    if (ch >= 0x410 && ch <= 0x42F) return ch + 0x20;
    // Full-width Ａ to Ｚ.
    if (ch >= 0xFF21 && ch <= 0xFF3A) return ch + 0x20;
    return ch;
}

CStringW FilterTextOf(const CStringW& typed) {
    CStringW text(typed);
    text.Trim(u" \t\r\n\x3000");
    // A pasted line break would never match across the joined texts.
    CStringW single;
    for (char16_t ch : text) single += ch == kSeparator || ch == u'\r' ? u' ' : ch;
    return Folded(single);
}

void RunEntryFilter::Index(const std::vector<RunEntry>& entries) {
    m_folded.clear();
    m_folded.reserve(entries.size());
    for (const RunEntry& entry : entries) {
        CStringW joined = entry.command;
        joined += kSeparator;
        joined += entry.target;
        joined += kSeparator;
        joined += entry.path;
        m_folded.push_back(Folded(joined));
    }
}

std::vector<int> RunEntryFilter::Matching(const CStringW& typed) const {
    const CStringW text = FilterTextOf(typed);
    std::vector<int> matching;
    matching.reserve(m_folded.size());
    for (std::size_t i = 0; i < m_folded.size(); ++i) {
        if (text.empty() || m_folded[i].find(text) != CStringW::npos) matching.push_back(static_cast<int>(i));
    }
    return matching;
}
