// The base of the manager and the small modal dialogs it opens (the Path
// editor, the import preview): the tool's frame skin (bitmaps owned here),
// the interior fill, image buttons and labels made the same way, and one
// layout hook that runs whenever the window's size or DPI changes.
#pragma once

#include <vector>

#include "skin/QebDialog.h"
#include "skin/QebTransButton.h"
#include "skin/dpi_scale.h"
#include "wnd/Gdi.h"

class CSkinnedToolDlg : public CQebDialog {
protected:
    // The tool dialogs' spacing and button size, at 96 DPI (Scaled).
    static constexpr int kMargin = 10;
    static constexpr int kButtonWidth = 80;
    static constexpr int kButtonHeight = 25;
    static constexpr int kButtonGap = 8;

    explicit CSkinnedToolDlg(CWnd* pParent);

    // From the derived dialog's OnInitDialog, first: puts the skin on, sets
    // the title, and opens the window `sizeAt96` scaled, centred on its owner
    // and wholly inside the work area of the owner's monitor.
    void OpenSkinned(const CStringW& strTitle, SIZE sizeAt96);
    // From the derived dialog's OnInitDialog, once its controls exist: lays
    // them out now and from then on after every change of size or DPI.
    void StartLayout();

    // An image button of the skin's strip and a transparent label on the
    // interior, created at an empty place (LayOutControls places them).
    void AddButton(CQebTransButton& button, UINT id, const CStringW& text);
    void AddLabel(CQebTransButton& label, UINT id, const CStringW& text);

    // Places the controls inside GetInnerRect at the window's DPI and gives
    // them its fonts. Called after StartLayout on every WM_SIZE and DPI change.
    virtual void LayOutControls() = 0;
    // A new DPI: the skin of that DPI, the skin controls' looks, then the
    // layout. A dialog that keeps more per DPI (columns, icons) adds to it.
    void OnFrameDpiChanged(int fromDpi, int toDpi) override;
    // The skin controls whose looks follow the DPI (buttons and labels).
    virtual std::vector<CQebTransButton*> SkinControls() { return {}; }

    // A pixel number given at 96 DPI, at the window's DPI.
    int Scaled(int valueAt96) const noexcept { return velmora::skin::ScaleForDpi(valueAt96, Dpi()); }
    // Fills the inside with the dialogs' background; WM_SIZE lays out.
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    CBitmap m_bmpCaptionButtons;
    CBitmap m_bmpFrame;
    CBitmap m_bmpButton;

private:
    bool m_laidOut = false;
};
