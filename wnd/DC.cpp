#include "wnd/DC.h"

void CDC::FillSolidRect(const RECT& rect, COLORREF colour) const {
    const COLORREF previous = ::SetBkColor(m_hDC, colour);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

CMemoryDC::CMemoryDC(HDC hReference) noexcept : CDC(nullptr), m_owned(::CreateCompatibleDC(hReference)) {
    m_hDC = m_owned.Get();
}

COffscreenDC::COffscreenDC(HDC hTarget, int width, int height) noexcept
    : CDC(nullptr),
      m_width(width > 0 ? width : 0),
      m_height(height > 0 ? height : 0),
      m_owned(::CreateCompatibleDC(hTarget)),
      m_bitmap(m_width > 0 && m_height > 0 ? ::CreateCompatibleBitmap(hTarget, m_width, m_height) : nullptr),
      m_selected(m_owned.Get(), m_bitmap.Get()) {
    m_hDC = m_owned.Get();
}

BOOL COffscreenDC::CopyTo(HDC hTarget, int x, int y) const {
    if (!IsReady()) return FALSE;
    return ::BitBlt(hTarget, x, y, m_width, m_height, m_hDC, 0, 0, SRCCOPY);
}

CPaintDC::CPaintDC(HWND hWnd) noexcept : CDC(nullptr), m_hWnd(hWnd) { m_hDC = ::BeginPaint(hWnd, &m_ps); }

CPaintDC::~CPaintDC() {
    if (m_hDC != nullptr) ::EndPaint(m_hWnd, &m_ps);
}

int TextWidthOf(HWND hWnd, HFONT hFont, const CStringW& text) {
    CClientDC dc(hWnd);
    const velmora::SelectedObject font(dc, hFont);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, velmora::WinText(text), static_cast<int>(text.size()), &extent);
    return static_cast<int>(extent.cx);
}
