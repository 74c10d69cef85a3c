#include "velmora/base64.h"

#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kPadChar = '=';

// The encoder looks up two output characters per 12 bits of input: half
// the table look-ups of a one-character table, and 8 KiB stays in L1.
constexpr std::array<char, 2 * 4096> MakePairTable() {
    std::array<char, 2 * 4096> table{};
    for (int i = 0; i < 4096; ++i) {
        table[2 * i] = kAlphabet[i >> 6];
        table[2 * i + 1] = kAlphabet[i & 0x3F];
    }
    return table;
}
constexpr std::array<char, 2 * 4096> kPairs = MakePairTable();

// Decoding values: 0-63 for the alphabet, kPadValue for '=', kBadValue for
// every other byte, the terminating zero included. Both markers have a bit
// above the six value bits, so one test rejects either.
constexpr std::uint8_t kPadValue = 0x40;
constexpr std::uint8_t kBadValue = 0x80;
constexpr std::uint8_t kMarkerBits = 0xC0;

constexpr std::array<std::uint8_t, 256> MakeDecodeTable() {
    std::array<std::uint8_t, 256> table{};
    for (auto& v : table) v = kBadValue;
    for (int i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
    table[static_cast<unsigned char>(kPadChar)] = kPadValue;
    return table;
}
constexpr std::array<std::uint8_t, 256> kValues = MakeDecodeTable();

// Longest input whose text (4 characters per started group of 3 bytes)
// still has a length an int can hold.
constexpr long long kMaxEncodeLength = (INT_MAX / 4) * 3LL;

inline void PutPair(char* dst, std::uint32_t twelveBits) {
    std::memcpy(dst, &kPairs[2 * twelveBits], 2);
}

}  // namespace

int base64_encode(const unsigned char* data, int length, char** out) {
    if (out == nullptr || length < 0 || length > kMaxEncodeLength || (data == nullptr && length != 0)) {
        return -1;
    }
    // The historical allocation size: enough for the text and its zero for
    // every length, computed wide so that it cannot overflow.
    const long long allocation = (static_cast<long long>(length) * 4) / 3 + 4;
    char* text = new (std::nothrow) char[static_cast<std::size_t>(allocation)];
    if (text == nullptr) return -1;

    char* dst = text;
    int i = 0;
    for (; length - i >= 3; i += 3, dst += 4) {
        const std::uint32_t group = (std::uint32_t{data[i]} << 16) | (std::uint32_t{data[i + 1]} << 8) | data[i + 2];
        PutPair(dst, group >> 12);
        PutPair(dst + 2, group & 0xFFF);
    }
    const int left = length - i;
    if (left > 0) {
        std::uint32_t group = std::uint32_t{data[i]} << 16;
        if (left == 2) group |= std::uint32_t{data[i + 1]} << 8;
        PutPair(dst, group >> 12);
        PutPair(dst + 2, group & 0xFFF);
        dst[3] = kPadChar;
        if (left == 1) dst[2] = kPadChar;
        dst += 4;
    }
    *dst = '\0';
    *out = text;
    return static_cast<int>(dst - text);
}

int base64_decode(const char* text, unsigned char* out) {
    if (text == nullptr || *text == '\0') return 0;
    if (out == nullptr) return -1;

    const auto* p = reinterpret_cast<const unsigned char*>(text);
    unsigned char* dst = out;
    // Characters are examined strictly in order and each check fails on the
    // terminating zero, so no byte after the end of the text is ever read.
    for (;;) {
        const std::uint32_t v0 = kValues[p[0]];
        if (v0 & kMarkerBits) break;  // the normal end of the data
        const std::uint32_t v1 = kValues[p[1]];
        if (v1 & kMarkerBits) return -1;
        const std::uint32_t v2 = kValues[p[2]];
        if (v2 & kMarkerBits) {
            // "xx=": only "xx==" is well formed, and it ends the decode.
            if (v2 != kPadValue || kValues[p[3]] != kPadValue) return -1;
            *dst++ = static_cast<unsigned char>((v0 << 2) | (v1 >> 4));
            break;
        }
        const std::uint32_t v3 = kValues[p[3]];
        if (v3 & kMarkerBits) {
            if (v3 != kPadValue) return -1;
            const std::uint32_t group = (v0 << 18) | (v1 << 12) | (v2 << 6);
            dst[0] = static_cast<unsigned char>(group >> 16);
            dst[1] = static_cast<unsigned char>(group >> 8);
            dst += 2;
            break;
        }
        const std::uint32_t group = (v0 << 18) | (v1 << 12) | (v2 << 6) | v3;
        dst[0] = static_cast<unsigned char>(group >> 16);
        dst[1] = static_cast<unsigned char>(group >> 8);
        dst[2] = static_cast<unsigned char>(group);
        dst += 3;
        p += 4;
    }
    return static_cast<int>(dst - out);
}
