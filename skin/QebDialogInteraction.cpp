// The skinned frame's mouse and keyboard: dragging, resizing from a timer,
// sizing cursors, the maximised geometry and the window menu.
#include "skin/QebDialog.h"
#include "skin/frame_hit_test.h"
#include "skin/frame_resize.h"
#include "skin/win32_facts.h"
#include "skin/window_menu.h"

namespace {

using velmora::skin::SkinRect;
using velmora::skin::ToSkinRect;

velmora::skin::WindowShowState ShowStateOf(const CWnd& window) {
    if (window.IsIconic()) return velmora::skin::WindowShowState::kMinimized;
    if (window.IsZoomed()) return velmora::skin::WindowShowState::kMaximized;
    return velmora::skin::WindowShowState::kNormal;
}

constexpr UINT kGrey = MF_GRAYED | MF_DISABLED;

}  // namespace

void CQebDialog::OnLButtonDown(POINT point) {
    m_dragStartCursor = point;
    ClientToScreen(&m_dragStartCursor);
    m_resizeMode = -1;
    GetWindowRect(&m_dragStartWindowRect);
    const int code = FrameHitTest(point.x, point.y);
    switch (velmora::skin::FramePressActionFor(code, IsZoomed() || IsIconic())) {
        case velmora::skin::FramePressAction::kBeginResize:
            BeginFrameResize(code);
            break;
        case velmora::skin::FramePressAction::kMoveWindow:
            // The system's own move loop takes over: any point of the client
            // area that is no control drags the window.
            PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, 0);
            RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            break;
        case velmora::skin::FramePressAction::kWindowMenu:
            m_menuFromIcon = true;
            SendMessage(WM_COMMAND, ID_SHOW_SYSTEM_MENU, 0);
            m_menuFromIcon = false;
            break;
        case velmora::skin::FramePressAction::kNone:
            break;
    }
}

void CQebDialog::BeginFrameResize(int code) {
    if (m_resizable) {
        SetTimer(RESIZE_TIMER_ID, kResizeTimerMs);
        m_resizeMode = code;
        SetCapture();
    }
    SendMessage(WM_NCLBUTTONDOWN, static_cast<WPARAM>(code), 0);
}

void CQebDialog::OnLButtonUp() {
    m_resizeMode = -1;
    m_dragStartCursor = POINT{0, 0};
    KillTimer(RESIZE_TIMER_ID);
    if (GetCapture() == m_hWnd) ReleaseCapture();
}

void CQebDialog::OnLButtonDblClk(POINT point) {
    // Maximise and restore are left to the system's handling of the caption.
    if (FrameHitTest(point.x, point.y) == HTCAPTION) SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
}

LRESULT CQebDialog::OnSetCursor() {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    if (velmora::skin::ShowsSizingCursors(WindowFromPoint(cursor) == m_hWnd, IsZoomed() != FALSE,
                                          m_resizable != FALSE)) {
        POINT client = cursor;
        ScreenToClient(&client);
        const int cursorId = velmora::skin::SizingCursorFor(FrameHitTest(client.x, client.y));
        if (cursorId != velmora::skin::kNoCursor) {
            velmora::skin::ShowSystemCursor(cursorId);
            return TRUE;
        }
    }
    return Default();
}

void CQebDialog::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent != RESIZE_TIMER_ID) return;
    if (!m_resizable || m_resizeMode == -1) {
        KillTimer(RESIZE_TIMER_ID);
        return;
    }
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const SkinRect r = velmora::skin::ResizedWindowRect(
        m_resizeMode, ToSkinRect(m_dragStartWindowRect), cursor.x - m_dragStartCursor.x,
        cursor.y - m_dragStartCursor.y, {MinTrackSize().cx, MinTrackSize().cy});
    MoveWindow(r.left, r.top, r.Width(), r.Height(), TRUE);
}

void CQebDialog::OnGetMinMaxInfo(MINMAXINFO* pInfo) {
    if (pInfo == nullptr) return;
    const SIZE minSize = MinTrackSize();
    pInfo->ptMinTrackSize = POINT{minSize.cx, minSize.cy};
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const velmora::skin::MaximizedGeometry maximized =
        velmora::skin::MaximizedGeometryOf(ToSkinRect(work), Metrics());
    pInfo->ptMaxPosition = POINT{maximized.position.x, maximized.position.y};
    pInfo->ptMaxSize = POINT{maximized.size.cx, maximized.size.cy};
}

void CQebDialog::ShowSystemMenu() {
    const std::uint32_t t0 = ::GetTickCount();
    if (!velmora::skin::WindowMenuMayOpen(t0, m_lastMenuCloseTick)) return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const SkinRect clickBox = velmora::skin::ClickBoxAround({cursor.x, cursor.y}, m_dpi);

    CMenuView menu = GetSystemMenu(FALSE);
    SetWindowMenuStates(menu);

    RECT window{};
    GetWindowRect(&window);
    const velmora::skin::SkinPoint at = velmora::skin::WindowMenuPoint(ToSkinRect(window), Metrics());
    menu.TrackPopupMenu(0, at.x, at.y, ::GetActiveWindow());

    const std::uint32_t t1 = ::GetTickCount();
    m_lastMenuCloseTick = t1;
    ::GetCursorPos(&cursor);
    if (velmora::skin::IconDoubleClickCloses(m_menuFromIcon, clickBox, {cursor.x, cursor.y}, t0, t1))
        PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CQebDialog::SetWindowMenuStates(const CMenuView& menu) const {
    const velmora::skin::WindowMenuStates states =
        velmora::skin::WindowMenuStatesFor(ShowStateOf(*this), m_resizable != FALSE);
    const auto set = [&menu](UINT id, bool enabled) {
        menu.EnableMenuItem(id, enabled ? MF_ENABLED : kGrey);
    };
    set(SC_SIZE, states.size);
    set(SC_MOVE, states.move);
    set(SC_RESTORE, states.restore);
    set(SC_MINIMIZE, states.minimize);
    set(SC_MAXIMIZE, states.maximize);
    menu.SetDefaultItem(SC_CLOSE);
}

BOOL CQebDialog::PreTranslateMessage(MSG* pMsg) {
    if (pMsg != nullptr && velmora::skin::IsAltSpace(pMsg->message, pMsg->wParam, ::GetKeyState(VK_MENU))) {
        SendMessage(WM_COMMAND, ID_SHOW_SYSTEM_MENU, 0);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}
