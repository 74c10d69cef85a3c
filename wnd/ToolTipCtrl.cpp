#include "wnd/ToolTipCtrl.h"

BOOL CToolTipCtrl::Create(CWnd* pParent, DWORD dwStyle) {
    // A popup of its own: as a child it would be clipped to the window it
    // describes, and as a popup owned by the parent's top-level window it
    // would keep that window from staying top-most (owned windows stay
    // above their owner, so the owner is placed below its top-most tips and
    // loses the top-most state). The tools still name the parent.
    static_cast<void>(pParent);
    const RECT anywhere{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    return CreateEx(WS_EX_TOOLWINDOW, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle, anywhere, nullptr, 0);
}

TOOLINFOA CToolTipCtrl::MakeToolInfo(CWnd* pWnd, UINT_PTR nIdTool) {
    TOOLINFOA info{};
    // The size every version of the control understands.
    info.cbSize = TTTOOLINFOA_V2_SIZE;
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

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCSTR lpszText, const RECT* pRectTool, UINT_PTR nIdTool) {
    if (m_hWnd == nullptr || pWnd == nullptr) return FALSE;
    TOOLINFOA info = MakeToolInfo(pWnd, nIdTool);
    if (pRectTool != nullptr && nIdTool != 0) info.rect = *pRectTool;
    info.lpszText = const_cast<LPSTR>(lpszText != nullptr ? lpszText : "");
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIdTool) {
    if (m_hWnd == nullptr || pWnd == nullptr) return;
    TOOLINFOA info = MakeToolInfo(pWnd, nIdTool);
    info.lpszText = const_cast<LPSTR>(lpszText != nullptr ? lpszText : "");
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

CString CToolTipCtrl::GetText(CWnd* pWnd, UINT_PTR nIdTool) const {
    CString text;
    if (m_hWnd == nullptr || pWnd == nullptr) return text;
    TOOLINFOA info = MakeToolInfo(pWnd, nIdTool);
    // Newer controls take the buffer's size; older ones write at most 80
    // bytes.
    char buffer[256] = {};
    info.lpszText = buffer;
    SendMessage(TTM_GETTEXTA, sizeof(buffer) - 1, reinterpret_cast<LPARAM>(&info));
    buffer[sizeof(buffer) - 1] = '\0';
    text = buffer;
    return text;
}
