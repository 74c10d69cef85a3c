#include "app/ui/SkinnedToolDlg_win32.h"

#include "app/ui/SkinnedFrame_win32.h"
#include "app/ui/WindowPlacement_win32.h"
#include "res/resource.h"
#include "wnd/DC.h"

CSkinnedToolDlg::CSkinnedToolDlg(CWnd* pParent) : CQebDialog(IDD_RUN_MANAGER, pParent) {}

void CSkinnedToolDlg::OpenSkinned(const CStringW& strTitle, SIZE sizeAt96) {
    SetUpSkinnedFrame(*this, m_bmpCaptionButtons, m_bmpFrame, m_bmpButton, Dpi());
    SetWindowText(strTitle);
    CQebDialog::OnInitDialog();
    SetWindowPos(nullptr, 0, 0, Scaled(sizeAt96.cx), Scaled(sizeAt96.cy), SWP_NOMOVE | SWP_NOZORDER);
    // Never partly off the screen, wherever the owner stands.
    velmora::app::CentreInsideWorkArea(*this);
}

void CSkinnedToolDlg::StartLayout() {
    m_laidOut = true;
    LayOutControls();
}

void CSkinnedToolDlg::AddButton(CQebTransButton& button, UINT id, const CStringW& text) {
    button.Create(text, WS_CHILD | WS_VISIBLE | WS_TABSTOP, RECT{0, 0, 0, 0}, this, id);
    button.SetBitmap(&m_bmpButton);
    button.SetBkColor(kDialogBackground);
    button.m_showFocus = true;
}

void CSkinnedToolDlg::AddLabel(CQebTransButton& label, UINT id, const CStringW& text) {
    label.Create(text, WS_CHILD | WS_VISIBLE, RECT{0, 0, 0, 0}, this, id);
    label.SetBkColor(kDialogBackground);
    label.SetStaticIcon(nullptr);
}

void CSkinnedToolDlg::OnFrameDpiChanged(int, int toDpi) {
    SetUpSkinnedFrame(*this, m_bmpCaptionButtons, m_bmpFrame, m_bmpButton, toDpi);
    for (CQebTransButton* control : SkinControls()) control->SetDpi(toDpi);
    // The new window rectangle follows and lays out again; this covers a
    // rectangle of the same size.
    if (m_laidOut) LayOutControls();
}

bool CSkinnedToolDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT inner{};
            GetInnerRect(&inner);
            CDCView(reinterpret_cast<HDC>(wParam)).FillSolidRect(inner, kDialogBackground);
            result = CQebDialog::OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
            return true;
        }
        case WM_SIZE:
            OnSize(static_cast<UINT>(wParam));
            if (m_laidOut) LayOutControls();
            return true;
        default:
            return CQebDialog::ProcessWindowMessage(message, wParam, lParam, result);
    }
}
