// CSkinButtonBase: what the two skin button classes share. Both take the
// same mouse messages to their own handlers, never let the system erase
// under their images, and carry out the effects their state logic asks for
// in one order. Each class says how it redraws and what its tooltip does.
#pragma once

#include "base/wide_text.h"
#include "skin/button_states.h"
#include "wnd/Controls.h"

class CSkinButtonBase : public CButton {
public:
    ~CSkinButtonBase() override = default;

    // The cursor is on the button (its capture held) / the button is held
    // down.
    bool m_hover = false;
    bool m_pressed = false;

    // The DPI the button is drawn for (the window's own once it is bound);
    // a dialog that moves to another DPI tells its buttons, which take the
    // text font of that DPI and redraw.
    int Dpi() const noexcept { return m_dpi; }
    void SetDpi(int dpi);

protected:
    void PreSubclassWindow() override;
    // The DPI has been set; the class takes what it draws with from it.
    virtual void OnDpiSet() {}

    // Takes WM_ERASEBKGND, WM_SIZE, WM_MOUSEMOVE, WM_LBUTTONDOWN and
    // WM_LBUTTONUP; everything else goes to the button class.
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    virtual void OnSize() = 0;
    virtual void OnMouseMove(POINT point) = 0;
    virtual void OnLButtonDown() = 0;
    virtual void OnLButtonUp() = 0;
    // The redraw an effect asks for.
    virtual void RedrawLook() = 0;
    // The tooltip's text shown (the stored tip) or cleared; no tooltip by
    // default.
    virtual void ShowTipText(bool /*show*/) {}

    // Stores the new state and carries out the effects in this order: focus,
    // capture, tooltip text, click notification, redraw, capture release,
    // tooltip cleared, arrow cursor. Returns false when the parent's answer
    // to the click destroyed the window; nothing is touched after that.
    bool ApplyTransition(const velmora::skin::ButtonTransition& transition);

private:
    int m_dpi = 96;
};

// The skin buttons' WM_ERASEBKGND: the whole button is invalidated without
// erasing, so the system never paints a background under the image; the
// answer is "erased".
LRESULT InvalidateInsteadOfErasing(CWnd& button);
