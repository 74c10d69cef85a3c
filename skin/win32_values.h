// The few Windows values the skin's logic speaks in. The names cannot collide
// with the macros of <windows.h>, so this header and <windows.h> can be
// included together; the Win32 side checks them against the system's own
// definitions with static_assert.
#pragma once

#include <cstdint>

namespace velmora::skin {

// Colour as the platform stores it: 0x00BBGGRR (red in the low byte).
using Colour = std::uint32_t;
// Skin pixels of this colour are transparent (red 255, green 0, blue 255).
constexpr Colour kKeyColour = 0xFF00FF;

// Hit-test codes (WM_NCHITTEST), and the frame's own code for its caption icon.
constexpr int kHitTransparent = -1;  // HTTRANSPARENT
constexpr int kHitClient = 1;        // HTCLIENT
constexpr int kHitCaption = 2;       // HTCAPTION
constexpr int kHitLeft = 10;         // HTLEFT
constexpr int kHitRight = 11;        // HTRIGHT
constexpr int kHitTop = 12;          // HTTOP
constexpr int kHitTopLeft = 13;      // HTTOPLEFT
constexpr int kHitTopRight = 14;     // HTTOPRIGHT
constexpr int kHitBottom = 15;       // HTBOTTOM
constexpr int kHitBottomLeft = 16;   // HTBOTTOMLEFT
constexpr int kHitBottomRight = 17;  // HTBOTTOMRIGHT
constexpr int kHitCaptionIcon = 100;

// System cursor identifiers (LoadCursor(nullptr, MAKEINTRESOURCE(id))); 0 = none.
constexpr int kNoCursor = 0;
constexpr int kCursorArrow = 32512;     // IDC_ARROW
constexpr int kCursorSizeNwse = 32642;  // IDC_SIZENWSE
constexpr int kCursorSizeNesw = 32643;  // IDC_SIZENESW
constexpr int kCursorSizeWe = 32644;    // IDC_SIZEWE
constexpr int kCursorSizeNs = 32645;    // IDC_SIZENS
constexpr int kCursorHand = 32649;      // IDC_HAND

// Window-menu commands (WM_SYSCOMMAND).
constexpr unsigned kSysSize = 0xF000;      // SC_SIZE
constexpr unsigned kSysMove = 0xF010;      // SC_MOVE
constexpr unsigned kSysMinimize = 0xF020;  // SC_MINIMIZE
constexpr unsigned kSysMaximize = 0xF030;  // SC_MAXIMIZE
constexpr unsigned kSysClose = 0xF060;     // SC_CLOSE
constexpr unsigned kSysRestore = 0xF120;   // SC_RESTORE

// Keyboard messages WM_KEYDOWN (0x100) to 0x108, and the space bar's key code.
constexpr unsigned kKeyMessageFirst = 0x100;
constexpr unsigned kKeyMessageLast = 0x108;
constexpr std::uintptr_t kVirtualKeySpace = 0x20;  // VK_SPACE

}  // namespace velmora::skin
