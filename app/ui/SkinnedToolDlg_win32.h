// The base of the small modal dialogs the manager opens (the Path editor, the
// import preview): the manager's frame skin and fill, opened at a size given
// at 96 DPI and scaled to the window's own.
#pragma once

#include "skin/QebDialog.h"
#include "skin/dpi_scale.h"
#include "wnd/Gdi.h"

class CSkinnedToolDlg : public CQebDialog {
protected:
    explicit CSkinnedToolDlg(CWnd* pParent);

    // From the derived dialog's OnInitDialog, first: puts the skin on, sets
    // the title, and opens the window `sizeAt96` scaled, centred on its owner.
    void OpenSkinned(const CStringW& strTitle, SIZE sizeAt96);
    // A pixel number given at 96 DPI, at the window's DPI.
    int Scaled(int valueAt96) const noexcept { return velmora::skin::ScaleForDpi(valueAt96, Dpi()); }
    // Fills the inside with the dialogs' background.
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    CBitmap m_bmpCaptionButtons;
    CBitmap m_bmpFrame;
    CBitmap m_bmpButton;
};
