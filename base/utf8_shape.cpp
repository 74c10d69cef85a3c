#include "base/utf8_shape.h"

#include <cstdint>
#include <cstring>

namespace velmora {
namespace {

inline bool IsContinuation(unsigned char c) { return c >= 0x80 && c <= 0xBF; }

}  // namespace

int UTF8CharLength(const char* p) {
    const auto* s = reinterpret_cast<const unsigned char*>(p);
    const unsigned char lead = s[0];
    // Each test reads a byte only after every byte before it passed, so a
    // zero byte (never a continuation) stops the reading.
    if (lead >= 0xF1 && lead <= 0xF7) {
        return IsContinuation(s[1]) && IsContinuation(s[2]) && IsContinuation(s[3]) ? 4 : -1;
    }
    if (lead == 0xF0) {
        return s[1] >= 0x90 && s[1] <= 0xBF && IsContinuation(s[2]) && IsContinuation(s[3]) ? 4 : -1;
    }
    if (lead >= 0xE1 && lead <= 0xEF) {
        return IsContinuation(s[1]) && IsContinuation(s[2]) ? 3 : -1;
    }
    if (lead == 0xE0) {
        return s[1] >= 0xA0 && s[1] <= 0xBF && IsContinuation(s[2]) ? 3 : -1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return IsContinuation(s[1]) ? 2 : -1;
    }
    if (lead >= 0x01 && lead <= 0x7F) return 1;
    return -1;
}

bool IsUTF8Bytes(const char* text, int length) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    bool sawMultiByte = false;
    int pos = 0;
    while (pos < length) {
        const unsigned char lead = s[pos];
        if (lead == 0) break;
        if (lead < 0x80) {
            ++pos;
            // ASCII without zero bytes is skipped a word at a time.
            while (pos + 8 <= length) {
                std::uint64_t word;
                std::memcpy(&word, s + pos, sizeof word);
                const bool hasHigh = (word & 0x8080808080808080ull) != 0;
                const bool hasZero = ((word - 0x0101010101010101ull) & ~word & 0x8080808080808080ull) != 0;
                if (hasHigh || hasZero) break;
                pos += 8;
            }
            continue;
        }
        // The common three-byte case (most CJK text) is tested inline; it is
        // the same rule as in UTF8CharLength.
        int n;
        if (lead >= 0xE1 && lead <= 0xEF) {
            n = IsContinuation(s[pos + 1]) && IsContinuation(s[pos + 2]) ? 3 : -1;
        } else {
            n = UTF8CharLength(text + pos);
        }
        if (n < 0) return false;
        sawMultiByte = true;
        pos += n;
    }
    return sawMultiByte;
}

}  // namespace velmora
