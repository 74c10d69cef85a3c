#include "skin/win32_facts.h"

namespace velmora::skin {

bool IsInClient(const CWnd& window, POINT point) {
    RECT client{};
    window.GetClientRect(&client);
    return ::PtInRect(&client, point) != FALSE;
}

MouseMoveFacts GatherMouseMove(const CWnd& button, POINT point) {
    MouseMoveFacts facts;
    facts.insideClient = IsInClient(button, point);
    facts.holdsCapture = CWnd::GetCapture() == button.m_hWnd;
    POINT screen = point;
    button.ClientToScreen(&screen);
    facts.stillOnButton = IsCursorStillOnButton(facts.insideClient, facts.holdsCapture,
                                                CWnd::WindowFromPoint(screen) == button.m_hWnd);
    return facts;
}

bool IsCursorOnButton(const CWnd& button) {
    POINT screen{};
    if (!::GetCursorPos(&screen)) return false;
    POINT client = screen;
    button.ScreenToClient(&client);
    return IsInClient(button, client) && CWnd::WindowFromPoint(screen) == button.m_hWnd;
}

bool NotifyParentOfClick(CWnd& button) {
    HWND hButton = button.m_hWnd;
    const int id = button.GetDlgCtrlID();
    ::SendMessageW(button.GetParent(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return button.m_hWnd == hButton && ::IsWindow(hButton);
}

void ShowSystemCursor(int cursorId) {
    ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(static_cast<ULONG_PTR>(cursorId))));
}

}  // namespace velmora::skin
