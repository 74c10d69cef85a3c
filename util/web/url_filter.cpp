#include <initializer_list>

#include "velmora/linkdecode.h"

namespace {

// Whether the first `count` bytes of text equal the literal, ignoring ASCII
// letter case. A shorter text does not match.
bool StartsWithNoCase(const CString& text, const char* literal, int count) {
    return text.GetLength() >= count && text.Left(count).CompareNoCase(literal) == 0;
}

// The part of the URL that holds the file name: before the first '?', else
// before the first '#', else before the first '|'; a mark in first place
// does not count.
CString PathPart(const CString& url) {
    for (const char mark : {'?', '#', '|'}) {
        const int pos = url.Find(mark);
        if (pos >= 1) return url.Left(pos);
    }
    return url;
}

}  // namespace

int PellicorUrlFilter(CString url, CString filter, CString& out) {
    url.TrimRight();
    url.TrimLeft();
    url.TrimRight("\r\n");
    url.TrimLeft("\r\n");
    url.Remove('\r');
    url.Remove('\n');
    if (url.IsEmpty()) return 0;

    if (StartsWithNoCase(url, "ssn://", 6)) {
        out = url;
        return 1;
    }
    if (StartsWithNoCase(url, "thunder://", 10)) {
        if (!ThunderURLDecode(url, url)) return 0;
    } else if (StartsWithNoCase(url, "flashget://", 11)) {
        if (!FlashgetURLDecode(url, url)) return 0;
    } else if (StartsWithNoCase(url, "qqdl://", 7)) {
        if (!QQDLURLDecode(url, url)) return 0;
    }

    if (!StartsWithNoCase(url, "http://", 7) && !StartsWithNoCase(url, "ftp://", 6)) return 0;
    if (filter.IsEmpty()) {
        out = url;
        return 1;
    }

    const CString path = PathPart(url);
    const int dot = path.ReverseFind('.');
    CString extension = dot >= 0 ? path.Mid(dot) : path;
    extension.MakeLower();
    filter.MakeLower();
    if (filter.Find(extension) < 0) return 0;
    out = url;
    return 1;
}
