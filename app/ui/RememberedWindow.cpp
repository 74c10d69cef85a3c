#include "app/ui/RememberedWindow.h"

#include <string>

namespace velmora::app {

namespace {

constexpr long long kLargest = 1000000;

// The numbers of `text` separated by commas, each an optional '-' and
// digits; false for anything else.
bool ParseNumbers(const CStringW& text, std::vector<int>* pNumbers) {
    std::vector<int> numbers;
    std::size_t i = 0;
    while (true) {
        bool negative = false;
        if (i < text.size() && text[i] == u'-') {
            negative = true;
            ++i;
        }
        const std::size_t start = i;
        long long value = 0;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
            value = value * 10 + (text[i] - u'0');
            if (value > kLargest) return false;
            ++i;
        }
        if (i == start) return false;
        numbers.push_back(static_cast<int>(negative ? -value : value));
        if (i == text.size()) break;
        if (text[i] != u',') return false;
        ++i;
    }
    *pNumbers = std::move(numbers);
    return true;
}

CStringW Joined(const std::vector<int>& numbers) {
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) text += ',';
        text += std::to_string(numbers[i]);
    }
    return CStringW(text.begin(), text.end());
}

}  // namespace

CStringW FormatRememberedWindow(const RememberedWindow& window) {
    const skin::SkinRect& r = window.place.window;
    return Joined({r.left, r.top, r.Width(), r.Height(), window.place.maximised ? 1 : 0}) + u";" +
           Joined(window.columnsAt96);
}

bool ParseRememberedWindow(const CStringW& text, RememberedWindow* pWindow) {
    const std::size_t split = text.find(u';');
    if (split == CStringW::npos) return false;
    std::vector<int> place;
    std::vector<int> columns;
    if (!ParseNumbers(text.substr(0, split), &place) || place.size() != 5) return false;
    const CStringW columnText = text.substr(split + 1);
    if (!columnText.empty() && !ParseNumbers(columnText, &columns)) return false;
    if (place[2] <= 0 || place[3] <= 0 || (place[4] != 0 && place[4] != 1)) return false;
    for (const int width : columns) {
        if (width <= 0) return false;
    }
    pWindow->place.window = skin::RectAt(place[0], place[1], place[2], place[3]);
    pWindow->place.maximised = place[4] == 1;
    pWindow->columnsAt96 = std::move(columns);
    return true;
}

bool ReadRememberedWindow(IRegistry& registry, RegKey root, const CStringW& keyPath,
                          const CStringW& valueName, RememberedWindow* pWindow) {
    return ParseRememberedWindow(RegReadString(registry, root, keyPath, valueName), pWindow);
}

bool WriteRememberedWindow(IRegistry& registry, RegKey root, const CStringW& keyPath,
                           const CStringW& valueName, const RememberedWindow& window) {
    return RegWriteString(registry, root, keyPath, valueName, FormatRememberedWindow(window));
}

}  // namespace velmora::app
