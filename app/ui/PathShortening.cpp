#include "app/ui/PathShortening.h"

namespace velmora::app {

namespace {

constexpr char16_t kEllipsis = u'\u2026';

bool IsAsciiLetter(char16_t unit) noexcept {
    return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z');
}

bool IsLowSurrogate(char16_t unit) noexcept { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

CStringW ShortenPathInText(const CStringW& text, std::size_t pathStart, std::size_t pathLength, int maxWidth,
                           const TextWidth& widthOf) {
    if (pathStart > text.size() || pathLength > text.size() - pathStart) return text;
    if (widthOf(text) <= maxWidth) return text;
    const CStringW before = text.substr(0, pathStart);
    const CStringW path = text.substr(pathStart, pathLength);
    const CStringW after = text.substr(pathStart + pathLength);
    const std::size_t lastSlash = path.rfind(u'\\');
    // Nothing between the start and the last part to leave out.
    if (lastSlash == CStringW::npos || lastSlash == 0) return text;
    const CStringW tail = path.substr(lastSlash);
    const auto with = [&](std::size_t head) {
        return CStringW(before + path.substr(0, head) + CStringW(1, kEllipsis) + tail + after);
    };
    // The longest start that fits: the width grows with the start's length.
    std::size_t low = 0;
    std::size_t high = lastSlash;
    if (widthOf(with(0)) > maxWidth) return with(0);
    while (low < high) {
        const std::size_t middle = low + (high - low + 1) / 2;
        if (widthOf(with(middle)) <= maxWidth)
            low = middle;
        else
            high = middle - 1;
    }
    // Never half a surrogate pair at the cut.
    if (low > 0 && low < path.size() && IsLowSurrogate(path[low])) --low;
    return with(low);
}

CStringW ShortenPath(const CStringW& path, int maxWidth, const TextWidth& widthOf) {
    return ShortenPathInText(path, 0, path.size(), maxWidth, widthOf);
}

bool FindPathInText(const CStringW& text, std::size_t* pStart, std::size_t* pLength) {
    bool found = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const bool drive = i + 2 < text.size() && IsAsciiLetter(text[i]) && text[i + 1] == u':' &&
                           text[i + 2] == u'\\' && (i == 0 || !IsAsciiLetter(text[i - 1]));
        const bool network = i + 1 < text.size() && text[i] == u'\\' && text[i + 1] == u'\\';
        if (!drive && !network) {
            ++i;
            continue;
        }
        // A path runs to its closing quote; the search goes on after it.
        std::size_t end = i;
        while (end < text.size() && text[end] != u'\u201D' && text[end] != u'"') ++end;
        *pStart = i;
        *pLength = end - i;
        found = true;
        i = end;
    }
    return found;
}

CStringW FitMessageWidth(const CStringW& text, int maxWidth, const TextWidth& widthOf) {
    std::size_t start = 0;
    std::size_t length = 0;
    if (!FindPathInText(text, &start, &length)) return text;
    return ShortenPathInText(text, start, length, maxWidth, widthOf);
}

}  // namespace velmora::app
