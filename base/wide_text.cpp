#include "base/wide_text.h"

#include <cstring>

namespace velmora {

CStringW WideFrom936(const char* text) {
    return text != nullptr ? WideFrom936(text, std::strlen(text)) : CStringW();
}

CStringW WideFromRegistryData(const unsigned char* data, std::size_t size) {
    CStringW text;
    if (data == nullptr) return text;
    const std::size_t units = size / 2;
    text.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        // Stored little-endian, as the platform stores it.
        const auto unit = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
        if (unit == 0) break;
        text.push_back(unit);
    }
    return text;
}

char16_t FoldAscii(char16_t ch) noexcept {
    return ch >= u'A' && ch <= u'Z' ? static_cast<char16_t>(ch - u'A' + u'a') : ch;
}

int CompareNoCase(const CStringW& a, const CStringW& b) noexcept {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const char16_t x = FoldAscii(a[i]);
        const char16_t y = FoldAscii(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool StartsWithNoCase(const CStringW& text, const CStringW& prefix) noexcept {
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (FoldAscii(text[i]) != FoldAscii(prefix[i])) return false;
    }
    return true;
}

CStringW Trimmed(const CStringW& text, const char16_t* chars) {
    const CStringW set = chars != nullptr ? CStringW(chars) : CStringW();
    const std::size_t last = text.find_last_not_of(set);
    if (last == CStringW::npos) return CStringW();
    const std::size_t first = text.find_first_not_of(set);
    return text.substr(first, last - first + 1);
}

}  // namespace velmora
