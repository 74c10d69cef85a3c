#include "skin/QebDialog.h"

#include "base/language.h"
#include "skin/dpi_scale.h"
#include "skin/frame_hit_test.h"
#include "skin/win32_facts.h"
#include "wnd/WindowDpi.h"

namespace {

using velmora::skin::SkinRect;
using velmora::skin::ToSkinRect;

constexpr UINT kRedrawNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

}  // namespace

CQebDialog::CQebDialog(UINT nIDTemplate, CWnd* pParentWnd) noexcept
    : CDialog(nIDTemplate, pParentWnd),
      m_resizable(FALSE),
      m_captionTextOrigin{5, 3},
      m_captionTextColor(0xFFFFFF),
      m_pCaptionFont(nullptr),
      m_resizeMode(-1),
      m_dragStartCursor{0, 0},
      m_dragStartWindowRect{},
      m_minTrackSize{300, 250},
      m_pFrameSkin(nullptr),
      m_pCaptionButtonSkin(nullptr),
      m_captionIconSize{16, 16},
      m_menuFromIcon(false),
      m_captionIconPos{5, 4},
      m_captionImageIndex(-1),
      m_pCaptionImageList(nullptr),
      m_dpi(velmora::skin::kBaseDpi) {
    // Cleared: a derived dialog that wants a maximise button sets it before
    // the base OnInitDialog.
    m_btnMax.m_notifyParent = false;
}

// The caption buttons are members: their windows go with them. The caption
// icon goes with its owner.
CQebDialog::~CQebDialog() = default;

void CQebDialog::SetFramePiece(int x, int y, int cx, int cy, int piece) noexcept {
    m_pieces.Set(piece, {x, y, cx, cy});
}

void CQebDialog::SetSkinBitmaps(const CBitmap* pFrameSkin, const CBitmap* pCaptionButtonSkin) noexcept {
    m_pFrameSkin = pFrameSkin;
    m_pCaptionButtonSkin = pCaptionButtonSkin;
}

void CQebDialog::SetCaptionTextStyle(int x, int y, COLORREF colour) noexcept {
    m_captionTextOrigin = POINT{x, y};
    m_captionTextColor = colour;
}

void CQebDialog::SetCaptionButtonLayout(int minWidth, int maxWidth, int closeWidth, int height, int gap,
                                        int rightMargin, int topMargin, int maximizedTopOffset) noexcept {
    m_captionLayout = {minWidth, maxWidth,    closeWidth, height,
                       gap,      rightMargin, topMargin,  maximizedTopOffset};
    const velmora::skin::CaptionStripOffsets offsets = velmora::skin::CaptionStripOffsetsOf(m_captionLayout);
    m_btnMin.m_pImage = m_pCaptionButtonSkin;
    m_btnMin.m_imageOffset = offsets.minimize;
    m_btnMax.m_pImage = m_pCaptionButtonSkin;
    m_btnMax.m_imageOffset = offsets.maximize;
    m_btnClose.m_pImage = m_pCaptionButtonSkin;
    m_btnClose.m_imageOffset = offsets.close;
}

void CQebDialog::SetCaptionIcon(const CImageList* pImageList, int imageIndex, int x, int y, HICON hIcon,
                                int cx, int cy) noexcept {
    m_pCaptionImageList = pImageList;
    m_captionImageIndex = imageIndex;
    m_captionIconPos = POINT{x, y};
    m_hCaptionIcon.Attach(hIcon);
    m_captionIconSize = SIZE{cx, cy};
}

velmora::skin::FrameMetrics CQebDialog::Metrics() const noexcept {
    return velmora::skin::FrameMetricsOf(m_pieces, m_dpi);
}

SIZE CQebDialog::MinTrackSize() const noexcept {
    const velmora::skin::SkinSize size =
        velmora::skin::ScaleSizeForDpi({m_minTrackSize.cx, m_minTrackSize.cy}, m_dpi);
    return SIZE{size.cx, size.cy};
}

bool CQebDialog::HasFrameSkin() const { return m_pFrameSkin != nullptr && m_pFrameSkin->HasImage(); }

