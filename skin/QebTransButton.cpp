#include "skin/QebTransButton.h"

#include "skin/button_looks.h"
#include "skin/dpi_scale.h"
#include "skin/win32_facts.h"
#include "wnd/DC.h"

namespace {

using velmora::skin::ButtonLook;
using velmora::skin::SkinRect;
using velmora::skin::ToRect;
using velmora::skin::ToSkinRect;

constexpr COLORREF kDefaultBackground = 0xEAE9EA;
constexpr COLORREF kDefaultHoverText = 0xFF0000;
constexpr UINT kRedrawNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

}  // namespace

CQebTransButton::CQebTransButton() noexcept
    : m_textColor(0x000000),
      m_hoverTextColor(kDefaultHoverText),
      m_bkColor(kDefaultBackground),
      m_pFont(nullptr),
      m_iconWidth(16),
      m_iconHeight(16),
      m_mode(kTextButtonMode),
      m_underlineStates(0),
      m_pBitmap(nullptr) {}

CQebTransButton::~CQebTransButton() = default;

void CQebTransButton::SetTextColors(COLORREF normal, COLORREF hover) noexcept {
    m_textColor = normal;
    m_hoverTextColor = hover;
}

void CQebTransButton::SetStaticIcon(HICON hIcon) noexcept {
    m_mode = kStaticMode;
    m_hIcon.Attach(hIcon);
}

void CQebTransButton::SetBitmap(const CBitmap* pBitmap) {
    m_pBitmap = pBitmap;
    m_mode = kBitmapMode;
    if (HasStripImage() && m_hWnd != nullptr) FitToSkin();
}

void CQebTransButton::OnDpiSet() { m_pFont = CFont::TextFont(Dpi()); }

void CQebTransButton::PreSubclassWindow() {
    ModifyStyle(0, BS_OWNERDRAW);
    CSkinButtonBase::PreSubclassWindow();
}

BOOL CQebTransButton::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == ID_FIT_TO_SKIN && HIWORD(wParam) == 0) {
        if (HasStripImage()) FitToSkin();
        return TRUE;
    }
    return CSkinButtonBase::OnCommand(wParam, lParam);
}

bool CQebTransButton::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_SETCURSOR:
            result = OnSetCursor();
            return true;
        case WM_LBUTTONDBLCLK:
            OnLButtonDblClk();
            return true;
        case WM_NCHITTEST:
            result = OnNcHitTest();
            return true;
        case WM_NCPAINT:
            return true;
        case WM_UPDATEUISTATE:
            // The cues came or went: the focus mark follows. The window's
            // own state is asked when drawing (not every system passes the
            // change on to each child).
            result = Default();
            if (m_showFocus) Invalidate(FALSE);
            return true;
        default:
            return CSkinButtonBase::ProcessWindowMessage(message, wParam, lParam, result);
    }
}

velmora::skin::TransButtonMode CQebTransButton::Mode() const noexcept {
    switch (m_mode) {
        case kStaticMode:
            return velmora::skin::TransButtonMode::kStatic;
        case kBitmapMode:
            return velmora::skin::TransButtonMode::kBitmap;
        default:
            return velmora::skin::TransButtonMode::kTextButton;
    }
}

bool CQebTransButton::HasStripImage() const { return m_pBitmap != nullptr && m_pBitmap->HasImage(); }

void CQebTransButton::FitToSkin() {
    BITMAP strip{};
    if (m_hWnd == nullptr || !m_pBitmap->GetBitmap(&strip)) return;
    RECT window{};
    GetWindowRect(&window);
    ::MapWindowPoints(nullptr, GetParent(), reinterpret_cast<POINT*>(&window), 2);
    const SkinRect fitted = velmora::skin::FitToStrip(ToSkinRect(window), strip.bmWidth, strip.bmHeight);
    MoveWindow(fitted.left, fitted.top, fitted.Width(), fitted.Height(), TRUE);
}

void CQebTransButton::RedrawLook() { RedrawWindow(nullptr, nullptr, kRedrawNow); }

void CQebTransButton::OnSize() {
    BITMAP strip{};
    if (m_mode == kBitmapMode && m_pBitmap != nullptr && m_pBitmap->GetBitmap(&strip) && strip.bmWidth > 0 &&
        strip.bmHeight > 0) {
        RECT window{};
        GetWindowRect(&window);
        if (velmora::skin::NeedsFitToStrip({window.right - window.left, window.bottom - window.top},
                                           strip.bmWidth, strip.bmHeight)) {
            PostMessage(WM_COMMAND, ID_FIT_TO_SKIN, 0);
        }
    }
    if (IsWindowVisible()) RedrawLook();
}

void CQebTransButton::OnMouseMove(POINT point) {
    ApplyTransition(velmora::skin::TransButtonOnMouseMove({m_hover, m_pressed}, Mode(),
                                                          velmora::skin::GatherMouseMove(*this, point)));
}

void CQebTransButton::OnLButtonDown() {
    ApplyTransition(velmora::skin::TransButtonOnLeftDown({m_hover, m_pressed}, Mode(), GetFocus() == m_hWnd));
}

void CQebTransButton::OnLButtonDblClk() {
    // The second press of a double click presses the button again.
    SendMessage(WM_LBUTTONDOWN, 0, 0);
}

