#include "velmora/base64.h"

#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>

#include "util/codec/base64_blocks.h"
#include "util/codec/base64_engines.h"
#include "util/codec/cpu_features.h"

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
    for (int i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
    table[static_cast<unsigned char>(kPadChar)] = kPadValue;
    return table;
}
constexpr std::array<std::uint8_t, 256> kValues = MakeDecodeTable();

// Longest input whose text (4 characters per started group of 3 bytes)
// still has a length an int can hold.
constexpr long long kMaxEncodeLength = (INT_MAX / 4) * 3LL;

inline void PutPair(char* dst, std::uint32_t twelveBits) { std::memcpy(dst, &kPairs[2 * twelveBits], 2); }

using velmora::base64::Engine;

// The vector loop of `engine` over the start of the data; returns the
// bytes it took.
std::size_t EncodeBlocks(Engine engine, const unsigned char* data, std::size_t length, char* text) {
#if defined(VELMORA_BASE64_X86)
    switch (engine) {
        case Engine::kSsse3:
            return velmora::base64::EncodeSsse3Blocks(data, length, text);
        case Engine::kAvx2:
            return velmora::base64::EncodeAvx2Blocks(data, length, text);
        case Engine::kAvx512Vbmi:
            return velmora::base64::EncodeAvx512VbmiBlocks(data, length, text);
        case Engine::kScalar:
            break;
    }
#else
    (void)engine, (void)data, (void)length, (void)text;
#endif
    return 0;
}

std::size_t DecodeBlocks(Engine engine, const unsigned char* text, std::size_t length, unsigned char* out) {
#if defined(VELMORA_BASE64_X86)
    switch (engine) {
        case Engine::kSsse3:
            return velmora::base64::DecodeSsse3Blocks(text, length, out);
        case Engine::kAvx2:
            return velmora::base64::DecodeAvx2Blocks(text, length, out);
        case Engine::kAvx512Vbmi:
            return velmora::base64::DecodeAvx512VbmiBlocks(text, length, out);
        case Engine::kScalar:
            break;
    }
#else
    (void)engine, (void)text, (void)length, (void)out;
#endif
    return 0;
}

// The decoder does not know the text's length. Its vector loops read a
// whole step (at most this many characters) before they look at it, so a
// step that holds the terminating zero also reads up to this many bytes
// after it. Reading ahead is safe only within a page the text reaches: a
// page boundary is also the boundary of what may be mapped.
constexpr std::size_t kWidestStep = 64;
constexpr std::uintptr_t kPageSize = 4096;

// What the vector loop may read at one place of the text.
struct ReadAhead {
    std::size_t readable;   // characters the loop may read at p
    std::size_t toPageEnd;  // the loop took the whole page when it took this many
    bool endsHere;          // the terminating zero is the readable's end
};

// The first zero among `count` bytes at `p`, or null; a word at a time, so
// it reads bytes after the zero too (within the page, as the vector loops).
VELMORA_READS_AHEAD const unsigned char* FindZero(const unsigned char* p, std::size_t count) {
    using UnalignedWord = std::uint64_t __attribute__((may_alias, aligned(1)));
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const std::uint64_t word = *reinterpret_cast<const UnalignedWord*>(p + i);
        if (((word - kOnes) & ~word & kHighBits) != 0) break;
    }
    for (; i < count; ++i) {
        if (p[i] == 0) return p + i;
    }
    return nullptr;
}

// How many characters at `p` the vector loop may read: if the text does not
// end within the last kWidestStep bytes of p's page, it reaches the next
// page (a zero earlier in the page stops the loop, which finds no step of
// alphabet characters there, before any read leaves the page), so steps may
// start anywhere in this page. Otherwise exactly up to the zero.
ReadAhead MayRead(const unsigned char* p) {
    const std::size_t toPageEnd = kPageSize - (reinterpret_cast<std::uintptr_t>(p) & (kPageSize - 1));
    const std::size_t checkFrom = toPageEnd > kWidestStep ? toPageEnd - kWidestStep : 0;
    if (const unsigned char* zero = FindZero(p + checkFrom, toPageEnd - checkFrom))
        return {static_cast<std::size_t>(zero - p), toPageEnd, true};
    return {toPageEnd + kWidestStep - 1, toPageEnd, false};
}

Engine Usable(Engine engine) { return velmora::base64::EngineRuns(engine) ? engine : Engine::kScalar; }

}  // namespace

namespace velmora::base64 {

const char* EngineName(Engine engine) {
    switch (engine) {
        case Engine::kScalar:
            return "scalar";
        case Engine::kSsse3:
            return "ssse3";
        case Engine::kAvx2:
            return "avx2";
        case Engine::kAvx512Vbmi:
            return "avx512vbmi";
    }
    return "?";
}

bool EngineRuns(Engine engine) {
#if defined(VELMORA_BASE64_X86)
    const CpuFeatures& cpu = GetCpuFeatures();
    switch (engine) {
        case Engine::kScalar:
            return true;
        case Engine::kSsse3:
            return cpu.ssse3;
        case Engine::kAvx2:
            return cpu.avx2;
        case Engine::kAvx512Vbmi:
            return cpu.avx512vbmi;
    }
    return false;
#else
    return engine == Engine::kScalar;
#endif
}

Engine FastestEngine() {
    static const Engine fastest = [] {
        for (Engine e : {Engine::kAvx512Vbmi, Engine::kAvx2, Engine::kSsse3}) {
            if (EngineRuns(e)) return e;
        }
        return Engine::kScalar;
    }();
    return fastest;
}

int Encode(Engine engine, const unsigned char* data, int length, char** out) {
    if (out == nullptr || length < 0 || length > kMaxEncodeLength || (data == nullptr && length != 0)) {
        return -1;
    }
    // The historical allocation size: enough for the text and its zero for
    // every length, computed wide so that it cannot overflow.
    const long long allocation = (static_cast<long long>(length) * 4) / 3 + 4;
    char* text = new (std::nothrow) char[static_cast<std::size_t>(allocation)];
    if (text == nullptr) return -1;

    int i = 0;
    if (length > 0)
        i = static_cast<int>(EncodeBlocks(Usable(engine), data, static_cast<std::size_t>(length), text));
    char* dst = text + i / 3 * 4;
    for (; length - i >= 3; i += 3, dst += 4) {
        const std::uint32_t group =
            (std::uint32_t{data[i]} << 16) | (std::uint32_t{data[i + 1]} << 8) | data[i + 2];
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

int Decode(Engine engine, const char* text, unsigned char* out) {
    if (text == nullptr || *text == '\0') return 0;
    if (out == nullptr) return -1;

    const auto* p = reinterpret_cast<const unsigned char*>(text);
    unsigned char* dst = out;
    engine = Usable(engine);
    if (engine != Engine::kScalar) {
        // Whole steps of alphabet characters go to the vector loop, a page
        // at a time; it stops at the first step holding anything else (the
        // zero included), and the quartets from there on are the portable
        // loop's, so every irregular case is decided by the code below.
        for (;;) {
            const ReadAhead ahead = MayRead(p);
            const std::size_t taken = DecodeBlocks(engine, p, ahead.readable, dst);
            p += taken;
            dst += taken / 4 * 3;
            if (ahead.endsHere || taken < ahead.toPageEnd) break;
        }
    }
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

}  // namespace velmora::base64

int base64_encode(const unsigned char* data, int length, char** out) {
    return velmora::base64::Encode(velmora::base64::FastestEngine(), data, length, out);
}

int base64_decode(const char* text, unsigned char* out) {
    return velmora::base64::Decode(velmora::base64::FastestEngine(), text, out);
}
