// The shape of UTF-8 sequences, as the library decides it (not the
// platform): which texts count as UTF-8 for the conversions.
#pragma once

namespace velmora {

// The length (1 to 4) of the well-formed UTF-8 sequence at p, or -1. Lead
// bytes 0xF1-0xF7 accept any continuation bytes and 0xED accepts encoded
// surrogates: the test is about shape, not about scalar values. Only the
// bytes needed are read, and never a byte past a zero byte.
int UTF8CharLength(const char* p);

// True when the bytes before the first zero (at most `length` of them) are
// all well-formed sequences and at least one is two bytes or longer. The
// empty text and pure ASCII give false. The byte after the last one must not
// be a continuation byte (a terminating zero, or any byte below 0x80), so
// that no sequence runs past the end.
bool IsUTF8Bytes(const char* text, int length);

}  // namespace velmora
