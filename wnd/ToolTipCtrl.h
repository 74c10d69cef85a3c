// CToolTipCtrl: the common controls' tooltip window, with the tools the skin
// gives it: whole windows identified by their handle (tool identifier 0) or
// numbered rectangles of a window.
//
// The control is a popup of its own, without an owner, whatever child
// style bits the caller passes (with WS_POPUP also set, the system makes no
// child of it): a tip is never clipped to the window it describes, and a
// top-most dialog stays top-most. It is destroyed with this object.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "wnd/Wnd.h"

class CToolTipCtrl : public CWnd {
public:
    // Creates the control for the tools of `pParent`'s windows with the
    // window style `dwStyle` (TTS_* bits included) plus WS_POPUP.
    BOOL Create(CWnd* pParent, DWORD dwStyle);

    // TTDT_INITIAL, TTDT_AUTOPOP or TTDT_RESHOW, in milliseconds.
    void SetDelayTime(DWORD dwDuration, int nTime) {
        SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(nTime, 0));
    }
    int GetDelayTime(DWORD dwDuration) const {
        return static_cast<int>(SendMessage(TTM_GETDELAYTIME, dwDuration, 0));
    }

    // Adds a tool: with nIdTool 0 the whole window pWnd (any rectangle is
    // ignored); otherwise the rectangle `pRectTool` of pWnd's client area,
    // numbered nIdTool. The control keeps its own copy of the text.
    BOOL AddTool(CWnd* pWnd, const CStringW& strText, const RECT* pRectTool = nullptr, UINT_PTR nIdTool = 0);
    void UpdateTipText(const CStringW& strText, CWnd* pWnd, UINT_PTR nIdTool = 0);
    // The tool's current text (empty when there is no such tool).
    CStringW GetText(CWnd* pWnd, UINT_PTR nIdTool = 0) const;
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
    // Passes a mouse message of a tool window to the control, which shows and
    // hides the tip from them.
    void RelayEvent(MSG* pMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg)); }

private:
    static TOOLINFOW MakeToolInfo(CWnd* pWnd, UINT_PTR nIdTool);
};
