#include <cstring>

#include "base/codepage.h"
#include "util/web/ascii.h"
#include "velmora/url.h"

namespace {

// The conversions see a text the way a zero-terminated C string is seen:
// an embedded zero byte ends it.
int TextLength(const CString& text) {
    const void* zero = std::memchr(text.GetString(), 0, static_cast<size_t>(text.GetLength()));
    return zero ? static_cast<int>(static_cast<const char*>(zero) - text.GetString()) : text.GetLength();
}

}  // namespace

CString GBKToUTF8(const CString& text) {
    CString result;
    if (!velmora::AnsiToUtf8(text.GetString(), TextLength(text), result)) return CString();
    return result;
}

void UTF8ToGB(CString& text) {
    const int length = TextLength(text);
    CString converted;
    if (!velmora::Utf8TextToAnsi(text.GetString(), length, converted) || converted.IsEmpty()) return;
    text = converted;
}

CString UrlEncode_GBKToUTF8(const CString& text) {
    const CString utf8 = GBKToUTF8(text);
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.GetString());
    const int length = utf8.GetLength();
    if (length > 0x7FFFFFF0 / 3) throw CStringError(kStringErrorOutOfMemory);
    CString result;
    char* out = result.GetBuffer(length * 3);
    int written = 0;
    for (int i = 0; i < length; ++i) {
        const unsigned char b = s[i];
        if (b >= 0x7F) {
            out[written++] = '%';
            out[written++] = velmora::kUpperHexDigits[b >> 4];
            out[written++] = velmora::kUpperHexDigits[b & 0x0F];
        } else {
            out[written++] = static_cast<char>(b);
        }
    }
    result.ReleaseBuffer(written);
    return result;
}
