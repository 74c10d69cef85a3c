// The hover and press state machines of CQebButton and CQebTransButton as
// pure transitions. A handler gathers the facts (is the point inside the
// client rectangle, does the button hold the capture, is the window under the
// cursor the button), calls one function, stores the new flags and carries out
// the effects in the order of the ButtonEffects fields.
//
// Both classes hold the capture while the cursor is over them (it is taken on
// hover, not on press, and kept through the button-up), so they see the move
// that leaves them; a press dragged off the button is cancelled by that move
// and its release sends nothing.
#pragma once

#include "skin/button_looks.h"

namespace velmora::skin {

struct ButtonState {
    bool hover = false;
    bool pressed = false;
    friend constexpr bool operator==(const ButtonState&, const ButtonState&) = default;
};

// What a handler does after storing the new state, in this order.
struct ButtonEffects {
    bool setFocus = false;        // CQebTransButton's press: SetFocus() on the button
    bool takeCapture = false;     // SetCapture()
    bool showTipText = false;     // CQebButton: put m_tipText into the tooltip
    bool notifyParent = false;    // send (not post) WM_COMMAND(control id, 0) to the parent
    bool redraw = false;          // CQebButton: InvalidateRect(NULL, FALSE);
                                  // CQebTransButton: RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW)
    bool releaseCapture = false;  // ReleaseCapture(); only asked while the button holds it
    bool clearTipText = false;    // CQebButton: tooltip text "" so no tip shows after leaving
    bool setArrowCursor = false;  // CQebTransButton's release off the button: SetCursor(arrow)
    friend constexpr bool operator==(const ButtonEffects&, const ButtonEffects&) = default;
};

struct ButtonTransition {
    ButtonState state;
    ButtonEffects effects;
};

// WM_MOUSEMOVE step 3: whether the cursor is still on the button. Outside the
// client rectangle while holding the capture: no. Otherwise (inside, or
// without the capture): whether the window under the cursor (WindowFromPoint)
// is the button, so a window covering the button takes it off.
bool IsCursorStillOnButton(bool insideClient, bool holdsCapture, bool windowUnderCursorIsButton) noexcept;

// The facts of one WM_MOUSEMOVE, gathered before any state changes.
struct MouseMoveFacts {
    bool insideClient = false;   // the point lies in the client rectangle
    bool holdsCapture = false;   // GetCapture() is the button
    bool stillOnButton = false;  // IsCursorStillOnButton(...)
};

// CQebButton, WM_MOUSEMOVE: entering takes the capture and shows the tip
// text; hover is set (with a redraw) if it was not; a cursor no longer on the
// button (left it, or covered by another window) clears hover and pressed,
// redraws, releases the capture and empties the tip text. Only net effects
// are reported: a capture taken and given up in the same move is neither.
ButtonTransition SkinButtonOnMouseMove(ButtonState state, const MouseMoveFacts& facts) noexcept;
// CQebButton, WM_LBUTTONDOWN: pressed (with a redraw) unless already pressed.
ButtonTransition SkinButtonOnLeftDown(ButtonState state) noexcept;
// CQebButton, WM_LBUTTONUP: only when pressed: both flags cleared, redraw, and
// the click notification when `notifyParent` (its m_notifyParent) is true. The
// normal look stays until the next mouse move; the capture is kept.
ButtonTransition SkinButtonOnLeftUp(ButtonState state, bool notifyParent) noexcept;

// CQebTransButton: the same hover tracking without a tooltip. In static mode
// nothing changes.
ButtonTransition TransButtonOnMouseMove(ButtonState state, TransButtonMode mode,
                                        const MouseMoveFacts& facts) noexcept;
// CQebTransButton, WM_LBUTTONDOWN (and the press its double click sends):
// focus when it lacks it, in every mode; then, not in static mode, pressed
// (with a redraw) unless already pressed.
ButtonTransition TransButtonOnLeftDown(ButtonState state, TransButtonMode mode, bool hasFocus) noexcept;
// CQebTransButton, WM_LBUTTONUP, first half: when pressed (not in static
// mode), both flags cleared and the click notification asked for. The handler
// sends it, then measures where the cursor is and calls
// TransButtonAfterLeftUp, because the parent's answer to the click may have
// moved the cursor or the window.
ButtonTransition TransButtonOnLeftUp(ButtonState state, TransButtonMode mode) noexcept;
// CQebTransButton, WM_LBUTTONUP, second half. `clicked` is whether the first
// half asked for the notification; `cursorOnButton` whether the cursor is now
// inside the client rectangle and the window under it is the button. After a
// click hover is set again when the cursor is on the button, and the button is
// redrawn; in every case (not static) a cursor off the button gets the arrow.
ButtonTransition TransButtonAfterLeftUp(ButtonState state, TransButtonMode mode, bool clicked,
                                        bool cursorOnButton) noexcept;

}  // namespace velmora::skin
