// The skinned frame's window menu (system menu): which items it offers in
// each window state, when a request to open it is dropped, when a second
// press on the caption icon closes the window, and the Alt+Space test.
// Times are GetTickCount milliseconds, compared as unsigned 32-bit
// differences so the counter's wrap after 49.7 days changes nothing.
#pragma once

#include <cstdint>
#include <optional>

#include "skin/skin_geometry.h"

namespace velmora::skin {

enum class WindowShowState { kNormal, kMaximized, kMinimized };

// Enabled (true) or grey (MF_GRAYED | MF_DISABLED) for each item; SC_CLOSE is
// always enabled and the default item.
//   maximised: size grey, move grey, restore on, minimise on, maximise grey;
//   minimised: size grey, move grey, restore on, minimise grey, maximise only
//              when resizable;
//   normal:    move on, restore grey, minimise on, maximise and size only
//              when resizable.
struct WindowMenuStates {
    bool size = false;
    bool move = false;
    bool restore = false;
    bool minimize = false;
    bool maximize = false;
    friend constexpr bool operator==(const WindowMenuStates&, const WindowMenuStates&) = default;
};
WindowMenuStates WindowMenuStatesFor(WindowShowState state, bool resizable) noexcept;

// A menu request within this time after the menu closed is dropped, and a
// second icon press within it after the first one closes the window.
constexpr std::uint32_t kWindowMenuRepeatMs = 300;

// Whether a request at `now` may open the menu: not when `now` is less than
// 300 ms after `lastClose`. Nothing is dropped before the menu closed for the
// first time (`lastClose` empty), however small the tick counter is then.
bool WindowMenuMayOpen(std::uint32_t now, std::optional<std::uint32_t> lastClose) noexcept;

// The click box around the cursor of the press that opened the menu: 2 pixels
// on each side of it at 96 DPI (scaled to `dpi`), both ends included, so
// 5 x 5 pixels at 96 DPI.
SkinRect ClickBoxAround(SkinPoint cursor, int dpi = 96) noexcept;

// Whether closing the menu closes the window (post SC_CLOSE): it was opened
// from the caption icon, the cursor is still in the click box when it closed
// and it closed less than 300 ms after it was asked for (t1 - t0, unsigned).
bool IconDoubleClickCloses(bool openedFromIcon, SkinRect clickBox, SkinPoint cursorAtClose, std::uint32_t t0,
                           std::uint32_t t1) noexcept;

// PreTranslateMessage's Alt+Space: a keyboard message 0x100 to 0x108 with
// wParam VK_SPACE while GetKeyState(VK_MENU) is negative (Alt held).
bool IsAltSpace(unsigned message, std::uintptr_t wParam, short altKeyState) noexcept;

}  // namespace velmora::skin
