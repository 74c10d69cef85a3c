#include <windows.h>

#include "base/wide_text.h"

namespace velmora {
namespace {

constexpr UINT kCodePage936 = 936;

}  // namespace

CStringW WideFrom936(const char* text, std::size_t length) {
    if (text == nullptr || length == 0 || length > 0x7FFFFFFF) return CStringW();
    const int bytes = static_cast<int>(length);
    const int units = ::MultiByteToWideChar(kCodePage936, 0, text, bytes, nullptr, 0);
    if (units <= 0) return CStringW();
    CStringW wide(static_cast<std::size_t>(units), u'\0');
    const int written = ::MultiByteToWideChar(kCodePage936, 0, text, bytes, WinBuffer(wide.data()), units);
    wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return wide;
}

std::string NarrowTo936(const CStringW& text) {
    if (text.empty() || text.size() > 0x3FFFFFFF) return std::string();
    const int units = static_cast<int>(text.size());
    const int bytes =
        ::WideCharToMultiByte(kCodePage936, 0, WinText(text), units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    const int written =
        ::WideCharToMultiByte(kCodePage936, 0, WinText(text), units, narrow.data(), bytes, nullptr, nullptr);
    narrow.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return narrow;
}

}  // namespace velmora
