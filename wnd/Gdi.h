// GDI objects the skin keeps: bitmaps, regions and fonts. Each class owns its
// handle (deleted with DeleteObject when replaced or destroyed) with the
// vocabulary of base/win32_handles.h: Attach, Detach, Destroy. Code that only
// uses an object someone else keeps holds a pointer to the owner or the raw
// handle, never a second owner.
#pragma once

#include <windows.h>

#include "base/win32_handles.h"

class CBitmap {
public:
    CBitmap() noexcept = default;
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    HBITMAP GetSafeHandle() const noexcept { return m_bitmap.Get(); }
    operator HBITMAP() const noexcept { return m_bitmap.Get(); }

    void Attach(HBITMAP hBitmap) noexcept { m_bitmap.Attach(hBitmap); }
    [[nodiscard]] HBITMAP Detach() noexcept { return m_bitmap.Detach(); }
    void Destroy() noexcept { m_bitmap.Destroy(); }

    // Bitmap resource `nId` of `hInstance`, kept as a DIB section so that its
    // pixels stay exactly as stored whatever the screen's colour depth.
    BOOL LoadBitmap(HINSTANCE hInstance, UINT nId);
    BOOL CreateCompatibleBitmap(HDC hDC, int width, int height);
    // A bottom-up 24-bit DIB section of width x height pixels holding the
    // rows `bits` (bottom row first, each row padded to 4 bytes).
    // FALSE, holding nothing, when `byteCount` is not exactly that size or the
    // section cannot be made.
    BOOL CreateDibSection24(int width, int height, const void* bits, size_t byteCount);
    // A 1 bit per pixel bitmap, all bits 0.
    BOOL CreateMonochromeBitmap(int width, int height);

    // Width, height and depth; FALSE (and *pInfo zeroed) without a bitmap.
    BOOL GetBitmap(BITMAP* pInfo) const;
    // True when an image of at least 1 x 1 pixel is held.
    bool HasImage() const;

private:
    velmora::OwnedBitmap m_bitmap;
};

class CRgn {
public:
    CRgn() noexcept = default;
    CRgn(const CRgn&) = delete;
    CRgn& operator=(const CRgn&) = delete;

    HRGN GetSafeHandle() const noexcept { return m_region.Get(); }
    operator HRGN() const noexcept { return m_region.Get(); }

    void Attach(HRGN hRegion) noexcept { m_region.Attach(hRegion); }
    // Hands the region out, for example to SetWindowRgn, after which the
    // system owns it.
    [[nodiscard]] HRGN Detach() noexcept { return m_region.Detach(); }
    void Destroy() noexcept { m_region.Destroy(); }

    BOOL CreateRectRgn(int left, int top, int right, int bottom);
    // This region becomes `a` combined with `b` by `mode` (RGN_AND, RGN_OR,
    // RGN_DIFF, ...); either may be this region itself. Returns the result's
    // complexity, or ERROR.
    int CombineRgn(const CRgn& a, const CRgn& b, int mode);

private:
    velmora::OwnedRegion m_region;
};

class CFont {
public:
    CFont() noexcept = default;
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    HFONT GetSafeHandle() const noexcept { return m_font.Get(); }
    operator HFONT() const noexcept { return m_font.Get(); }

    BOOL CreateFontIndirect(const LOGFONTW& logFont);

    // The logical font behind `hFont`; FALSE (and *pLogFont zeroed) when
    // there is none.
    static BOOL GetLogFont(HFONT hFont, LOGFONTW* pLogFont);
    // The system's stock font for dialogs and controls. Stock objects belong
    // to the system: this is a view, never deleted.
    static HFONT StockGuiFont() noexcept { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }
    // The font of the tool's texts, which are Chinese: the stock GUI font as
    // a system of code page 936 has it, the Chinese character set (GB2312)
    // at 9 points, so that a system whose own code page is another picks a
    // font that holds the texts, at the size the windows are laid out for.
    // On a system of code page 936 that is the stock font's own choice. Made
    // on first use and kept for the process, like a stock object (a view,
    // never deleted); the stock font itself when it cannot be made.
    static HFONT TextFont() noexcept;
    // The same font for a window shown at `dpi`: 9 points at that DPI. At
    // the screen's own DPI it is TextFont() itself; for another DPI it is
    // made on first use and kept for the process in the same way.
    static HFONT TextFont(int dpi) noexcept;

private:
    velmora::OwnedFont m_font;
};
