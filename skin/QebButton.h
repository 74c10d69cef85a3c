// CQebButton: a push button drawn entirely from a strip of three frames
// (normal, hover, pressed), with hover tracking by mouse capture, an optional
// tooltip and its own click notification to the parent. The skinned frame
// uses three of them as its caption buttons.
//
// The owner creates the window with CButton::Create and sets m_pImage and
// m_imageOffset directly; the strip is not owned and must outlive the window.
// A click (press and release on the button without leaving it) sends
// WM_COMMAND(control id, 0) to the parent, unless m_notifyParent is false.
#pragma once

#include <memory>

#include "base/wide_text.h"
#include "skin/SkinButtonBase.h"
#include "wnd/Gdi.h"
#include "wnd/ToolTipCtrl.h"

class CQebButton : public CSkinButtonBase {
public:
    CQebButton() noexcept;
    ~CQebButton() override;

    // Stores the text and gives the button a tooltip: the control, with one
    // tool for the whole button, is created when the first mouse message
    // for the button passes PreTranslateMessage (just before the control
    // sees it, so the tip still shows after its delay), not while the window
    // is being set up. Later calls change only the stored text, which the tip
    // shows from the next hover on.
    void AddToolTip(const CStringW& text);
    // Stores the text and shows it in the tooltip at once.
    void SetToolTipText(const CStringW& text);

    BOOL PreTranslateMessage(MSG* pMsg) override;

    bool m_notifyParent;
    int m_imageOffset;
    const CBitmap* m_pImage;
    CStringW m_tipText;
    std::unique_ptr<CToolTipCtrl> m_pToolTip;
    // AddToolTip was called: the control is made at the first mouse message.
    bool m_wantsToolTip = false;

protected:
    // Creates the tooltip control that AddToolTip asked for, once.
    void MakeToolTip();
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    void OnPaint();
    void OnSize() override;
    void OnMouseMove(POINT point) override;
    void OnLButtonDown() override;
    void OnLButtonUp() override;
    void RedrawLook() override;
    void ShowTipText(bool show) override;

private:
    void SetTipWindowText(const CStringW& strText);
};
