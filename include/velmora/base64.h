// Base64 (RFC 4648 standard alphabet, '=' padding, no line breaks) over
// plain byte buffers.
#pragma once

#include "velmora/export.h"

// Encodes `length` bytes at `data`. On success *out receives a new
// zero-terminated text allocated with new[] (the caller releases it with
// delete[]) and the result is the text's length in characters; zero bytes
// give the empty text and 0.
// Failure: -1 with *out left untouched when memory cannot be had, when
// `length` is negative, when `data` is null while `length` is not 0, or when
// the text would be longer than an int can count.
VELMORA_API int base64_encode(const unsigned char* data, int length, char** out);

// Decodes the zero-terminated `text` into `out` and returns the number of
// bytes written. Decoding reads whole quartets of four characters and stops,
// returning the count so far, at a quartet whose first character is outside
// the alphabet (white space, '=', any other character, the end of the text)
// and after a quartet that ends in padding. A malformed quartet (a second
// character outside the alphabet, a third or fourth character that is
// neither in the alphabet nor '=', '=' followed by a data character, a
// quartet cut short by the end of the text) gives -1; bytes of earlier
// quartets have then been written to `out` and must not be used.
// `out` needs 3 bytes of room for every 4 characters of `text`; nothing
// else is written, not even a terminating zero. A null or empty `text`
// gives 0; a null `out` with a non-empty `text` gives -1.
VELMORA_API int base64_decode(const char* text, unsigned char* out);
