// The SSSE3 loops: 12 bytes to 16 characters and back per step.
//
// Encoding spreads each group of three bytes s0 s1 s2 over a 32-bit lane as
// the bytes s1 s0 s2 s1, so that every 16-bit half holds two of the four
// 6-bit fields at known places; one high and one low 16-bit multiply move
// the fields to the bottom of the four bytes of the lane. A field becomes its
// character by adding one of five offsets (the alphabet is five runs), picked
// by a byte shuffle from a small index made with a saturating subtract and
// one compare.
//
// Decoding splits every character into its high and low nibble. The
// characters of the alphabet fall into four shapes by high nibble (2: only
// '+' and '/'; 3: digits 0-9; 4 and 6: all but 0; 5 and 7: 0-A); a shuffle of
// each nibble gives a class bit and the classes in which that low nibble is
// not a character, and a character is bad when the two share a bit. Values
// come from an offset per high nibble ('/' gets a slot of its own), and two
// multiply-adds pack four 6-bit values into three bytes.
#include "util/codec/base64_blocks.h"

#if defined(VELMORA_BASE64_X86)

#include <immintrin.h>

#include <cstdint>
#include <cstring>

#define VELMORA_SSSE3 __attribute__((target("ssse3")))
// Helpers are always inlined: at -Os (the Windows builds) they would
// otherwise be calls that pass vector registers through the stack.
#define VELMORA_SSSE3_INLINE __attribute__((target("ssse3"), always_inline)) inline

namespace velmora::base64 {
namespace {

VELMORA_SSSE3_INLINE __m128i EncodeStep(__m128i bytes) {
    const __m128i spread =
        _mm_shuffle_epi8(bytes, _mm_setr_epi8(1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10));
    // Fields a (bits 15-10 of the low half) and c (bits 11-6 of the high
    // half) move down to bits 0-5 of bytes 0 and 2; b (bits 9-4 of the low
    // half) and d (bits 5-0 of the high half) move up to bytes 1 and 3.
    const __m128i ac =
        _mm_mulhi_epu16(_mm_and_si128(spread, _mm_set1_epi32(0x0FC0FC00)), _mm_set1_epi32(0x04000040));
    const __m128i bd =
        _mm_mullo_epi16(_mm_and_si128(spread, _mm_set1_epi32(0x003F03F0)), _mm_set1_epi32(0x01000010));
    const __m128i fields = _mm_or_si128(ac, bd);

    // 0-25 'A'-'Z', 26-51 'a'-'z', 52-61 '0'-'9', 62 '+', 63 '/': the index
    // is 13 for the capitals, 0 for the small letters, 1-12 above 51.
    __m128i index = _mm_subs_epu8(fields, _mm_set1_epi8(51));
    const __m128i capital = _mm_cmpgt_epi8(_mm_set1_epi8(26), fields);
    index = _mm_or_si128(index, _mm_and_si128(capital, _mm_set1_epi8(13)));
    const __m128i offsets =
        _mm_setr_epi8('a' - 26, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52,
                      '0' - 52, '0' - 52, '0' - 52, '+' - 62, '/' - 63, 'A', 0, 0);
    return _mm_add_epi8(fields, _mm_shuffle_epi8(offsets, index));
}

// The values of 16 characters, or false when one is outside the alphabet.
VELMORA_SSSE3_INLINE bool CharacterValues(__m128i text, __m128i* values) {
    const __m128i nibble = _mm_set1_epi8(0x0F);
    const __m128i high = _mm_and_si128(_mm_srli_epi32(text, 4), nibble);
    const __m128i low = _mm_and_si128(text, nibble);
    // Class bits: 0x01 high nibble 2, 0x02 high 3, 0x04 high 4 or 6, 0x08
    // high 5 or 7, 0x10 never a character.
    const __m128i classOfHigh = _mm_setr_epi8(0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08, 0x10, 0x10,
                                              0x10, 0x10, 0x10, 0x10, 0x10, 0x10);
    const __m128i badInClasses = _mm_setr_epi8(0x15, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11,
                                               0x13, 0x1A, 0x1B, 0x1B, 0x1B, 0x1A);
    const __m128i bad =
        _mm_and_si128(_mm_shuffle_epi8(classOfHigh, high), _mm_shuffle_epi8(badInClasses, low));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(bad, _mm_setzero_si128())) != 0xFFFF) return false;

    // '/' (0x2F) takes slot 1, which no character of the alphabet uses.
    const __m128i slot = _mm_add_epi8(high, _mm_cmpeq_epi8(text, _mm_set1_epi8('/')));
    const __m128i offsets = _mm_setr_epi8(0, 63 - '/', 62 - '+', 52 - '0', -'A', -'A', 26 - 'a', 26 - 'a', 0,
                                          0, 0, 0, 0, 0, 0, 0);
    *values = _mm_add_epi8(text, _mm_shuffle_epi8(offsets, slot));
    return true;
}

// Four 6-bit values per 32-bit lane into three bytes, first byte first, in
// bytes 0-11.
VELMORA_SSSE3_INLINE __m128i PackValues(__m128i values) {
    const __m128i pairs = _mm_maddubs_epi16(values, _mm_set1_epi32(0x01400140));
    const __m128i quads = _mm_madd_epi16(pairs, _mm_set1_epi32(0x00011000));
    return _mm_shuffle_epi8(quads, _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1));
}

}  // namespace

VELMORA_SSSE3 std::size_t EncodeSsse3Blocks(const unsigned char* data, std::size_t length, char* text) {
    std::size_t done = 0;
    // A step loads 16 bytes and uses 12 of them.
    for (; length - done >= 16; done += 12, text += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + done));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(text), EncodeStep(bytes));
    }
    return done;
}

VELMORA_READS_AHEAD VELMORA_SSSE3 std::size_t DecodeSsse3Blocks(const unsigned char* text, std::size_t length,
                                                                unsigned char* out) {
    std::size_t done = 0;
    for (; length - done >= 16; done += 16, out += 12) {
        __m128i values;
        if (!CharacterValues(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + done)), &values)) break;
        const __m128i bytes = PackValues(values);
        // Exactly 12 bytes: the caller's buffer may end here.
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), bytes);
        const std::uint32_t last = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(bytes, 8)));
        std::memcpy(out + 8, &last, 4);
    }
    return done;
}

}  // namespace velmora::base64

#endif
