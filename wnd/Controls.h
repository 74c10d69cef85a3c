// The standard controls the dialogs use: push buttons (optionally owner
// drawn), edit fields and static labels. Each is a CWnd over the system's
// control class, created at run time with Create or bound to a template
// control with DDX_Control.
#pragma once

#include "wnd/Wnd.h"

class CButton : public CWnd {
public:
    BOOL Create(const CStringW& strCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Owner drawing: a button with BS_OWNERDRAW is drawn by DrawItem, which
    // the parent window reflects to the button from its WM_DRAWITEM.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CEdit : public CWnd {
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Longest text, in UTF-16 code units, the user can type (EM_LIMITTEXT).
    void LimitText(int nChars = 0) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars)); }
};

class CStatic : public CWnd {
public:
    BOOL Create(const CStringW& strText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
};
