// URL encoding and decoding, and conversion between the ANSI code page and
// UTF-8.
//
// The ANSI code page is the process's active multi-byte code page on Windows
// and GBK (code page 936) elsewhere. Character classes are the C locale's
// ASCII ones: bytes from 0x80 up are neither letters, digits nor white space.
// No function reports an error; memory exhaustion raises CStringError.
#pragma once

#include "velmora/CString.h"
#include "velmora/export.h"

// Percent-encodes text up to its first zero byte: ASCII letters and digits
// stay, white space becomes '+', every other byte becomes %XX (upper case).
VELMORA_API CString UrlEncode(CString text);

// Decodes %XX escapes (two hexadecimal digits) and converts each run of
// decoded bytes, and each run of plain bytes, from UTF-8 to the ANSI code
// page when that run on its own is well-formed UTF-8 holding a multi-byte
// character. Malformed escapes and '+' stay as they are; a decoded zero byte
// ends the text of its run.
VELMORA_API CString UrlDecode(CString text);

// Decodes escapes and '+' (as a space) and keeps the bytes as they are. An
// escape is '%' and two characters read as a hexadecimal number the way
// sscanf's "%x" reads them; an escape that is cut off, unreadable or worth
// less than 1 ends the decode there, dropping the rest of the input. A null
// pointer decodes as the empty text. The three names give identical results.
VELMORA_API CString URLDecodeANSI_ShareAz(const char* text);
VELMORA_API CString URLDecodeUnicode_ShareAz(const char* text);
VELMORA_API CString URLDecode_ShareAz(const char* text);

// Converts text (up to its first zero byte) from the ANSI code page to UTF-8;
// the empty text when the conversion fails.
VELMORA_API CString GBKToUTF8(const CString& text);

// Converts text in place from UTF-8 to the ANSI code page, only when all of
// it (up to its first zero byte) is well-formed UTF-8 holding at least one
// multi-byte character. Otherwise, or when the conversion fails, the text is
// left exactly as it was.
VELMORA_API void UTF8ToGB(CString& text);

// The UTF-8 form of text with every byte from 0x7F up written as %XX; all
// other bytes, '%', '&', spaces and controls included, are copied as they are.
VELMORA_API CString UrlEncode_GBKToUTF8(const CString& text);
