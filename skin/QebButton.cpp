#include "skin/QebButton.h"

#include "skin/button_looks.h"
#include "skin/win32_facts.h"
#include "wnd/DC.h"

namespace {

// The tooltip control's style: WS_CHILD | WS_VISIBLE | TTS_ALWAYSTIP.
constexpr DWORD kToolTipStyle = 0x50000001;
constexpr int kToolTipInitialDelayMs = 100;

}  // namespace

CQebButton::CQebButton() noexcept : m_notifyParent(true), m_imageOffset(0), m_pImage(nullptr) {}

CQebButton::~CQebButton() = default;

void CQebButton::AddToolTip(const CStringW& text) {
    m_tipText = text;
    m_wantsToolTip = true;
}

// Made at the first mouse message rather than with the button: a tooltip is
// a top-level window of its own, and creating it is most of what a caption
// button costs before the first paint.
void CQebButton::MakeToolTip() {
    if (!m_wantsToolTip || m_pToolTip || m_hWnd == nullptr) return;
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
    if (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST) MakeToolTip();
    if (m_pToolTip && m_pToolTip->m_hWnd != nullptr) m_pToolTip->RelayEvent(pMsg);
    return CSkinButtonBase::PreTranslateMessage(pMsg);
}

bool CQebButton::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_PAINT) {
        OnPaint();
        return true;
    }
    return CSkinButtonBase::ProcessWindowMessage(message, wParam, lParam, result);
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
    ApplyTransition(velmora::skin::SkinButtonOnMouseMove({m_hover, m_pressed},
                                                         velmora::skin::GatherMouseMove(*this, point)));
}

void CQebButton::OnLButtonDown() {
    ApplyTransition(velmora::skin::SkinButtonOnLeftDown({m_hover, m_pressed}));
}

void CQebButton::OnLButtonUp() {
    ApplyTransition(velmora::skin::SkinButtonOnLeftUp({m_hover, m_pressed}, m_notifyParent));
}

void CQebButton::RedrawLook() { InvalidateRect(nullptr, FALSE); }

void CQebButton::ShowTipText(bool show) { SetTipWindowText(show ? m_tipText : CStringW()); }
