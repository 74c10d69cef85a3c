// Device contexts. CDC holds the drawing operations the skin uses; who gets
// and gives back the context is the business of its derived classes:
//
//   CDCView       a context someone else owns (the one handed to WM_ERASEBKGND
//                 or to DrawItem): never given back through this object;
//   CMemoryDC     a memory context made with CreateCompatibleDC and deleted;
//   COffscreenDC  a memory context with a compatible bitmap of a given size
//                 selected into it: the off-screen buffer a picture is composed
//                 in before one blit to the screen;
//   CPaintDC      BeginPaint ... EndPaint of one WM_PAINT;
//   CClientDC     GetDC ... ReleaseDC of a window's client area;
//   CWindowDC     GetWindowDC ... ReleaseDC of a whole window.
//
// CClientDC and CWindowDC remember their window, because the context must be
// given back to the window it came from. None of them can be copied. Objects
// are selected into a context with velmora::SelectedObject, which restores
// the previous one.
#pragma once

#include <windows.h>

#include "base/wide_text.h"
#include "base/win32_handles.h"

class CDC {
public:
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const noexcept { return m_hDC; }
    operator HDC() const noexcept { return m_hDC; }

    BOOL BitBlt(int x, int y, int width, int height, HDC hSource, int xSource, int ySource,
                DWORD rop = SRCCOPY) const {
        return ::BitBlt(m_hDC, x, y, width, height, hSource, xSource, ySource, rop);
    }
    BOOL StretchBlt(int x, int y, int width, int height, HDC hSource, int xSource, int ySource,
                    int sourceWidth, int sourceHeight, DWORD rop = SRCCOPY) const {
        return ::StretchBlt(m_hDC, x, y, width, height, hSource, xSource, ySource, sourceWidth, sourceHeight,
                            rop);
    }
    // Fills the rectangle with one colour without a brush object: an opaque
    // empty text run. The background colour is restored.
    void FillSolidRect(const RECT& rect, COLORREF colour) const;

    int SetBkMode(int mode) const { return ::SetBkMode(m_hDC, mode); }
    COLORREF SetBkColor(COLORREF colour) const { return ::SetBkColor(m_hDC, colour); }
    COLORREF SetTextColor(COLORREF colour) const { return ::SetTextColor(m_hDC, colour); }
    int DrawText(const CStringW& strText, RECT* pRect, UINT nFormat) const {
        return ::DrawTextW(m_hDC, velmora::WinText(strText), static_cast<int>(strText.size()), pRect,
                           nFormat);
    }
    BOOL DrawIcon(int x, int y, HICON hIcon, int width, int height, UINT flags = DI_NORMAL) const {
        return ::DrawIconEx(m_hDC, x, y, hIcon, width, height, 0, nullptr, flags);
    }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

protected:
    explicit CDC(HDC hDC) noexcept : m_hDC(hDC) {}
    ~CDC() = default;

    HDC m_hDC;
};

class CDCView : public CDC {
public:
    explicit CDCView(HDC hDC) noexcept : CDC(hDC) {}
};

class CMemoryDC : public CDC {
public:
    // Compatible with `hReference`, or with the screen when it is null.
    explicit CMemoryDC(HDC hReference) noexcept;
    // False when no context could be made.
    explicit operator bool() const noexcept { return static_cast<bool>(m_owned); }

private:
    velmora::OwnedMemoryDc m_owned;
};

class COffscreenDC : public CDC {
public:
    // A width x height buffer compatible with `hTarget`.
    COffscreenDC(HDC hTarget, int width, int height) noexcept;
    // False when the context, the bitmap or the selection failed; drawing
    // then goes nowhere and CopyTo copies nothing.
    bool IsReady() const noexcept { return m_selected.Selected(); }
    int Width() const noexcept { return m_width; }
    int Height() const noexcept { return m_height; }
    // Copies the whole buffer to (x, y) of `hTarget`.
    BOOL CopyTo(HDC hTarget, int x, int y) const;

private:
    int m_width;
    int m_height;
    velmora::OwnedMemoryDc m_owned;
    velmora::OwnedBitmap m_bitmap;
    // Declared last: restored before the bitmap and the context go.
    velmora::SelectedObject m_selected;
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND hWnd) noexcept;
    ~CPaintDC();
    const PAINTSTRUCT& PaintStruct() const noexcept { return m_ps; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps{};
};

class CClientDC : public CDC {
public:
    explicit CClientDC(HWND hWnd) noexcept : CDC(::GetDC(hWnd)), m_hWnd(hWnd) {}
    ~CClientDC() {
        if (m_hDC != nullptr) ::ReleaseDC(m_hWnd, m_hDC);
    }
    HWND Window() const noexcept { return m_hWnd; }

private:
    HWND m_hWnd;
};

class CWindowDC : public CDC {
public:
    explicit CWindowDC(HWND hWnd) noexcept : CDC(::GetWindowDC(hWnd)), m_hWnd(hWnd) {}
    ~CWindowDC() {
        if (m_hDC != nullptr) ::ReleaseDC(m_hWnd, m_hDC);
    }
    HWND Window() const noexcept { return m_hWnd; }

private:
    HWND m_hWnd;
};

// The width `text` takes in `hFont` on the window's client DC.
int TextWidthOf(HWND hWnd, HFONT hFont, const CStringW& text);
