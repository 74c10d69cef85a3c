// CPaintDC: the device context of one WM_PAINT, from BeginPaint to EndPaint.
#pragma once

#include <windows.h>

class CPaintDC {
public:
    explicit CPaintDC(HWND hWnd) noexcept : m_hWnd(hWnd), m_hDC(::BeginPaint(hWnd, &m_ps)) {}
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const noexcept { return m_hDC; }
    operator HDC() const noexcept { return m_hDC; }
    const PAINTSTRUCT& PaintStruct() const noexcept { return m_ps; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps{};
    HDC m_hDC;
};
