// A tooltip over one rectangle of a window, holding a text the window shows
// only in part (a status line cut to its width): pointing at the rectangle
// shows the whole text. The window passes its mouse messages on (Relay):
// the tooltip does not subclass it, which would put every message of the
// window through the subclass's property lookups.
#pragma once

#include "wnd/ToolTipCtrl.h"

class CTextTip {
public:
    // Creates the tooltip for the rectangle `area` of `window`'s client area.
    void Create(CWnd& window, const RECT& area);
    void SetArea(const RECT& area);
    // The text shown; empty shows no tip.
    void SetText(const CStringW& text);
    // A message of the window: the mouse's are passed to the tooltip.
    void Relay(UINT message, WPARAM wParam, LPARAM lParam);
    CStringW Text() const { return m_text; }

private:
    TOOLINFOW ToolInfo();

    CToolTipCtrl m_tip;
    HWND m_hWindow = nullptr;
    CStringW m_text;
};
