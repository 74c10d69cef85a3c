#include "digest/md5.h"

#include <cstring>

namespace {

inline std::uint32_t RotateLeft(std::uint32_t x, int s) noexcept { return (x << s) | (x >> (32 - s)); }

// Byte-wise little-endian load: correct on any host, and compilers turn it
// into one plain load on little-endian machines.
inline std::uint32_t LoadLE32(const unsigned char* p) noexcept {
    return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
           (std::uint32_t{p[3]} << 24);
}

inline void StoreLE32(unsigned char* p, std::uint32_t v) noexcept {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

// The four step kinds. Each step is a = b + ((a + f(b, c, d) + x + t) <<< s).
// MD5 is bound by the chain through b from one step to the next, so every
// step first adds what does not depend on b (the message word, the constant,
// and for G the half of the function that needs only c and d), leaving as
// few operations as possible between the new b and the next one.
inline void StepF(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x, int s,
                  std::uint32_t t) noexcept {
    a += x + t;
    a += d ^ (b & (c ^ d));
    a = RotateLeft(a, s) + b;
}

inline void StepG(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x, int s,
                  std::uint32_t t) noexcept {
    // (b & d) | (c & ~d): the two halves never share a bit, so | is +.
    a += x + t;
    a += c & ~d;
    a += b & d;
    a = RotateLeft(a, s) + b;
}

inline void StepH(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x, int s,
                  std::uint32_t t) noexcept {
    a += x + t;
    a += b ^ (c ^ d);
    a = RotateLeft(a, s) + b;
}

inline void StepI(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t x, int s,
                  std::uint32_t t) noexcept {
    a += x + t;
    a += c ^ (b | ~d);
    a = RotateLeft(a, s) + b;
}

// `count` 64-byte blocks into the state. The state stays in registers from
// one block to the next, and the message words are read where they are
// (the steps take them straight from memory).
void Transform(std::uint32_t state[4], const unsigned char* blocks, std::size_t count) noexcept {
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (; count > 0; --count, blocks += 64) {
        struct Words {
            const unsigned char* p;
            std::uint32_t operator[](int i) const noexcept { return LoadLE32(p + 4 * i); }
        } const x{blocks};
        const std::uint32_t a0 = a, b0 = b, c0 = c, d0 = d;

        StepF(a, b, c, d, x[0], 7, 0xd76aa478);
        StepF(d, a, b, c, x[1], 12, 0xe8c7b756);
        StepF(c, d, a, b, x[2], 17, 0x242070db);
        StepF(b, c, d, a, x[3], 22, 0xc1bdceee);
        StepF(a, b, c, d, x[4], 7, 0xf57c0faf);
        StepF(d, a, b, c, x[5], 12, 0x4787c62a);
        StepF(c, d, a, b, x[6], 17, 0xa8304613);
        StepF(b, c, d, a, x[7], 22, 0xfd469501);
        StepF(a, b, c, d, x[8], 7, 0x698098d8);
        StepF(d, a, b, c, x[9], 12, 0x8b44f7af);
        StepF(c, d, a, b, x[10], 17, 0xffff5bb1);
        StepF(b, c, d, a, x[11], 22, 0x895cd7be);
        StepF(a, b, c, d, x[12], 7, 0x6b901122);
        StepF(d, a, b, c, x[13], 12, 0xfd987193);
        StepF(c, d, a, b, x[14], 17, 0xa679438e);
        StepF(b, c, d, a, x[15], 22, 0x49b40821);

        StepG(a, b, c, d, x[1], 5, 0xf61e2562);
        StepG(d, a, b, c, x[6], 9, 0xc040b340);
        StepG(c, d, a, b, x[11], 14, 0x265e5a51);
        StepG(b, c, d, a, x[0], 20, 0xe9b6c7aa);
        StepG(a, b, c, d, x[5], 5, 0xd62f105d);
        StepG(d, a, b, c, x[10], 9, 0x02441453);
        StepG(c, d, a, b, x[15], 14, 0xd8a1e681);
        StepG(b, c, d, a, x[4], 20, 0xe7d3fbc8);
        StepG(a, b, c, d, x[9], 5, 0x21e1cde6);
        StepG(d, a, b, c, x[14], 9, 0xc33707d6);
        StepG(c, d, a, b, x[3], 14, 0xf4d50d87);
        StepG(b, c, d, a, x[8], 20, 0x455a14ed);
        StepG(a, b, c, d, x[13], 5, 0xa9e3e905);
        StepG(d, a, b, c, x[2], 9, 0xfcefa3f8);
        StepG(c, d, a, b, x[7], 14, 0x676f02d9);
        StepG(b, c, d, a, x[12], 20, 0x8d2a4c8a);

        StepH(a, b, c, d, x[5], 4, 0xfffa3942);
        StepH(d, a, b, c, x[8], 11, 0x8771f681);
        StepH(c, d, a, b, x[11], 16, 0x6d9d6122);
        StepH(b, c, d, a, x[14], 23, 0xfde5380c);
        StepH(a, b, c, d, x[1], 4, 0xa4beea44);
        StepH(d, a, b, c, x[4], 11, 0x4bdecfa9);
        StepH(c, d, a, b, x[7], 16, 0xf6bb4b60);
        StepH(b, c, d, a, x[10], 23, 0xbebfbc70);
        StepH(a, b, c, d, x[13], 4, 0x289b7ec6);
        StepH(d, a, b, c, x[0], 11, 0xeaa127fa);
        StepH(c, d, a, b, x[3], 16, 0xd4ef3085);
        StepH(b, c, d, a, x[6], 23, 0x04881d05);
        StepH(a, b, c, d, x[9], 4, 0xd9d4d039);
        StepH(d, a, b, c, x[12], 11, 0xe6db99e5);
        StepH(c, d, a, b, x[15], 16, 0x1fa27cf8);
        StepH(b, c, d, a, x[2], 23, 0xc4ac5665);

        StepI(a, b, c, d, x[0], 6, 0xf4292244);
        StepI(d, a, b, c, x[7], 10, 0x432aff97);
        StepI(c, d, a, b, x[14], 15, 0xab9423a7);
        StepI(b, c, d, a, x[5], 21, 0xfc93a039);
        StepI(a, b, c, d, x[12], 6, 0x655b59c3);
        StepI(d, a, b, c, x[3], 10, 0x8f0ccc92);
        StepI(c, d, a, b, x[10], 15, 0xffeff47d);
        StepI(b, c, d, a, x[1], 21, 0x85845dd1);
        StepI(a, b, c, d, x[8], 6, 0x6fa87e4f);
        StepI(d, a, b, c, x[15], 10, 0xfe2ce6e0);
        StepI(c, d, a, b, x[6], 15, 0xa3014314);
        StepI(b, c, d, a, x[13], 21, 0x4e0811a1);
        StepI(a, b, c, d, x[4], 6, 0xf7537e82);
        StepI(d, a, b, c, x[11], 10, 0xbd3af235);
        StepI(c, d, a, b, x[2], 15, 0x2ad7d2bb);
        StepI(b, c, d, a, x[9], 21, 0xeb86d391);

        a += a0;
        b += b0;
        c += c0;
        d += d0;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
}

// Zeroes memory in a way the compiler may not drop even when the object is
// dead afterwards (the blocks of MD5Buffer are): the empty statement after
// the memset claims to read the memory.
void Wipe(void* p, std::size_t n) noexcept {
    std::memset(p, 0, n);
    __asm__ __volatile__("" : : "r"(p) : "memory");
}

}  // namespace

void MD5Init(MD5Context* context) noexcept {
    if (context == nullptr) return;
    context->state[0] = 0x67452301;
    context->state[1] = 0xefcdab89;
    context->state[2] = 0x98badcfe;
    context->state[3] = 0x10325476;
    context->count[0] = 0;
    context->count[1] = 0;
}

void MD5Update(MD5Context* context, const unsigned char* input, std::uint32_t length) noexcept {
    if (context == nullptr || input == nullptr || length == 0) return;

    std::uint32_t index = (context->count[0] >> 3) & 0x3F;
    const std::uint32_t bits = length << 3;
    context->count[0] += bits;
    if (context->count[0] < bits) ++context->count[1];
    context->count[1] += length >> 29;

    const std::uint32_t partLength = 64 - index;
    std::uint32_t i = 0;
    if (length >= partLength) {
        // Complete the buffered block first; whole blocks after it are
        // digested straight from the input, without a copy.
        std::memcpy(&context->buffer[index], input, partLength);
        Transform(context->state, context->buffer, 1);
        const std::uint32_t whole = (length - partLength) / 64;
        Transform(context->state, input + partLength, whole);
        i = partLength + whole * 64;
        index = 0;
    }
    std::memcpy(&context->buffer[index], input + i, length - i);
}

void MD5Final(unsigned char digest[16], MD5Context* context) noexcept {
    if (context == nullptr) return;
    static const unsigned char kPadding[64] = {0x80};

    // The length is taken before padding changes it.
    unsigned char bitCount[8];
    StoreLE32(bitCount, context->count[0]);
    StoreLE32(bitCount + 4, context->count[1]);

    const std::uint32_t index = (context->count[0] >> 3) & 0x3F;
    const std::uint32_t padLength = index < 56 ? 56 - index : 120 - index;
    MD5Update(context, kPadding, padLength);
    MD5Update(context, bitCount, 8);

    if (digest != nullptr) {
        for (int i = 0; i < 4; ++i) StoreLE32(digest + 4 * i, context->state[i]);
    }
    Wipe(context, sizeof(*context));
}

// The same digest as MD5Init, MD5Update and MD5Final, without the context:
// whole blocks straight from the input, then the tail, the padding and the
// length in one or two blocks on the stack.
void MD5Buffer(const unsigned char* input, std::uint32_t length, unsigned char digest[16]) noexcept {
    if (input == nullptr) length = 0;
    std::uint32_t state[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    const std::uint32_t whole = length / 64;
    Transform(state, input, whole);

    unsigned char last[128] = {};
    const std::uint32_t tail = length % 64;
    if (tail > 0) std::memcpy(last, input + whole * 64, tail);
    last[tail] = 0x80;
    const std::uint32_t lastLength = tail < 56 ? 64 : 128;
    // The length in bits, 64 bits wide: what count[] would hold.
    StoreLE32(last + lastLength - 8, length << 3);
    StoreLE32(last + lastLength - 4, length >> 29);
    Transform(state, last, lastLength / 64);

    if (digest != nullptr) {
        for (int i = 0; i < 4; ++i) StoreLE32(digest + 4 * i, state[i]);
    }
    Wipe(last, sizeof(last));
    Wipe(state, sizeof(state));
}
