#include <cstring>
#include <new>
#include <string>

#include "base/codepage.h"
#include "util/web/ascii.h"
#include "velmora/url.h"

namespace {

bool HasHighByte(const char* p, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(p[i]) >= 0x80) return true;
    }
    return false;
}

// Appends one run of UrlDecode: its text ends at its first zero byte, and it
// is converted from UTF-8 only when that text on its own is UTF-8.
void AppendRun(const char* p, std::size_t length, std::string& result) {
    const void* zero = std::memchr(p, 0, length);
    if (zero != nullptr) length = static_cast<std::size_t>(static_cast<const char*>(zero) - p);
    if (HasHighByte(p, length)) {
        CString converted;
        if (velmora::Utf8TextToAnsi(p, static_cast<int>(length), converted) && !converted.IsEmpty()) {
            result.append(converted.GetString(), static_cast<std::size_t>(converted.GetLength()));
            return;
        }
    }
    result.append(p, length);
}

// Reads "%x" the way sscanf does on the two characters after a '%': leading
// white space skipped, an optional sign, then hexadecimal digits. False when
// no digit follows.
bool ScanHexPair(unsigned char h1, unsigned char h2, int& value) {
    const unsigned char chars[2] = {h1, h2};
    int i = 0;
    if (velmora::IsAsciiSpace(chars[0])) i = velmora::IsAsciiSpace(chars[1]) ? 2 : 1;
    int sign = 1;
    if (i < 2 && (chars[i] == '+' || chars[i] == '-')) {
        sign = chars[i] == '-' ? -1 : 1;
        ++i;
    }
    int digits = 0;
    int number = 0;
    for (; i < 2; ++i) {
        const int digit = velmora::HexDigitValue(chars[i]);
        if (digit < 0) break;
        number = number * 16 + digit;
        ++digits;
    }
    if (digits == 0) return false;
    value = sign * number;
    return true;
}

CString DecodeEscapesAndPlus(const char* text) {
    if (text == nullptr) return CString();
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    const std::size_t length = std::strlen(text);
    if (length > 0x7FFFFFF0u) throw CStringError(kStringErrorOutOfMemory);
    CString result;
    char* out = result.GetBuffer(static_cast<int>(length));
    int written = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char c = s[i];
        if (c == '%') {
            // A cut-off, unreadable or non-positive escape ends the decode.
            if (s[i + 1] == 0 || s[i + 2] == 0) break;
            int value = 0;
            if (!ScanHexPair(s[i + 1], s[i + 2], value) || value < 1) break;
            out[written++] = static_cast<char>(value);
            i += 2;
        } else if (c == '+') {
            out[written++] = ' ';
        } else {
            out[written++] = static_cast<char>(c);
        }
    }
    result.ReleaseBuffer(written);
    return result;
}

}  // namespace

namespace {

CString DecodeRuns(const CString& text) {
    const char* s = text.GetString();
    const void* zero = std::memchr(s, 0, static_cast<std::size_t>(text.GetLength()));
    const std::size_t n = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - s)
                               : static_cast<std::size_t>(text.GetLength());
    auto isEscape = [&](std::size_t k) {
        return s[k] == '%' && k + 2 < n &&
               velmora::HexDigitValue(static_cast<unsigned char>(s[k + 1])) >= 0 &&
               velmora::HexDigitValue(static_cast<unsigned char>(s[k + 2])) >= 0;
    };

    std::string result;
    result.reserve(n);
    std::string decoded;
    std::size_t k = 0;
    while (k < n) {
        if (isEscape(k)) {
            decoded.clear();
            while (k < n && isEscape(k)) {
                const int high = velmora::HexDigitValue(static_cast<unsigned char>(s[k + 1]));
                const int low = velmora::HexDigitValue(static_cast<unsigned char>(s[k + 2]));
                decoded.push_back(static_cast<char>(high * 16 + low));
                k += 3;
            }
            AppendRun(decoded.c_str(), decoded.size(), result);
        } else {
            // A plain run ends at an escape's '%' or at the end, so the byte
            // after it is never a UTF-8 continuation byte.
            const std::size_t start = k;
            ++k;
            while (k < n && !isEscape(k)) {
                const void* percent = std::memchr(s + k, '%', n - k);
                k = percent ? static_cast<std::size_t>(static_cast<const char*>(percent) - s) : n;
                if (k < n && !isEscape(k)) ++k;
            }
            AppendRun(s + start, k - start, result);
        }
    }
    return CString(result.data(), static_cast<int>(result.size()));
}

}  // namespace

CString UrlDecode(CString text) {
    try {
        return DecodeRuns(text);
    } catch (const std::bad_alloc&) {
        // Memory exhaustion is reported the way the string layer reports it.
        throw CStringError(kStringErrorOutOfMemory);
    }
}

CString URLDecodeANSI_ShareAz(const char* text) { return DecodeEscapesAndPlus(text); }

CString URLDecodeUnicode_ShareAz(const char* text) { return DecodeEscapesAndPlus(text); }

CString URLDecode_ShareAz(const char* text) { return URLDecodeANSI_ShareAz(text); }
