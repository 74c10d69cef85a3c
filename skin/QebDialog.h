// CQebDialog: a dialog that draws its own frame. The system frame is taken
// away; a caption and three borders cut from one skin bitmap, the window
// text and an icon in the caption, image caption buttons (close,
// maximise/restore, minimise), rounded corners cut from the window by the
// key colour, dragging by the caption or the client area, an optional
// resizable mode, a maximised geometry that pushes the borders off the work
// area, and the window menu from the caption icon or Alt+Space.
//
// A derived dialog, in its OnInitDialog: loads and keeps its skin bitmaps
// (the frame only refers to them), calls SetFramePiece for the eight pieces,
// SetSkinBitmaps, SetCaptionTextStyle, SetCaptionButtonLayout (after
// SetSkinBitmaps) and SetCaptionIcon, sets its window text, then calls this
// class's OnInitDialog, which creates the caption buttons. It paints its own
// interior in its erase handler before calling this class's OnEraseBkgnd,
// and passes timers and unhandled commands on to this class. Child controls
// must not cover the caption buttons.
//
// The window has no non-client area: its client rectangle is its window
// rectangle, and all frame behaviour works in client coordinates.
#pragma once

#include <cstdint>
#include <optional>

#include "base/win32_handles.h"
#include "skin/QebButton.h"
#include "skin/frame_layout.h"
#include "wnd/Dialog.h"
#include "wnd/Gdi.h"
#include "wnd/ImageList.h"

class CDC;

class CQebDialog : public CDialog {
public:
    static constexpr UINT ID_CAPTION_CLOSE = 7001;
    static constexpr UINT ID_CAPTION_MAXIMIZE = 7002;
    static constexpr UINT ID_CAPTION_MINIMIZE = 7003;
    static constexpr UINT ID_SHOW_SYSTEM_MENU = 7004;
    static constexpr UINT_PTR RESIZE_TIMER_ID = 1;
    static constexpr UINT kResizeTimerMs = 20;

    explicit CQebDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr) noexcept;
    ~CQebDialog() override;

    // Configuration, before the base OnInitDialog.
    void SetFramePiece(int x, int y, int cx, int cy, int piece) noexcept;
    void SetSkinBitmaps(const CBitmap* pFrameSkin, const CBitmap* pCaptionButtonSkin) noexcept;
    void SetCaptionTextStyle(int x, int y, COLORREF colour) noexcept;
    void SetCaptionButtonLayout(int minWidth, int maxWidth, int closeWidth, int height, int gap,
                                int rightMargin, int topMargin, int maximizedTopOffset) noexcept;
    // The frame owns `hIcon` from now on (never pass a shared LoadIcon icon).
    void SetCaptionIcon(const CImageList* pImageList, int imageIndex, int x, int y, HICON hIcon, int cx,
                        int cy) noexcept;

    // The client rectangle without the frame.
    void GetInnerRect(RECT* pRect) const;
    // Where the caption's title is drawn, in client coordinates, and the font
    // it is drawn in.
    RECT CaptionTextRect() const;
    HFONT CaptionFont() const noexcept { return m_pCaptionFont; }
    // Hit code of a client point (HTCLIENT, HTCAPTION, HTLEFT ... HTBOTTOMRIGHT,
    // or HT_CAPTION_ICON).
    int FrameHitTest(int x, int y) const;
    static constexpr int HT_CAPTION_ICON = 100;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The DPI the window is shown at (96 until the window is bound): every
    // pixel number of the frame and its dialog is scaled to it.
    int Dpi() const noexcept { return m_dpi; }
    // The smallest window size at the window's DPI (m_minTrackSize scaled).
    SIZE MinTrackSize() const noexcept;

protected:
    void PreSubclassWindow() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Handlers a derived dialog calls from its own.
    BOOL OnEraseBkgnd(HDC hDC);
    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);

    void OnSize(UINT nType);
    void OnLButtonDblClk(POINT point);
    void OnLButtonDown(POINT point);
    LRESULT OnSetCursor();
    void OnLButtonUp();
    void OnGetMinMaxInfo(MINMAXINFO* pInfo);

    // WM_DPICHANGED: the window moved to a monitor of another DPI. The frame
    // takes the DPI, lets the derived dialog redo its skin and layout
    // (OnFrameDpiChanged), then takes the window rectangle the system
    // suggests, which lays the caption buttons and the corners out again.
    void OnDpiChanged(int dpi, const RECT* pSuggested);
    // Called for a new DPI, `toDpi`, before the window takes its new
    // rectangle (Dpi() is `toDpi` already). A derived dialog sets its skin up
    // again for it (the frame pieces, the caption layout and icon) and moves
    // its controls; the frame's own caption font has been made for it.
    virtual void OnFrameDpiChanged(int /*fromDpi*/, int /*toDpi*/) {}

    void BeginFrameResize(int code);
    void ShowSystemMenu();
    void CreateCaptionButtons();
    void LayoutCaptionButtons(bool maximized);
    // The caption buttons' tooltips in the language in use (again after the
    // user chose another).
    void ShowCaptionButtonTips();
    void UpdateWindowRegion();
    void DrawFramePart(HDC hDC, velmora::skin::FramePart part);

    velmora::skin::FramePieces m_pieces;
    // When the window menu last closed (GetTickCount); empty until it first has.
    std::optional<std::uint32_t> m_lastMenuCloseTick;
    BOOL m_resizable;
    POINT m_captionTextOrigin;
    COLORREF m_captionTextColor;
    // A view of the caption font (the stock GUI font).
    HFONT m_pCaptionFont;
    int m_resizeMode;
    POINT m_dragStartCursor;
    RECT m_dragStartWindowRect;
    SIZE m_minTrackSize;
    const CBitmap* m_pFrameSkin;
    const CBitmap* m_pCaptionButtonSkin;
    velmora::OwnedIcon m_hCaptionIcon;
    SIZE m_captionIconSize;
    bool m_menuFromIcon;
    POINT m_captionIconPos;
    int m_captionImageIndex;
    const CImageList* m_pCaptionImageList;
    // What the window region was last made for: it is made again only when
    // the client size, the DPI or the frame bitmap changed.
    struct RegionKey {
        LONG cx;
        LONG cy;
        int dpi;
        HGDIOBJ frameSkin;
        bool operator==(const RegionKey&) const = default;
    };
    std::optional<RegionKey> m_regionMadeFor;
    // Set before the base OnInitDialog: the window's first place, its size
    // and its place in the z-order, taken in the same move that applies the
    // frameless style.
    std::optional<RECT> m_openingPlace;
    HWND m_openingInsertAfter = nullptr;
    CQebButton m_btnMin;
    CQebButton m_btnMax;
    CQebButton m_btnClose;
    velmora::skin::CaptionButtonLayout m_captionLayout;
    // The window's DPI; m_minTrackSize and the hit zones' grips are given at
    // 96 DPI and scaled to it, the pieces and caption layout are set for it.
    int m_dpi;

private:
    velmora::skin::FrameMetrics Metrics() const noexcept;
    // The window menu's items for the window's state: grey or enabled, and
    // SC_CLOSE the default.
    void SetWindowMenuStates(const CMenuView& menu) const;
    bool HasFrameSkin() const;
    void DrawCaptionTextAndIcon(CDC& dc);
};
