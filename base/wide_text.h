// The tool's string: UTF-16 text, as the platform's W functions take it.
//
// The tool's texts and every path and name it handles are CStringW from the
// moment they enter (a drop, the edit control, the registry, the module
// path) until they leave through a W function; nothing is converted on the
// way. Its own texts are written in the program as GBK (code page 936) and
// become CStringW through WideFrom936, never through the system's ANSI code
// page, so they read the same on every system.
//
// CString stays the narrow string of the exported library.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <utility>

#include "base/growing_read.h"

// A std::u16string with the members of CString that the tool's text rules
// use. Positions and lengths count UTF-16 code units; Find and ReverseFind
// return -1 when there is no match; Left, Mid and Right clamp their
// arguments to the text. Letter case is folded for ASCII letters only, the
// way the registry and file names compare them for the rules here.
class CStringW : public std::u16string {
public:
    using std::u16string::u16string;
    CStringW() = default;
    CStringW(const std::u16string& text) : std::u16string(text) {}
    CStringW(std::u16string&& text) noexcept : std::u16string(std::move(text)) {}

    int GetLength() const noexcept { return static_cast<int>(size()); }
    bool IsEmpty() const noexcept { return empty(); }
    void Empty() noexcept { clear(); }
    char16_t GetAt(int index) const { return at(static_cast<size_type>(index)); }
    const char16_t* GetString() const noexcept { return c_str(); }

    CStringW Left(int count) const;
    CStringW Mid(int first) const;
    CStringW Mid(int first, int count) const;
    CStringW Right(int count) const;

    int Find(char16_t ch, int start = 0) const noexcept;
    int Find(const char16_t* text, int start = 0) const noexcept;
    int ReverseFind(char16_t ch) const noexcept;

    // Removes the code units of `chars` (white space: " \t\r\n") at the
    // right end, the left end or both.
    CStringW& TrimRight(const char16_t* chars = u" \t\r\n");
    CStringW& TrimLeft(const char16_t* chars = u" \t\r\n");
    CStringW& Trim(const char16_t* chars = u" \t\r\n");

    CStringW& MakeLower() noexcept;
    int Compare(const CStringW& other) const noexcept { return compare(other) < 0 ? -1 : compare(other) > 0; }
    int CompareNoCase(const CStringW& other) const noexcept;
};

namespace velmora {

// Code page 936 text of `length` bytes (or up to its terminating zero) as
// UTF-16. Byte sequences that code page 936 does not allow become the
// platform's substitute character; the characters around them are kept.
CStringW WideFrom936(const char* text, std::size_t length);
CStringW WideFrom936(const char* text);

// UTF-16 text as code page 936; characters that code page 936 lacks become
// '?'. For tests and the narrow world of the exported library only.
std::string NarrowTo936(const CStringW& text);

// The text of a REG_SZ or REG_EXPAND_SZ value's data as stored: UTF-16 code
// units up to the first zero unit or the end of the data, whichever comes
// first. An odd last byte (a value written with a wrong size) is left out.
// Code units are taken as they are: an unpaired surrogate stays.
CStringW WideFromRegistryData(const unsigned char* data, std::size_t size);

// ReadGrowing (base/growing_read.h) for the tool's UTF-16 texts.
template <typename Read>
CStringW ReadGrowingText(Read read, std::size_t firstCapacity = 260, std::size_t maxCapacity = 32768) {
    return ReadGrowing<CStringW>(read, firstCapacity, maxCapacity);
}

// `format` with each "%s" replaced by the next of `args`, in order; a "%s"
// past the last argument stays as it is. What the arguments hold is never
// read as a format.
CStringW FillIn(const CStringW& format, std::initializer_list<CStringW> args);

// A number as decimal text.
CStringW DecimalText(long long value);

// The length of the longest start of `text` that fits in `maxUnits` code
// units without cutting a surrogate pair in two.
std::size_t FittingUnits(const CStringW& text, std::size_t maxUnits) noexcept;

// ASCII letters folded to lower case; every other code unit as it is.
char16_t FoldAscii(char16_t ch) noexcept;

// Comparison with ASCII letters folded (negative, 0, positive by code unit).
int CompareNoCase(const CStringW& a, const CStringW& b) noexcept;

}  // namespace velmora

#if defined(_WIN32)
#include <cwchar>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 code units");
// Wide literals must reach the W functions as UTF-16 whatever
// -fexec-charset says about narrow ones.
static_assert(L"中"[0] == 0x4E2D && L"中"[1] == 0, "wide literals must be UTF-16");

namespace velmora {

// The same code units as Windows' wchar_t.
inline const wchar_t* WinText(const CStringW& text) noexcept {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline const wchar_t* WinText(const char16_t* text) noexcept {
    return reinterpret_cast<const wchar_t*>(text);
}
inline wchar_t* WinBuffer(char16_t* buffer) noexcept { return reinterpret_cast<wchar_t*>(buffer); }
inline CStringW FromWin(const wchar_t* text) {
    return text != nullptr ? CStringW(reinterpret_cast<const char16_t*>(text), std::wcslen(text))
                           : CStringW();
}
inline CStringW FromWin(const wchar_t* text, std::size_t length) {
    return CStringW(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace velmora
#endif
