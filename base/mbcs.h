// Character boundaries in the ANSI code page.
#pragma once

namespace velmora {

// True when the byte starts a double-byte character in the ANSI code page:
// the platform's answer on Windows, GBK's lead-byte range 0x81-0xFE elsewhere.
bool IsLeadByte(unsigned char byte) noexcept;

// Length in bytes (1 or 2) of the character that starts at text[pos] of a
// text of `length` bytes. A lead byte at the very end counts as one byte, so
// a walk never steps past the text.
inline int CharLengthAt(const char* text, int length, int pos) noexcept {
    return (pos + 1 < length && IsLeadByte(static_cast<unsigned char>(text[pos]))) ? 2 : 1;
}

// The length of the longest start of a text of `length` bytes that fits in
// `maxBytes` bytes without cutting a double-byte character in two: what may
// be copied into a buffer of maxBytes + 1 bytes with its terminating zero.
inline int FittingLength(const char* text, int length, int maxBytes) noexcept {
    if (maxBytes <= 0 || length <= 0) return 0;
    if (length <= maxBytes) return length;
    int pos = 0;
    while (pos < length) {
        const int next = pos + CharLengthAt(text, length, pos);
        if (next > maxBytes) break;
        pos = next;
    }
    return pos;
}

}  // namespace velmora
