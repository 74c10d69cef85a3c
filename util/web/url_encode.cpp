#include "util/web/ascii.h"
#include "velmora/url.h"

CString UrlEncode(CString text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.GetString());
    const int length = text.GetLength();
    if (length > 0x7FFFFFF0 / 3) throw CStringError(kStringErrorOutOfMemory);
    CString result;
    char* out = result.GetBuffer(length * 3);
    int written = 0;
    for (int i = 0; i < length && s[i] != 0; ++i) {
        const unsigned char b = s[i];
        if (velmora::IsAsciiAlnum(b)) {
            out[written++] = static_cast<char>(b);
        } else if (velmora::IsAsciiSpace(b)) {
            out[written++] = '+';
        } else {
            out[written++] = '%';
            out[written++] = velmora::kUpperHexDigits[b >> 4];
            out[written++] = velmora::kUpperHexDigits[b & 0x0F];
        }
    }
    result.ReleaseBuffer(written);
    return result;
}
