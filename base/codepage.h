// Conversion between the ANSI code page and UTF-8.
//
// The ANSI code page is the process's active multi-byte code page on Windows
// (MultiByteToWideChar / WideCharToMultiByte through UTF-16) and GBK (code
// page 936) elsewhere, converted with the C library's iconv.
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
bool Utf8ToAnsi(const char* text, int length, CString& out);

}  // namespace velmora
