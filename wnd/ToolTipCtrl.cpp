#include "wnd/ToolTipCtrl.h"

#include <iterator>

BOOL CToolTipCtrl::Create(CWnd* pParent, DWORD dwStyle) {
    // A popup of its own: as a child it would be clipped to the window it
    // describes, and as a popup owned by the parent's top-level window it
    // would keep that window from staying top-most (owned windows stay
    // above their owner, so the owner is placed below its top-most tips and
    // loses the top-most state). The tools still name the parent.
    static_cast<void>(pParent);
    const RECT anywhere{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    return CreateEx(WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, CStringW(), WS_POPUP | dwStyle, anywhere, nullptr, 0);
}

TOOLINFOW CToolTipCtrl::MakeToolInfo(CWnd* pWnd, UINT_PTR nIdTool) {
    TOOLINFOW info{};
    // The size every version of the control understands.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    HWND hTool = pWnd != nullptr ? pWnd->m_hWnd : nullptr;
    if (nIdTool == 0) {
        info.uFlags = TTF_IDISHWND;
        info.hwnd = ::GetParent(hTool);
        info.uId = reinterpret_cast<UINT_PTR>(hTool);
    } else {
        info.hwnd = hTool;
        info.uId = nIdTool;
    }
    return info;
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, const CStringW& strText, const RECT* pRectTool, UINT_PTR nIdTool) {
    if (m_hWnd == nullptr || pWnd == nullptr) return FALSE;
    TOOLINFOW info = MakeToolInfo(pWnd, nIdTool);
    if (pRectTool != nullptr && nIdTool != 0) info.rect = *pRectTool;
    info.lpszText = const_cast<LPWSTR>(velmora::WinText(strText));
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::UpdateTipText(const CStringW& strText, CWnd* pWnd, UINT_PTR nIdTool) {
    if (m_hWnd == nullptr || pWnd == nullptr) return;
    TOOLINFOW info = MakeToolInfo(pWnd, nIdTool);
    info.lpszText = const_cast<LPWSTR>(velmora::WinText(strText));
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

CStringW CToolTipCtrl::GetText(CWnd* pWnd, UINT_PTR nIdTool) const {
    if (m_hWnd == nullptr || pWnd == nullptr) return CStringW();
    TOOLINFOW info = MakeToolInfo(pWnd, nIdTool);
    // Newer controls take the buffer's size in characters; older ones write
    // at most 80.
    wchar_t buffer[256] = {};
    info.lpszText = buffer;
    SendMessage(TTM_GETTEXTW, static_cast<WPARAM>(std::size(buffer) - 1), reinterpret_cast<LPARAM>(&info));
    buffer[std::size(buffer) - 1] = L'\0';
    return velmora::FromWin(buffer);
}
