#include "skin/window_menu.h"

#include "skin/dpi_scale.h"
#include "skin/win32_values.h"

namespace velmora::skin {

WindowMenuStates WindowMenuStatesFor(WindowShowState state, bool resizable) noexcept {
    switch (state) {
        case WindowShowState::kMaximized:
            return {.size = false, .move = false, .restore = true, .minimize = true, .maximize = false};
        case WindowShowState::kMinimized:
            return {.size = false, .move = false, .restore = true, .minimize = false, .maximize = resizable};
        case WindowShowState::kNormal:
            break;
    }
    return {.size = resizable, .move = true, .restore = false, .minimize = true, .maximize = resizable};
}

bool WindowMenuMayOpen(std::uint32_t now, std::optional<std::uint32_t> lastClose) noexcept {
    // Unsigned subtraction: a close just before the counter wrapped and a
    // request just after it are still a few milliseconds apart.
    return !lastClose || static_cast<std::uint32_t>(now - *lastClose) >= kWindowMenuRepeatMs;
}

SkinRect ClickBoxAround(SkinPoint cursor, int dpi) noexcept {
    const int reach = ScaleForDpi(2, dpi);
    return {cursor.x - reach, cursor.y - reach, cursor.x + reach + 1, cursor.y + reach + 1};
}

bool IconDoubleClickCloses(bool openedFromIcon, SkinRect clickBox, SkinPoint cursorAtClose, std::uint32_t t0,
                           std::uint32_t t1) noexcept {
    return openedFromIcon && clickBox.Contains(cursorAtClose) &&
           static_cast<std::uint32_t>(t1 - t0) < kWindowMenuRepeatMs;
}

bool IsAltSpace(unsigned message, std::uintptr_t wParam, short altKeyState) noexcept {
    return message >= kKeyMessageFirst && message <= kKeyMessageLast && wParam == kVirtualKeySpace &&
           altKeyState < 0;
}

}  // namespace velmora::skin
