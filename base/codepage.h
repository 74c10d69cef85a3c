// Conversion between the ANSI code page and UTF-8.
//
// The ANSI code page is the process's active multi-byte code page on Windows,
// converted by the platform through UTF-16 (MultiByteToWideChar /
// WideCharToMultiByte), and GBK (code page 936) elsewhere, converted by the
// C library's iconv to and from wide characters, with UTF-8 encoded and
// decoded here; there, runs of ASCII are copied without conversion.
//
// Both functions convert `length` bytes of `text` (which must hold no zero
// byte) and, on success, store the converted bytes in `out` and return true.
// On failure they return false and leave `out` untouched. Characters that the
// target cannot represent, and byte sequences the source does not allow,
// become the platform's substitute character ('?' with iconv).
#pragma once

#include "velmora/CString.h"

namespace velmora {

bool AnsiToUtf8(const char* text, int length, CString& out);

// Converts only a text that is UTF-8 by IsUTF8Bytes (base/utf8_shape.h):
// false, with `out` untouched, for any other text. Well-formed sequences
// that are no Unicode scalar value (encoded surrogates, values past
// U+10FFFF) convert like characters the ANSI code page lacks. The byte after
// the text must not be a UTF-8 continuation byte.
bool Utf8TextToAnsi(const char* text, int length, CString& out);

}  // namespace velmora
