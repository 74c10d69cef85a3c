// Character classes of the C locale, which the library never changes: only
// ASCII bytes belong to a class, so these never depend on the process locale.
#pragma once

namespace velmora {

inline bool IsAsciiAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

inline bool IsAsciiSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The value of a hexadecimal digit, or -1.
inline int HexDigitValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

constexpr char kUpperHexDigits[] = "0123456789ABCDEF";

}  // namespace velmora
