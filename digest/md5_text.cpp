#include "digest/md5.h"

CString DigestToHexStr(const unsigned char* digest) {
    CString text;
    if (digest == nullptr) return text;
    static const char kHexDigits[] = "0123456789abcdef";
    char* out = text.GetBufferSetLength(32);
    for (int i = 0; i < 16; ++i) {
        out[2 * i] = kHexDigits[digest[i] >> 4];
        out[2 * i + 1] = kHexDigits[digest[i] & 0x0F];
    }
    text.ReleaseBuffer(32);
    return text;
}

CString TextToMD5Str(const CString& text) {
    if (text.IsEmpty()) return CString();
    // MakeLower folds only single-byte letters: the trail byte of a GBK
    // character may look like 'A'-'Z' and must keep its value.
    CString lower(text);
    lower.MakeLower();
    unsigned char digest[16];
    MD5Buffer(reinterpret_cast<const unsigned char*>(lower.GetString()),
              static_cast<std::uint32_t>(lower.GetLength()), digest);
    return DigestToHexStr(digest);
}
