// What the skin's window classes read from the system before they ask the
// skin's logic what to do, and the click notification they send.
#pragma once

#include <windows.h>

#include "skin/button_states.h"
#include "skin/skin_geometry.h"
#include "skin/win32_values.h"
#include "wnd/Wnd.h"

namespace velmora::skin {

static_assert(kHitTransparent == HTTRANSPARENT && kHitClient == HTCLIENT && kHitCaption == HTCAPTION);
static_assert(kHitLeft == HTLEFT && kHitRight == HTRIGHT && kHitTop == HTTOP && kHitTopLeft == HTTOPLEFT);
static_assert(kHitTopRight == HTTOPRIGHT && kHitBottom == HTBOTTOM && kHitBottomLeft == HTBOTTOMLEFT &&
              kHitBottomRight == HTBOTTOMRIGHT);
static_assert(kSysSize == SC_SIZE && kSysMove == SC_MOVE && kSysMinimize == SC_MINIMIZE &&
              kSysMaximize == SC_MAXIMIZE && kSysClose == SC_CLOSE && kSysRestore == SC_RESTORE);
static_assert(kVirtualKeySpace == VK_SPACE && kKeyMessageFirst == WM_KEYDOWN);

// The client point of a mouse message (signed: a captured mouse reports
// points left of and above the window as negative).
inline POINT PointOf(LPARAM lParam) noexcept {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// Rectangles between the platform and the skin's logic.
inline SkinRect ToSkinRect(const RECT& r) noexcept { return SkinRect{r.left, r.top, r.right, r.bottom}; }
inline RECT ToRect(const SkinRect& r) noexcept { return RECT{r.left, r.top, r.right, r.bottom}; }

// Whether a client point lies in the window's client rectangle.
bool IsInClient(const CWnd& window, POINT point);

// The facts of one WM_MOUSEMOVE at client point `point`.
MouseMoveFacts GatherMouseMove(const CWnd& button, POINT point);

// Whether the cursor is now inside the button's client rectangle with the
// button itself the window under it.
bool IsCursorOnButton(const CWnd& button);

// Sends (not posts) WM_COMMAND(control id, notification 0) with lParam 0 to
// the button's parent. Returns false when the parent's answer destroyed the
// button's window, after which the caller must not touch it.
bool NotifyParentOfClick(CWnd& button);

// Shows a system cursor (IDC_*).
void ShowSystemCursor(int cursorId);

}  // namespace velmora::skin
