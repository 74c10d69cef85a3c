#include "app/ui/TextTip_win32.h"

namespace {

constexpr UINT_PTR kToolId = 1;
// Wide enough for a long path; the tip breaks lines past it.
constexpr int kTipWidth = 600;

}  // namespace

TOOLINFOW CTextTip::ToolInfo() {
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = 0;
    info.hwnd = m_hWindow;
    info.uId = kToolId;
    return info;
}

void CTextTip::Create(CWnd& window, const RECT& area) {
    m_hWindow = window.m_hWnd;
    if (!m_tip.Create(&window, TTS_ALWAYSTIP | TTS_NOPREFIX)) return;
    m_tip.SendMessage(TTM_SETMAXTIPWIDTH, 0, kTipWidth);
    TOOLINFOW info = ToolInfo();
    info.rect = area;
    info.lpszText = const_cast<LPWSTR>(velmora::WinText(m_text));
    m_tip.SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void CTextTip::SetArea(const RECT& area) {
    if (m_tip.m_hWnd == nullptr) return;
    TOOLINFOW info = ToolInfo();
    info.rect = area;
    m_tip.SendMessage(TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
}

void CTextTip::SetText(const CStringW& text) {
    m_text = text;
    if (m_tip.m_hWnd == nullptr) return;
    TOOLINFOW info = ToolInfo();
    info.lpszText = const_cast<LPWSTR>(velmora::WinText(m_text));
    m_tip.SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void CTextTip::Relay(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            break;
        default:
            return;
    }
    if (m_tip.m_hWnd == nullptr) return;
    MSG msg{};
    msg.hwnd = m_hWindow;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(::GetMessageTime());
    const DWORD at = ::GetMessagePos();
    msg.pt = POINT{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    m_tip.SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}