void CQebTransButton::OnLButtonUp() {
    const velmora::skin::ButtonTransition up =
        velmora::skin::TransButtonOnLeftUp({m_hover, m_pressed}, Mode());
    m_hover = up.state.hover;
    m_pressed = up.state.pressed;
    if (up.effects.notifyParent && !velmora::skin::NotifyParentOfClick(*this)) return;
    // Where the cursor is now: the parent's answer may have moved it or us.
    ApplyTransition(velmora::skin::TransButtonAfterLeftUp(
        {m_hover, m_pressed}, Mode(), up.effects.notifyParent, velmora::skin::IsCursorOnButton(*this)));
}

BOOL CQebTransButton::OnSetCursor() {
    velmora::skin::ShowSystemCursor(velmora::skin::TransButtonCursor(Mode(), HasStripImage()));
    return TRUE;
}

LRESULT CQebTransButton::OnNcHitTest() {
    if (velmora::skin::TransButtonIsMouseTransparent(Mode())) return HTTRANSPARENT;
    return Default();
}

void CQebTransButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct == nullptr) return;
    RECT client{};
    GetClientRect(&client);
    COffscreenDC buffer(lpDrawItemStruct->hDC, client.right, client.bottom);
    if (!buffer.IsReady()) return;
    switch (m_mode) {
        case kStaticMode:
            DrawStatic(buffer, client);
            break;
        case kBitmapMode:
            DrawBitmapButton(buffer, client);
            if (m_showFocus && ((lpDrawItemStruct->itemState & ODS_FOCUS) != 0 || ::GetFocus() == m_hWnd) &&
                (::SendMessageW(::GetAncestor(m_hWnd, GA_ROOT), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) ==
                    0) {
                const int inset = velmora::skin::ScaleForDpi(3, Dpi());
                RECT mark{client.left + inset, client.top + inset, client.right - inset,
                          client.bottom - inset};
                if (mark.right > mark.left && mark.bottom > mark.top) ::DrawFocusRect(buffer, &mark);
            }
            break;
        default:
            DrawTextButton(buffer, client);
            break;
    }
    buffer.CopyTo(lpDrawItemStruct->hDC, 0, 0);
}

void CQebTransButton::DrawStatic(CDC& dc, const RECT& client) {
    dc.FillSolidRect(client, m_bkColor);
    const bool hasIcon = static_cast<bool>(m_hIcon);
    if (hasIcon) {
        dc.DrawIcon(client.left,
                    client.top + velmora::skin::StaticIconTop(client.bottom - client.top, m_iconHeight),
                    m_hIcon.Get(), m_iconWidth, m_iconHeight, DI_NORMAL);
    }
    const CStringW text = m_shownText.empty() ? GetWindowText() : m_shownText;
    if (text.empty()) return;
    RECT textRect = ToRect(velmora::skin::StaticTextRect(ToSkinRect(client), hasIcon, m_iconWidth, Dpi()));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_textColor);
    const velmora::SelectedObject font(dc, m_pFont);
    dc.DrawText(text, &textRect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

void CQebTransButton::DrawTextButton(CDC& dc, const RECT& client) {
    const ButtonLook look = velmora::skin::ChooseLook(m_pressed, m_hover);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(velmora::skin::TextButtonColour(m_pressed, m_hover, m_textColor, m_hoverTextColor));
    dc.FillSolidRect(client, m_bkColor);
    RECT textRect = ToRect(velmora::skin::TextButtonTextRect(ToSkinRect(client), look, Dpi()));

    // Declared before the selection, so the selection is undone before the
    // underlined font goes.
    CFont underlined;
    HFONT hFont = m_pFont;
    LOGFONTW logFont{};
    if (velmora::skin::IsUnderlined(m_underlineStates, look) && CFont::GetLogFont(m_pFont, &logFont)) {
        logFont.lfUnderline = TRUE;
        if (underlined.CreateFontIndirect(logFont)) hFont = underlined;
    }
    const velmora::SelectedObject font(dc, hFont);
    dc.DrawText(GetWindowText(), &textRect, DT_SINGLELINE);
}

void CQebTransButton::DrawBitmapButton(CDC& dc, const RECT& client) {
    dc.FillSolidRect(client, m_bkColor);
    BITMAP strip{};
    const ButtonLook look = velmora::skin::ChooseLook(m_pressed, m_hover);
    if (m_pBitmap != nullptr && m_pBitmap->GetBitmap(&strip)) {
        const velmora::skin::BlitPlan plan = velmora::skin::PlanStripLook(
            strip.bmWidth, strip.bmHeight, client.right - client.left, client.bottom - client.top, look);
        CMemoryDC source(dc);
        const velmora::SelectedObject selected(source, m_pBitmap->GetSafeHandle());
        for (int i = 0; selected.Selected() && i < plan.count; ++i) {
            const velmora::skin::BlitStep& step = plan.steps[i];
            if (step.colourKeyed) {
                // Key-coloured pixels leave the background fill as it is.
                ::GdiTransparentBlt(dc, step.target.left, step.target.top, step.target.Width(),
                                    step.target.Height(), source, step.source.left, step.source.top,
                                    step.source.Width(), step.source.Height(), velmora::skin::kKeyColour);
            } else {
                dc.StretchBlt(step.target.left, step.target.top, step.target.Width(), step.target.Height(),
                              source, step.source.left, step.source.top, step.source.Width(),
                              step.source.Height(), SRCCOPY);
            }
        }
    }
    RECT textRect = ToRect(velmora::skin::BitmapButtonTextRect(ToSkinRect(client), look, Dpi()));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_textColor);
    const velmora::SelectedObject font(dc, m_pFont);
    dc.DrawText(GetWindowText(), &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
