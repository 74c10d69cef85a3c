// The AVX2 loops: the SSSE3 steps (base64_ssse3.cpp describes them) on both
// 128-bit halves of a register at once, 24 bytes to 32 characters and back.
// The byte shuffles work within each half, so an encode step loads the two
// groups of 12 bytes into the two halves, and a decode step closes the gap
// between the 12 bytes of each half with a shuffle of 32-bit words.
#include "util/codec/base64_blocks.h"

#if defined(VELMORA_BASE64_X86)

#include <immintrin.h>

#define VELMORA_AVX2 __attribute__((target("avx2")))
// Helpers are always inlined: at -Os (the Windows builds) they would
// otherwise be calls that pass vector registers through the stack.
#define VELMORA_AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline

namespace velmora::base64 {
namespace {

// The 16-byte pattern in both halves.
VELMORA_AVX2_INLINE __m256i Both(__m128i half) { return _mm256_broadcastsi128_si256(half); }

VELMORA_AVX2_INLINE __m256i EncodeStep(__m256i bytes) {
    const __m256i spread =
        _mm256_shuffle_epi8(bytes, Both(_mm_setr_epi8(1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10)));
    const __m256i ac = _mm256_mulhi_epu16(_mm256_and_si256(spread, _mm256_set1_epi32(0x0FC0FC00)),
                                          _mm256_set1_epi32(0x04000040));
    const __m256i bd = _mm256_mullo_epi16(_mm256_and_si256(spread, _mm256_set1_epi32(0x003F03F0)),
                                          _mm256_set1_epi32(0x01000010));
    const __m256i fields = _mm256_or_si256(ac, bd);

    __m256i index = _mm256_subs_epu8(fields, _mm256_set1_epi8(51));
    const __m256i capital = _mm256_cmpgt_epi8(_mm256_set1_epi8(26), fields);
    index = _mm256_or_si256(index, _mm256_and_si256(capital, _mm256_set1_epi8(13)));
    const __m256i offsets =
        Both(_mm_setr_epi8('a' - 26, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52,
                           '0' - 52, '0' - 52, '0' - 52, '+' - 62, '/' - 63, 'A', 0, 0));
    return _mm256_add_epi8(fields, _mm256_shuffle_epi8(offsets, index));
}

// The values of 32 characters, and a nonzero byte in `bad` for every
// character outside the alphabet.
VELMORA_AVX2_INLINE __m256i CharacterValues(__m256i text, __m256i* bad) {
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i high = _mm256_and_si256(_mm256_srli_epi32(text, 4), nibble);
    const __m256i low = _mm256_and_si256(text, nibble);
    const __m256i classOfHigh = Both(_mm_setr_epi8(0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08, 0x10, 0x10,
                                                   0x10, 0x10, 0x10, 0x10, 0x10, 0x10));
    const __m256i badInClasses = Both(_mm_setr_epi8(0x15, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11,
                                                    0x11, 0x13, 0x1A, 0x1B, 0x1B, 0x1B, 0x1A));
    *bad = _mm256_and_si256(_mm256_shuffle_epi8(classOfHigh, high), _mm256_shuffle_epi8(badInClasses, low));

    const __m256i slot = _mm256_add_epi8(high, _mm256_cmpeq_epi8(text, _mm256_set1_epi8('/')));
    const __m256i offsets = Both(_mm_setr_epi8(0, 63 - '/', 62 - '+', 52 - '0', -'A', -'A', 26 - 'a',
                                               26 - 'a', 0, 0, 0, 0, 0, 0, 0, 0));
    return _mm256_add_epi8(text, _mm256_shuffle_epi8(offsets, slot));
}

VELMORA_AVX2_INLINE __m256i Load(const unsigned char* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

// 24 bytes, first byte first, in bytes 0-23.
VELMORA_AVX2_INLINE __m256i PackValues(__m256i values) {
    const __m256i pairs = _mm256_maddubs_epi16(values, _mm256_set1_epi32(0x01400140));
    const __m256i quads = _mm256_madd_epi16(pairs, _mm256_set1_epi32(0x00011000));
    const __m256i halves = _mm256_shuffle_epi8(
        quads, Both(_mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1)));
    return _mm256_permutevar8x32_epi32(halves, _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
}

// Exactly 24 bytes: the caller's buffer may end there.
VELMORA_AVX2_INLINE void StoreExactly24(unsigned char* out, __m256i bytes) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(bytes));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), _mm256_extracti128_si256(bytes, 1));
}

}  // namespace

VELMORA_AVX2 std::size_t EncodeAvx2Blocks(const unsigned char* data, std::size_t length, char* text) {
    std::size_t done = 0;
    // A step loads 16 bytes at 0 and at 12 (28 in all) and uses 24.
    for (; length - done >= 28; done += 24, text += 32) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + done));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + done + 12));
        const __m256i bytes = _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(text), EncodeStep(bytes));
    }
    return done;
}

VELMORA_READS_AHEAD VELMORA_AVX2 std::size_t DecodeAvx2Blocks(const unsigned char* text, std::size_t length,
                                                              unsigned char* out) {
    std::size_t done = 0;
    // Two steps at a time while both are alphabet characters (one test for
    // both): the first stores 32 bytes at once, its 8 bytes too many
    // overwritten by the second.
    for (; length - done >= 64; done += 64, out += 48) {
        __m256i firstBad, secondBad;
        const __m256i first = CharacterValues(Load(text + done), &firstBad);
        const __m256i second = CharacterValues(Load(text + done + 32), &secondBad);
        const __m256i bad = _mm256_or_si256(firstBad, secondBad);
        if (!_mm256_testz_si256(bad, bad)) break;
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), PackValues(first));
        StoreExactly24(out + 24, PackValues(second));
    }
    for (; length - done >= 32; done += 32, out += 24) {
        __m256i bad;
        const __m256i values = CharacterValues(Load(text + done), &bad);
        if (!_mm256_testz_si256(bad, bad)) break;
        StoreExactly24(out, PackValues(values));
    }
    return done;
}

}  // namespace velmora::base64

#endif
