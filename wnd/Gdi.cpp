#include "wnd/Gdi.h"

#include <cstring>
#include <map>

#include "wnd/WindowDpi.h"

BOOL CBitmap::LoadBitmap(HINSTANCE hInstance, UINT nId) {
    m_bitmap.Attach(static_cast<HBITMAP>(
        ::LoadImageW(hInstance, MAKEINTRESOURCEW(nId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    return m_bitmap ? TRUE : FALSE;
}

BOOL CBitmap::CreateCompatibleBitmap(HDC hDC, int width, int height) {
    m_bitmap.Attach(::CreateCompatibleBitmap(hDC, width, height));
    return m_bitmap ? TRUE : FALSE;
}

BOOL CBitmap::CreateDibSection24(int width, int height, const void* bits, size_t byteCount) {
    m_bitmap.Destroy();
    if (width <= 0 || height <= 0 || bits == nullptr) return FALSE;
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    if (byteCount / rowBytes != static_cast<size_t>(height) || byteCount % rowBytes != 0) return FALSE;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* sectionBits = nullptr;
    m_bitmap.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &sectionBits, nullptr, 0));
    if (!m_bitmap || sectionBits == nullptr) {
        m_bitmap.Destroy();
        return FALSE;
    }
    std::memcpy(sectionBits, bits, byteCount);
    return TRUE;
}

BOOL CBitmap::CreateMonochromeBitmap(int width, int height) {
    m_bitmap.Attach(::CreateBitmap(width, height, 1, 1, nullptr));
    return m_bitmap ? TRUE : FALSE;
}

BOOL CBitmap::GetBitmap(BITMAP* pInfo) const {
    if (pInfo == nullptr) return FALSE;
    *pInfo = BITMAP{};
    if (!m_bitmap) return FALSE;
    if (::GetObjectW(m_bitmap.Get(), sizeof(BITMAP), pInfo) != sizeof(BITMAP)) {
        *pInfo = BITMAP{};
        return FALSE;
    }
    return TRUE;
}

bool CBitmap::HasImage() const {
    BITMAP info{};
    return GetBitmap(&info) && info.bmWidth > 0 && info.bmHeight > 0;
}

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
    m_region.Attach(::CreateRectRgn(left, top, right, bottom));
    return m_region ? TRUE : FALSE;
}

int CRgn::CombineRgn(const CRgn& a, const CRgn& b, int mode) {
    if (!m_region || a.m_region.Get() == nullptr || b.m_region.Get() == nullptr) return ERROR;
    return ::CombineRgn(m_region.Get(), a.m_region.Get(), b.m_region.Get(), mode);
}

BOOL CFont::CreateFontIndirect(const LOGFONTW& logFont) {
    m_font.Attach(::CreateFontIndirectW(&logFont));
    return m_font ? TRUE : FALSE;
}

namespace {

constexpr int kTextFontPoints = 9;

// The text font at `dpi`, or null when it cannot be made.
HFONT MakeTextFont(int dpi) noexcept {
    LOGFONTW logFont{};
    if (!CFont::GetLogFont(CFont::StockGuiFont(), &logFont)) return nullptr;
    logFont.lfCharSet = GB2312_CHARSET;
    logFont.lfHeight = -::MulDiv(kTextFontPoints, dpi, 72);
    return ::CreateFontIndirectW(&logFont);
}

}  // namespace

HFONT CFont::TextFont() noexcept {
    static const HFONT font = [] {
        const HFONT made = MakeTextFont(ScreenDpi());
        return made != nullptr ? made : StockGuiFont();
    }();
    return font;
}

HFONT CFont::TextFont(int dpi) noexcept {
    if (dpi <= 0 || dpi == ScreenDpi()) return TextFont();
    // One per DPI the windows have been shown at: a handful at most.
    static std::map<int, HFONT> fonts;
    const auto found = fonts.find(dpi);
    if (found != fonts.end()) return found->second;
    const HFONT made = MakeTextFont(dpi);
    if (made == nullptr) return TextFont();
    fonts.emplace(dpi, made);
    return made;
}

BOOL CFont::GetLogFont(HFONT hFont, LOGFONTW* pLogFont) {
    if (pLogFont == nullptr) return FALSE;
    *pLogFont = LOGFONTW{};
    if (hFont == nullptr || ::GetObjectW(hFont, sizeof(LOGFONTW), pLogFont) == 0) {
        *pLogFont = LOGFONTW{};
        return FALSE;
    }
    return TRUE;
}
