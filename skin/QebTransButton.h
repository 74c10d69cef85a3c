// CQebTransButton: one owner-drawn child window in three roles, chosen by its
// mode:
//   static mode (SetStaticIcon): a label, optionally with a small icon, that
//     the mouse passes through (clicks reach the window beneath);
//   text-button mode (SetButtonMode): a link-like text whose colour and
//     underline follow hover and press;
//   bitmap mode (SetBitmap): a push button drawn from a strip of four frames
//     whose caps keep their size and whose middle is stretched to the width,
//     the key colour 0xFF00FF in the caps showing the background colour.
// Every look starts from a solid fill in m_bkColor, the colour of the skin
// behind the button. A click sends WM_COMMAND(control id, 0) to the parent.
//
// The bitmap and the font are not owned; the icon of static mode is.
#pragma once

#include <cstdint>

#include "base/win32_handles.h"
#include "skin/SkinButtonBase.h"
#include "skin/button_states.h"
#include "wnd/Gdi.h"

class CDC;

class CQebTransButton : public CSkinButtonBase {
public:
    // Posted by the button to itself to fit its size to the strip.
    static constexpr UINT ID_FIT_TO_SKIN = 8746;

    CQebTransButton() noexcept;
    ~CQebTransButton() override;

    void SetTextColors(COLORREF normal, COLORREF hover) noexcept;
    void SetBkColor(COLORREF colour) noexcept { m_bkColor = colour; }
    // Static mode with `hIcon` (null for a plain label); the button owns it.
    void SetStaticIcon(HICON hIcon) noexcept;
    void SetButtonMode() noexcept { m_mode = kTextButtonMode; }
    // Bitmap mode with `pBitmap`; fits the window to the strip at once when
    // the strip holds an image and the window exists.
    void SetBitmap(const CBitmap* pBitmap);

    static constexpr int kStaticMode = 0;
    static constexpr int kTextButtonMode = 1;
    static constexpr int kBitmapMode = 2;

    COLORREF m_textColor;
    COLORREF m_hoverTextColor;
    COLORREF m_bkColor;
    // A view of the font of all text (the text font of the button's DPI once
    // a window is attached).
    HFONT m_pFont;
    int m_iconWidth;
    int m_iconHeight;
    velmora::OwnedIcon m_hIcon;
    int m_mode;
    // Bit 0 underlines the normal look of text-button mode, bit 1 the
    // hovered look, bit 2 the pressed look.
    std::uint32_t m_underlineStates;
    const CBitmap* m_pBitmap;
    // Bitmap mode: a dotted focus mark inside the image while the button
    // has the keyboard focus and the window shows keyboard cues (the UI
    // state's UISF_HIDEFOCUS clear), as the system's push buttons draw it.
    bool m_showFocus = false;
    // Static mode: when not empty, drawn in place of the window text (a
    // shortened form of it that fits); the window text stays whole for
    // whoever reads it.
    CStringW m_shownText;

protected:
    void PreSubclassWindow() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    void OnSize() override;
    void OnMouseMove(POINT point) override;
    void OnLButtonUp() override;
    void OnLButtonDown() override;
    void RedrawLook() override;
    void OnDpiSet() override;
    BOOL OnSetCursor();
    void OnLButtonDblClk();
    LRESULT OnNcHitTest();

private:
    velmora::skin::TransButtonMode Mode() const noexcept;
    bool HasStripImage() const;
    void FitToSkin();

    void DrawStatic(CDC& dc, const RECT& client);
    void DrawTextButton(CDC& dc, const RECT& client);
    void DrawBitmapButton(CDC& dc, const RECT& client);
};
