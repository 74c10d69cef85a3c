// MD5 message digest (RFC 1321) of buffers in memory, and the text form of
// a digest.
//
// Library-internal: these functions are not exported from the executable.
// The context keeps the RFC's reference layout and its update/final
// structure, so a digest can be built from any number of MD5Update calls.
#pragma once

#include <cstdint>

#include "velmora/CString.h"

// The working record of one digest.
struct MD5Context {
    std::uint32_t state[4];    // A, B, C, D
    std::uint32_t count[2];    // message length in bits, low word first
    unsigned char buffer[64];  // tail of the message not yet a whole block
};

// Starts a digest: the RFC's initial state words, zero length.
void MD5Init(MD5Context* context) noexcept;

// Absorbs `length` bytes of `input`. The 64-bit bit count wraps silently.
// A null `input` absorbs nothing.
void MD5Update(MD5Context* context, const unsigned char* input, std::uint32_t length) noexcept;

// Pads the message, writes the 16-byte digest (state words A to D, each
// least significant byte first) and then wipes the whole context to zero.
void MD5Final(unsigned char digest[16], MD5Context* context) noexcept;

// One-shot digest of `length` bytes at `input` into `digest`.
void MD5Buffer(const unsigned char* input, std::uint32_t length, unsigned char digest[16]) noexcept;

// The 32 lower-case hexadecimal characters of a 16-byte digest, byte 0
// first and the high nibble of each byte first. A null digest gives the
// empty text.
CString DigestToHexStr(const unsigned char* digest);

// The digest text of `text` after folding its single-byte letters A-Z to
// lower case (double-byte characters are kept as they are). The empty text
// gives the empty text, not the digest of the empty message.
CString TextToMD5Str(const CString& text);
