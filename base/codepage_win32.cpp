#include <windows.h>

#include <new>
#include <vector>

#include "base/codepage.h"
#include "base/utf8_shape.h"

namespace velmora {
namespace {

// Converts through UTF-16: the platform only converts between a code page
// and UTF-16. Lengths exclude a terminating zero because the callers pass
// the exact byte count.
bool ConvertThroughUtf16(UINT fromCodePage, UINT toCodePage, const char* text, int length, CString& out) {
    if (length == 0) {
        out.Empty();
        return true;
    }
    const int wideLength = MultiByteToWideChar(fromCodePage, 0, text, length, nullptr, 0);
    if (wideLength <= 0) return false;
    std::vector<wchar_t> wide(static_cast<size_t>(wideLength) + 1, L'\0');
    if (MultiByteToWideChar(fromCodePage, 0, text, length, wide.data(), wideLength) <= 0) return false;

    const int narrowLength =
        WideCharToMultiByte(toCodePage, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (narrowLength <= 0) return false;
    CString result;
    char* buffer = result.GetBuffer(narrowLength);
    const int written =
        WideCharToMultiByte(toCodePage, 0, wide.data(), wideLength, buffer, narrowLength, nullptr, nullptr);
    if (written <= 0) return false;
    result.ReleaseBuffer(written);
    out = result;
    return true;
}

bool Convert(UINT fromCodePage, UINT toCodePage, const char* text, int length, CString& out) {
    try {
        return ConvertThroughUtf16(fromCodePage, toCodePage, text, length, out);
    } catch (const std::bad_alloc&) {
        // Running out of memory is reported the way the string layer does.
        throw CStringError(kStringErrorOutOfMemory);
    }
}

}  // namespace

bool AnsiToUtf8(const char* text, int length, CString& out) {
    return Convert(CP_ACP, CP_UTF8, text, length, out);
}

bool Utf8TextToAnsi(const char* text, int length, CString& out) {
    if (!IsUTF8Bytes(text, length)) return false;
    return Convert(CP_UTF8, CP_ACP, text, length, out);
}

}  // namespace velmora