void CQebDialog::GetInnerRect(RECT* pRect) const {
    if (pRect == nullptr) return;
    RECT client{};
    GetClientRect(&client);
    const SkinRect inner = velmora::skin::InnerRect(ToSkinRect(client), Metrics());
    *pRect = RECT{inner.left, inner.top, inner.right, inner.bottom};
}

int CQebDialog::FrameHitTest(int x, int y) const {
    RECT client{};
    GetClientRect(&client);
    return velmora::skin::FrameHitTest(ToSkinRect(client), {x, y}, Metrics());
}

void CQebDialog::PreSubclassWindow() {
    // No frame recalculation here: the dialog is bound while it is being
    // initialised, and OnInitDialog applies the new frame once.
    ModifyStyle(WS_CAPTION | WS_THICKFRAME, WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    m_dpi = WindowDpi(m_hWnd);
    KeepDialogLayoutOnDpiChange(m_hWnd);
    m_pCaptionFont = CFont::TextFont(m_dpi);
    CDialog::PreSubclassWindow();
}

BOOL CQebDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    CreateCaptionButtons();
    // The system sized the window, and sent its first WM_SIZE, before this
    // object was bound: apply the frameless style now, and lay the caption
    // buttons and the corners out for the size the window has, so that the
    // first paint is right even when no later resize comes. A first place
    // given goes with the same move: one round trip to the display instead
    // of three (style, place and size, z-order).
    if (m_openingPlace) {
        const RECT& place = *m_openingPlace;
        SetWindowPos(
            m_openingInsertAfter, place.left, place.top, place.right - place.left, place.bottom - place.top,
            SWP_FRAMECHANGED | SWP_NOACTIVATE | (m_openingInsertAfter == nullptr ? SWP_NOZORDER : 0));
    } else {
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    LayoutCaptionButtons(IsZoomed() != FALSE);
    if (!IsIconic()) UpdateWindowRegion();
    return TRUE;
}

void CQebDialog::CreateCaptionButtons() {
    RECT client{};
    GetClientRect(&client);
    const bool hasMaximize = m_btnMax.m_notifyParent;
    const velmora::skin::CaptionButtonRects places =
        velmora::skin::PlaceCaptionButtons(ToSkinRect(client), m_captionLayout, hasMaximize, false);
    const auto create = [this](CQebButton& button, const SkinRect& place, UINT id) {
        button.Create(CStringW(), WS_CHILD | WS_VISIBLE,
                      RECT{place.left, place.top, place.right, place.bottom}, this, id);
        button.AddToolTip(CStringW());
    };
    create(m_btnClose, places.close, ID_CAPTION_CLOSE);
    if (hasMaximize) {
        create(m_btnMax, places.maximize, ID_CAPTION_MAXIMIZE);
    } else {
        ModifyStyle(WS_MAXIMIZEBOX, 0);
    }
    create(m_btnMin, places.minimize, ID_CAPTION_MINIMIZE);
    ShowCaptionButtonTips();
}

void CQebDialog::ShowCaptionButtonTips() {
    m_btnClose.SetToolTipText(velmora::WideFrom936(velmora::Text{"关闭", "Close"}));
    if (m_btnMax.m_hWnd != nullptr)
        m_btnMax.SetToolTipText(
            velmora::WideFrom936(velmora::skin::MaximizeButtonTipText(IsZoomed() != FALSE)));
    m_btnMin.SetToolTipText(velmora::WideFrom936(velmora::Text{"最小化", "Minimize"}));
}

void CQebDialog::LayoutCaptionButtons(bool maximized) {
    RECT client{};
    GetClientRect(&client);
    const bool hasMaximize = m_btnMax.m_hWnd != nullptr;
    const velmora::skin::CaptionButtonRects places =
        velmora::skin::PlaceCaptionButtons(ToSkinRect(client), m_captionLayout, hasMaximize, maximized);
    if (hasMaximize) {
        m_btnMax.m_pImage = m_pCaptionButtonSkin;
        m_btnMax.m_imageOffset = velmora::skin::MaximizeButtonImageOffset(m_captionLayout, maximized);
    }
    const auto place = [](CQebButton& button, const SkinRect& r) {
        if (button.m_hWnd == nullptr) return;
        button.MoveWindow(r.left, r.top, r.Width(), r.Height(), TRUE);
        button.RedrawWindow(nullptr, nullptr, kRedrawNow);
    };
    place(m_btnClose, places.close);
    place(m_btnMax, places.maximize);
    place(m_btnMin, places.minimize);
    if (hasMaximize)
        m_btnMax.SetToolTipText(velmora::WideFrom936(velmora::skin::MaximizeButtonTipText(maximized)));
}

void CQebDialog::OnSize(UINT nType) {
    const bool maximized = nType == SIZE_MAXIMIZED;
    LayoutCaptionButtons(maximized);
    if (maximized) {
        SetWindowPos(HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        // The maximised frame reaches under the taskbar's edge: keep the
        // taskbar above it.
        if (HWND hTaskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr)) {
            ::SetWindowPos(hTaskbar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
            ::RedrawWindow(hTaskbar, nullptr, nullptr, RDW_INTERNALPAINT | RDW_ERASE);
        }
    }
    if (nType != SIZE_MINIMIZED) {
        UpdateWindowRegion();
        RedrawWindow(nullptr, nullptr, kRedrawNow);
    }
}

void CQebDialog::OnDpiChanged(int dpi, const RECT* pSuggested) {
    if (dpi <= 0) return;
    const int fromDpi = m_dpi;
    m_dpi = dpi;
    m_pCaptionFont = CFont::TextFont(m_dpi);
    OnFrameDpiChanged(fromDpi, m_dpi);
    if (pSuggested != nullptr) {
        SetWindowPos(nullptr, pSuggested->left, pSuggested->top, pSuggested->right - pSuggested->left,
                     pSuggested->bottom - pSuggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The same size at another DPI brings no WM_SIZE: lay out and redraw
    // for the new pieces in any case.
    LayoutCaptionButtons(IsZoomed() != FALSE);
    if (!IsIconic()) UpdateWindowRegion();
    RedrawWindow(nullptr, nullptr, kRedrawNow);
}

BOOL CQebDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    switch (id) {
        case ID_CAPTION_CLOSE:
            SendMessage(WM_CLOSE);
            return TRUE;
        case ID_CAPTION_MAXIMIZE:
            ShowWindow(IsZoomed() ? SW_RESTORE : SW_MAXIMIZE);
            return TRUE;
        case ID_CAPTION_MINIMIZE:
            ShowWindow(SW_MINIMIZE);
            return TRUE;
        case ID_SHOW_SYSTEM_MENU:
            ShowSystemMenu();
            return TRUE;
        case SC_SIZE:
        case SC_MOVE:
        case SC_MINIMIZE:
        case SC_MAXIMIZE:
        case SC_RESTORE:
            SendMessage(WM_SYSCOMMAND, id, 0);
            return TRUE;
        case SC_CLOSE:
            PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
            return TRUE;
        default:
            return CDialog::OnCommand(wParam, lParam);
    }
}

bool CQebDialog::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_ERASEBKGND:
            result = OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
            return true;
        case WM_SIZE:
            OnSize(static_cast<UINT>(wParam));
            return true;
        case WM_LBUTTONDBLCLK:
            OnLButtonDblClk(velmora::skin::PointOf(lParam));
            return true;
        case WM_LBUTTONDOWN:
            OnLButtonDown(velmora::skin::PointOf(lParam));
            return true;
        case WM_SETCURSOR:
            result = OnSetCursor();
            return true;
        case WM_LBUTTONUP:
            OnLButtonUp();
            return true;
        case WM_TIMER:
            OnTimer(wParam);
            return true;
        case WM_PAINT:
            OnPaint();
            return true;
        case WM_GETMINMAXINFO:
            OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
            result = Default();
            return true;
        case WM_SHOWWINDOW:
            result = Default();
            return true;
        case kWmDpiChanged:
            OnDpiChanged(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            result = 0;
            return true;
        default:
            return CDialog::ProcessWindowMessage(message, wParam, lParam, result);
    }
}
