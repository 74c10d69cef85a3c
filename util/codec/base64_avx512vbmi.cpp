// The AVX-512 VBMI loops: 48 bytes to 64 characters and back per step, each
// table look-up one byte permute over the whole register.
//
// Encoding permutes each group of three bytes s0 s1 s2 into a 32-bit lane as
// s1 s0 s2 s1; a multishift then picks every 6-bit field by its bit offset
// within the 64-bit word (10, 4, 22 and 16 for the first lane, 32 more for
// the second), and a permute of the 64-character alphabet, which reads only
// the low six bits of each index, turns fields into characters.
//
// Decoding looks every character up in a 128-entry table (two registers)
// that holds its value or 0x80; a character with its own top bit set, or
// whose entry has it, is outside the alphabet. Two multiply-adds pack four
// values into three bytes per lane, a permute closes the gaps and a masked
// store writes exactly the 48 bytes.
#include "util/codec/base64_blocks.h"

#if defined(VELMORA_BASE64_X86)

#include <immintrin.h>

#include <array>
#include <cstdint>

#define VELMORA_AVX512VBMI __attribute__((target("avx512f,avx512bw,avx512vbmi")))
// Helpers are always inlined: at -Os (the Windows builds) they would
// otherwise be calls that pass vector registers through the stack.
#define VELMORA_AVX512VBMI_INLINE __attribute__((target("avx512f,avx512bw,avx512vbmi"), always_inline)) inline

namespace velmora::base64 {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

struct Tables {
    std::uint8_t spread[64];   // encode: byte i of the step's input for lane byte
    std::uint8_t shifts[64];   // encode: bit offset of each field in its 64-bit word
    std::uint8_t values[128];  // decode: value of a character, or 0x80
    std::uint8_t gather[64];   // decode: where output byte j is after the multiply-adds
};

constexpr Tables MakeTables() {
    Tables t{};
    for (int k = 0; k < 16; ++k) {
        t.spread[4 * k + 0] = static_cast<std::uint8_t>(3 * k + 1);
        t.spread[4 * k + 1] = static_cast<std::uint8_t>(3 * k);
        t.spread[4 * k + 2] = static_cast<std::uint8_t>(3 * k + 2);
        t.spread[4 * k + 3] = static_cast<std::uint8_t>(3 * k + 1);
    }
    const std::uint8_t offsets[8] = {10, 4, 22, 16, 42, 36, 54, 48};
    for (int i = 0; i < 64; ++i) t.shifts[i] = offsets[i % 8];
    for (auto& v : t.values) v = 0x80;
    for (int i = 0; i < 64; ++i)
        t.values[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
    // Lane k holds its three bytes last to first in bytes 0-2.
    for (int j = 0; j < 48; ++j) t.gather[j] = static_cast<std::uint8_t>(4 * (j / 3) + 2 - j % 3);
    for (int j = 48; j < 64; ++j) t.gather[j] = 0;
    return t;
}

constexpr Tables kTables = MakeTables();

VELMORA_AVX512VBMI_INLINE __m512i Load(const void* p) { return _mm512_loadu_si512(p); }

// The zero-masked forms with every byte selected: GCC 12's plain forms pass
// an undefined register that -Wmaybe-uninitialized reports.
constexpr __mmask64 kAll = ~__mmask64{0};

VELMORA_AVX512VBMI_INLINE __m512i Permute(__m512i index, __m512i table) {
    return _mm512_maskz_permutexvar_epi8(kAll, index, table);
}

}  // namespace

VELMORA_AVX512VBMI std::size_t EncodeAvx512VbmiBlocks(const unsigned char* data, std::size_t length,
                                                      char* text) {
    const __m512i spread = Load(kTables.spread);
    const __m512i shifts = Load(kTables.shifts);
    const __m512i alphabet = Load(kAlphabet);
    std::size_t done = 0;
    // A step loads 64 bytes and uses 48.
    for (; length - done >= 64; done += 48, text += 64) {
        const __m512i bytes = Permute(spread, Load(data + done));
        const __m512i fields = _mm512_maskz_multishift_epi64_epi8(kAll, shifts, bytes);
        _mm512_storeu_si512(text, Permute(fields, alphabet));
    }
    return done;
}

VELMORA_READS_AHEAD VELMORA_AVX512VBMI std::size_t DecodeAvx512VbmiBlocks(const unsigned char* text,
                                                                          std::size_t length,
                                                                          unsigned char* out) {
    const __m512i valuesLow = Load(kTables.values);
    const __m512i valuesHigh = Load(kTables.values + 64);
    const __m512i gather = Load(kTables.gather);
    std::size_t done = 0;
    for (; length - done >= 64; done += 64, out += 48) {
        const __m512i chars = Load(text + done);
        const __m512i values = _mm512_permutex2var_epi8(valuesLow, chars, valuesHigh);
        if (_mm512_movepi8_mask(_mm512_or_si512(chars, values)) != 0) break;
        const __m512i pairs = _mm512_maddubs_epi16(values, _mm512_set1_epi32(0x01400140));
        const __m512i quads = _mm512_madd_epi16(pairs, _mm512_set1_epi32(0x00011000));
        _mm512_mask_storeu_epi8(out, 0x0000FFFFFFFFFFFFull, Permute(gather, quads));
    }
    return done;
}

}  // namespace velmora::base64

#endif
