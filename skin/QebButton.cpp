#include "skin/QebButton.h"

#include "skin/button_looks.h"
#include "skin/win32_facts.h"
#include "wnd/DC.h"

namespace {

// The tooltip control's style: WS_CHILD | WS_VISIBLE | TTS_ALWAYSTIP.
constexpr DWORD kToolTipStyle = 0x50000001;
constexpr int kToolTipInitialDelayMs = 100;

}  // namespace

LRESULT InvalidateInsteadOfErasing(CWnd& button) {
    button.InvalidateRect(nullptr, FALSE);
    return TRUE;
}

CQebButton::CQebButton() noexcept
    : m_notifyParent(true), m_hover(false), m_pressed(false), m_imageOffset(0), m_pImage(nullptr) {}

CQebButton::~CQebButton() = default;

void CQebButton::AddToolTip(const CStringW& text) {
    m_tipText = text;
    if (m_pToolTip) return;
    m_pToolTip = std::make_unique<CToolTipCtrl>();
    if (!m_pToolTip->Create(this, kToolTipStyle)) return;
    m_pToolTip->SetDelayTime(TTDT_INITIAL, kToolTipInitialDelayMs);
    m_pToolTip->AddTool(this, m_tipText);
}

void CQebButton::SetToolTipText(const CStringW& text) {
    m_tipText = text;
    SetTipWindowText(m_tipText);
}

void CQebButton::SetTipWindowText(const CStringW& strText) {
    if (m_pToolTip && m_pToolTip->m_hWnd != nullptr) m_pToolTip->UpdateTipText(strText, this);
}

BOOL CQebButton::PreTranslateMessage(MSG* pMsg) {
    if (m_pToolTip && m_pToolTip->m_hWnd != nullptr) m_pToolTip->RelayEvent(pMsg);
    return CButton::PreTranslateMessage(pMsg);
}

bool CQebButton::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_ERASEBKGND:
            result = InvalidateInsteadOfErasing(*this);
            return true;
        case WM_PAINT:
            OnPaint();
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

void CQebButton::OnPaint() {
    CPaintDC dc(m_hWnd);
    if (m_pImage == nullptr || !m_pImage->HasImage()) return;
    RECT client{};
    GetClientRect(&client);
    CMemoryDC strip(dc);
    const velmora::SelectedObject selected(strip, m_pImage->GetSafeHandle());
    if (!selected.Selected()) return;
    const int x = velmora::skin::SkinButtonSourceX(m_imageOffset, client.right,
                                                   velmora::skin::ChooseLook(m_pressed, m_hover));
    dc.BitBlt(0, 0, client.right, client.bottom, strip, x, 0, SRCCOPY);
}

void CQebButton::OnSize() { RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

void CQebButton::OnMouseMove(POINT point) {
    Apply(velmora::skin::SkinButtonOnMouseMove({m_hover, m_pressed},
                                               velmora::skin::GatherMouseMove(*this, point)));
}

void CQebButton::OnLButtonDown() { Apply(velmora::skin::SkinButtonOnLeftDown({m_hover, m_pressed})); }

void CQebButton::OnLButtonUp() {
    Apply(velmora::skin::SkinButtonOnLeftUp({m_hover, m_pressed}, m_notifyParent));
}

void CQebButton::Apply(const velmora::skin::ButtonTransition& transition) {
    m_hover = transition.state.hover;
    m_pressed = transition.state.pressed;
    const velmora::skin::ButtonEffects& effects = transition.effects;
    if (effects.takeCapture) SetCapture();
    if (effects.showTipText) SetTipWindowText(m_tipText);
    if (effects.notifyParent && !velmora::skin::NotifyParentOfClick(*this)) return;
    if (effects.redraw) InvalidateRect(nullptr, FALSE);
    if (effects.releaseCapture && GetCapture() == m_hWnd) ReleaseCapture();
    if (effects.clearTipText) SetTipWindowText(CStringW());
}
