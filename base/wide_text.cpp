#include "base/wide_text.h"

#include <cstring>

namespace {

std::size_t Clamped(int value, std::size_t limit) {
    if (value <= 0) return 0;
    return static_cast<std::size_t>(value) < limit ? static_cast<std::size_t>(value) : limit;
}

}  // namespace

CStringW CStringW::Left(int count) const { return substr(0, Clamped(count, size())); }

CStringW CStringW::Mid(int first) const {
    const std::size_t from = Clamped(first, size());
    return substr(from);
}

CStringW CStringW::Mid(int first, int count) const {
    const std::size_t from = Clamped(first, size());
    return substr(from, Clamped(count, size() - from));
}

CStringW CStringW::Right(int count) const {
    const std::size_t n = Clamped(count, size());
    return substr(size() - n);
}

int CStringW::Find(char16_t ch, int start) const noexcept {
    if (start < 0 || static_cast<std::size_t>(start) >= size()) return -1;
    const size_type pos = find(ch, static_cast<size_type>(start));
    return pos == npos ? -1 : static_cast<int>(pos);
}

int CStringW::Find(const char16_t* text, int start) const noexcept {
    if (text == nullptr || start < 0 || static_cast<std::size_t>(start) > size()) return -1;
    const size_type pos = find(text, static_cast<size_type>(start));
    return pos == npos ? -1 : static_cast<int>(pos);
}

int CStringW::ReverseFind(char16_t ch) const noexcept {
    const size_type pos = rfind(ch);
    return pos == npos ? -1 : static_cast<int>(pos);
}

CStringW& CStringW::TrimRight(const char16_t* chars) {
    const size_type last = find_last_not_of(chars != nullptr ? chars : u"");
    erase(last == npos ? 0 : last + 1);
    return *this;
}

CStringW& CStringW::TrimLeft(const char16_t* chars) {
    const size_type first = find_first_not_of(chars != nullptr ? chars : u"");
    erase(0, first == npos ? size() : first);
    return *this;
}

CStringW& CStringW::Trim(const char16_t* chars) {
    TrimRight(chars);
    return TrimLeft(chars);
}

CStringW& CStringW::MakeLower() noexcept {
    for (char16_t& ch : *this) ch = velmora::FoldAscii(ch);
    return *this;
}

int CStringW::CompareNoCase(const CStringW& other) const noexcept {
    return velmora::CompareNoCase(*this, other);
}

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

CStringW FillIn(const CStringW& format, std::initializer_list<CStringW> args) {
    CStringW text;
    const CStringW* next = args.begin();
    std::size_t pos = 0;
    while (pos < format.size()) {
        const std::size_t at = format.find(u"%s", pos);
        if (at == CStringW::npos || next == args.end()) break;
        text.append(format, pos, at - pos);
        text += *next++;
        pos = at + 2;
    }
    text.append(format, pos, CStringW::npos);
    return text;
}

CStringW DecimalText(long long value) {
    const std::string digits = std::to_string(value);
    return CStringW(digits.begin(), digits.end());
}

std::size_t FittingUnits(const CStringW& text, std::size_t maxUnits) noexcept {
    if (text.size() <= maxUnits) return text.size();
    // A high surrogate whose low half would be cut off goes with it.
    const bool cutsPair = maxUnits > 0 && text[maxUnits - 1] >= 0xD800 && text[maxUnits - 1] <= 0xDBFF &&
                          text[maxUnits] >= 0xDC00 && text[maxUnits] <= 0xDFFF;
    return cutsPair ? maxUnits - 1 : maxUnits;
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

}  // namespace velmora
