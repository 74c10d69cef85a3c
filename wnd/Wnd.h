// CWnd: a window handle with a message map.
//
// A CWnd is bound to at most one window, either one it created (CreateEx) or
// an existing one it subclassed (SubclassWindow). While bound, every message
// of the window reaches WindowProc, which offers it to the class's message
// map, ProcessWindowMessage. A derived class lists the messages it handles in
// its own ProcessWindowMessage, a plain switch that calls typed handlers, and
// passes everything else to its base class's map; what no map handles gets
// the window's default processing (the window procedure the window had before
// it was subclassed, or DefWindowProc).
//
// Results. A handler whose result matters to the system (WM_SETCURSOR,
// WM_NCHITTEST, WM_ERASEBKGND, WM_MOUSEACTIVATE, WM_GETDLGCODE, ...) returns
// it, and its map entry stores it in `result`; an entry that returns true
// without setting `result` answers 0.
//
// Default() runs the window's default processing of the message being
// handled now, with its original parameters, and returns that processing's
// result. A handler that wants default processing as part of its work calls
// it and, when it has no answer of its own, hands the result on
// (`result = Default();`). A map entry that returns false gets the default
// processing anyway: it must not also call Default().
//
// No C++ exception leaves a window procedure: the trampoline catches it and
// the message gets result 0.
//
// The object does not own the window's lifetime beyond its own: its
// destructor first unbinds (UnsubclassWindow) and then destroys the window if
// it still exists. Windows, like all handle owners here, cannot
// be copied.
#pragma once

#include <windows.h>

#include "base/wide_text.h"
#include "wnd/Menu.h"

class CRgn;

class CWnd {
public:
    CWnd() noexcept = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const noexcept { return m_hWnd; }
    operator HWND() const noexcept { return m_hWnd; }

    // The object bound to hWnd by CreateEx or SubclassWindow, or null.
    static CWnd* FromHandlePermanent(HWND hWnd) noexcept;

    // Binding. SubclassWindow fails when this object is already bound or the
    // window already has an object, or when an earlier object's procedure
    // still lies beneath another one (see below); PreSubclassWindow runs
    // before the new window procedure is installed.
    //
    // UnsubclassWindow unbinds this object and returns the window. It puts
    // back the procedure the window had before only while ours is the
    // installed one: when someone subclassed the window after us, ours stays
    // in the chain beneath theirs and passes every message straight on to
    // the procedure it replaced, so that neither they nor the window lose a
    // message.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow() noexcept;

    // Creates a window of a registered class and binds this object to it.
    BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, const CStringW& strWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL DestroyWindow();

    // Children and relatives.
    HWND GetDlgItem(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }

    // Text, in UTF-16 both ways: a window keeps every character it is given.
    void SetWindowText(const CStringW& strText) { ::SetWindowTextW(m_hWnd, velmora::WinText(strText)); }
    CStringW GetWindowText() const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    // The font the window draws its text with (WM_SETFONT); the caller keeps
    // owning it.
    void SetFont(HFONT hFont, BOOL bRedraw = TRUE) {
        ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), bRedraw);
    }

    // Visibility, position and size.
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    BOOL SetWindowPos(HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
        return ::SetWindowPos(m_hWnd, hWndInsertAfter, x, y, cx, cy, nFlags);
    }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void ClientToScreen(POINT* pPoint) const { ::ClientToScreen(m_hWnd, pPoint); }
    void ScreenToClient(POINT* pPoint) const { ::ScreenToClient(m_hWnd, pPoint); }
    // The window under a screen point (WindowFromPoint).
    static HWND WindowFromPoint(POINT point) { return ::WindowFromPoint(point); }
    // Centres the window on its owner's window, or on the work area of its
    // monitor when it has none.
    void CenterWindow();
    // Where CenterWindow puts a window of `cx` x `cy`, as SetWindowPos takes
    // it; false when there is no monitor to centre on.
    bool CenteredPlace(int cx, int cy, RECT* pPlace) const;

    // Styles. Modify* change only the given bits; with nFlags non-zero the
    // frame is recalculated through SetWindowPos(nFlags | SWP_NOSIZE ...).
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    // Timers, capture, focus.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse) {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, nullptr);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
    HWND SetCapture() { return ::SetCapture(m_hWnd); }
    static BOOL ReleaseCapture() { return ::ReleaseCapture(); }
    static HWND GetCapture() { return ::GetCapture(); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    static HWND GetFocus() { return ::GetFocus(); }

    // Shape and window menu. SetWindowRgn gives `region` to the window: on
    // success the window owns it and `region` is left empty; on failure it
    // stays with the caller. GetSystemMenu returns a view of the menu the
    // window owns (never destroy it).
    int SetWindowRgn(CRgn& region, BOOL bRedraw);
    CMenuView GetSystemMenu(BOOL bRevert) const { return CMenuView(::GetSystemMenu(m_hWnd, bRevert)); }

    // Painting.
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void InvalidateRect(const RECT* lpRect, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(const RECT* lpRectUpdate = nullptr, HRGN hrgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
        return ::RedrawWindow(m_hWnd, lpRectUpdate, hrgnUpdate, flags);
    }

    // Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }

    // Shell drag and drop.
    void DragAcceptFiles(BOOL bAccept = TRUE);

    // Offered every message of the message loops of this layer
    // (CDialog::DoModal, CWinApp::Run) before it is dispatched, through
    // WalkPreTranslateTree: TRUE means the message was consumed.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // Offers a message to the bound objects of its window and of that
    // window's parents, innermost first, up to and including the top-level
    // window; stops at the first that consumes it. TRUE when one did. An
    // object that throws counts as not consuming the message.
    static BOOL WalkPreTranslateTree(MSG* pMsg);

protected:
    // The message map. Returns true when this class handled the message and
    // stored its result; false passes it on. Derived classes end with a call
    // to their base class's map.
    virtual bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Default processing of the message now being handled.
    LRESULT Default();
    // The window's processing before it was bound to this object.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // WM_COMMAND that no map entry took: TRUE when handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // A notification the parent reflects back to its child control (owner
    // drawing): TRUE, with *pResult set, when the child handled it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual void PreSubclassWindow();
    // Runs after the window is gone (WM_NCDESTROY) and this object is unbound.
    virtual void PostNcDestroy();

private:
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    static LRESULT CALLBACK WindowProcTrampoline(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static bool IsOurProcedureInstalled(HWND hWnd) noexcept;
    // Unbinds this object; with bWindowGone (WM_NCDESTROY) the window gets no
    // further message, so nothing is left behind to pass messages on.
    HWND Unbind(bool bWindowGone) noexcept;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    WNDPROC m_pfnSuper = nullptr;
    CurrentMessage m_current{};

    friend class CDialog;
};
