#include "skin/button_states.h"

namespace velmora::skin {

namespace {

// The hover tracking both classes share; CQebTransButton ignores the tip
// effects (it has no tooltip).
ButtonTransition TrackHover(ButtonState state, const MouseMoveFacts& facts) noexcept {
    ButtonTransition t{state, {}};
    if (facts.insideClient && !facts.holdsCapture) {
        t.effects.takeCapture = true;
        t.effects.showTipText = true;
    }
    if (!t.state.hover) {
        t.state.hover = true;
        t.effects.redraw = true;
    }
    if (!facts.stillOnButton) {
        t.state = {};
        t.effects.redraw = true;
        t.effects.clearTipText = true;
        t.effects.showTipText = false;
        // Taking the capture only to give it back at once is no change;
        // releasing one the button does not hold could end another window's.
        t.effects.releaseCapture = facts.holdsCapture;
        t.effects.takeCapture = false;
    }
    return t;
}

}  // namespace

bool IsCursorStillOnButton(bool insideClient, bool holdsCapture, bool windowUnderCursorIsButton) noexcept {
    if (!insideClient && holdsCapture) {
        return false;
    }
    return windowUnderCursorIsButton;
}

ButtonTransition SkinButtonOnMouseMove(ButtonState state, const MouseMoveFacts& facts) noexcept {
    return TrackHover(state, facts);
}

ButtonTransition SkinButtonOnLeftDown(ButtonState state) noexcept {
    ButtonTransition t{state, {}};
    if (!state.pressed) {
        t.state.pressed = true;
        t.effects.redraw = true;
    }
    return t;
}

ButtonTransition SkinButtonOnLeftUp(ButtonState state, bool notifyParent) noexcept {
    ButtonTransition t{state, {}};
    if (state.pressed) {
        t.state = {};
        t.effects.redraw = true;
        t.effects.notifyParent = notifyParent;
    }
    return t;
}

ButtonTransition TransButtonOnMouseMove(ButtonState state, TransButtonMode mode,
                                        const MouseMoveFacts& facts) noexcept {
    if (mode == TransButtonMode::kStatic) {
        return {state, {}};
    }
    ButtonTransition t = TrackHover(state, facts);
    t.effects.showTipText = false;
    t.effects.clearTipText = false;
    return t;
}

ButtonTransition TransButtonOnLeftDown(ButtonState state, TransButtonMode mode, bool hasFocus) noexcept {
    ButtonTransition t{state, {}};
    t.effects.setFocus = !hasFocus;
    if (mode != TransButtonMode::kStatic && !state.pressed) {
        t.state.pressed = true;
        t.effects.redraw = true;
    }
    return t;
}

ButtonTransition TransButtonOnLeftUp(ButtonState state, TransButtonMode mode) noexcept {
    ButtonTransition t{state, {}};
    if (mode != TransButtonMode::kStatic && state.pressed) {
        t.state = {};
        t.effects.notifyParent = true;
    }
    return t;
}

ButtonTransition TransButtonAfterLeftUp(ButtonState state, TransButtonMode mode, bool clicked,
                                        bool cursorOnButton) noexcept {
    ButtonTransition t{state, {}};
    if (mode == TransButtonMode::kStatic) {
        return t;
    }
    if (clicked) {
        t.state.hover = cursorOnButton;
        t.effects.redraw = true;
    }
    t.effects.setArrowCursor = !cursorOnButton;
    return t;
}

}  // namespace velmora::skin
