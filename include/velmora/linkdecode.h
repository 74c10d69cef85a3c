// Decoders of download-manager links and a filter for pasted download URLs.
//
// thunder://, flashget:// and qqdl:// links wrap a URL in Base64 (RFC 4648
// alphabet); Thunder wraps the URL as AA...ZZ, FlashGet as
// [FLASHGET]...[FLASHGET], QQ download not at all.
//
// The decoders trim the link (white space at both ends, line breaks at the
// left, '/', '\\' and line breaks at the right), drop the scheme's prefix
// without checking it, decode the rest and strip the wrapper's characters:
// Thunder every leading 'A' and trailing 'Z', FlashGet every leading and
// trailing character of "[FLASHGET]". They return 1 and set `out`, or return
// 0 with `out` untouched when the trimmed link is shorter than 20 characters
// or decodes to nothing. A payload that is not well-formed Base64 throws
// CStringError with kStringErrorInvalidArg; `out` is untouched then too.
// `link` may be the same object as `out`.
#pragma once

#include "velmora/CString.h"
#include "velmora/export.h"

VELMORA_API int ThunderURLDecode(CString link, CString& out);
VELMORA_API int FlashgetURLDecode(CString link, CString& out);
VELMORA_API int QQDLURLDecode(CString link, CString& out);

// Accepts a pasted link: ssn:// links as they are; thunder://, flashget://
// and qqdl:// links once decoded (a decoder's CStringError passes through);
// then only http:// and ftp:// URLs (letter case ignored) whose extension,
// from the last '.' of the part before the first '?' (else '#', else '|'),
// occurs in `filter` as a substring, ignoring ASCII letter case. An empty
// filter accepts every http:// and ftp:// URL. Returns 1 and sets `out` to
// the accepted URL, or returns 0 with `out` untouched. Line breaks inside the
// URL are removed first.
VELMORA_API int PellicorUrlFilter(CString url, CString filter, CString& out);
