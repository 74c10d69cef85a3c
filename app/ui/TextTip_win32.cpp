#include "app/ui/TextTip_win32.h"

namespace {

constexpr UINT_PTR kToolId = 1;
// Wide enough for a long path; the tip breaks lines past it.
constexpr int kTipWidth = 600;

}  // namespace

TOOLINFOW CTextTip::ToolInfo() {
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_SUBCLASS;
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
