#include "skin/SkinButtonBase.h"

#include "skin/win32_facts.h"
#include "wnd/WindowDpi.h"

LRESULT InvalidateInsteadOfErasing(CWnd& button) {
    button.InvalidateRect(nullptr, FALSE);
    return TRUE;
}

void CSkinButtonBase::PreSubclassWindow() {
    m_dpi = WindowDpi(m_hWnd);
    OnDpiSet();
    CButton::PreSubclassWindow();
}

void CSkinButtonBase::SetDpi(int dpi) {
    if (dpi <= 0) return;
    m_dpi = dpi;
    OnDpiSet();
    if (m_hWnd != nullptr) RedrawLook();
}

bool CSkinButtonBase::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_ERASEBKGND:
            result = InvalidateInsteadOfErasing(*this);
            return true;
        case WM_SIZE:
            OnSize();
            return true;
        case WM_MOUSEMOVE:
            OnMouseMove(velmora::skin::PointOf(lParam));
            return true;
        case WM_LBUTTONUP:
            OnLButtonUp();
            return true;
        case WM_LBUTTONDOWN:
            OnLButtonDown();
            return true;
        default:
            return CButton::ProcessWindowMessage(message, wParam, lParam, result);
    }
}

bool CSkinButtonBase::ApplyTransition(const velmora::skin::ButtonTransition& transition) {
    m_hover = transition.state.hover;
    m_pressed = transition.state.pressed;
    const velmora::skin::ButtonEffects& effects = transition.effects;
    if (effects.setFocus) SetFocus();
    if (effects.takeCapture) SetCapture();
    if (effects.showTipText) ShowTipText(true);
    if (effects.notifyParent && !velmora::skin::NotifyParentOfClick(*this)) return false;
    if (effects.redraw) RedrawLook();
    if (effects.releaseCapture && GetCapture() == m_hWnd) ReleaseCapture();
    if (effects.clearTipText) ShowTipText(false);
    if (effects.setArrowCursor) velmora::skin::ShowSystemCursor(velmora::skin::kCursorArrow);
    return true;
}
