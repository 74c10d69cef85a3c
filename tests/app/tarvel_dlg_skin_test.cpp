// The main dialog's skin under Wine, with the real CTarvelDlg: no system
// frame, the window region of the rounded corners, the caption buttons and
// skinned controls where they belong, the hit zones acting as the frame's
// caption, the window menu and its timing, the maximised geometry, and the
// artwork each DPI's step loads from the program.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "app/ui/SkinArtwork.h"
#include "app/ui/SkinnedFrame_win32.h"
#include "dialog_harness.h"
#include "res/resource.h"
#include "skin/dpi_scale.h"
#include "skin/frame_layout.h"
#include "wnd/DC.h"
#include "wnd/Gdi.h"

namespace {

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

RECT ClientRectOf(HWND hChild) {
    RECT r{};
    ::GetWindowRect(hChild, &r);
    ::MapWindowPoints(nullptr, ::GetParent(hChild), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The 12 window pixels the shipped skin cuts from a W x H window.
std::vector<POINT> CornerPixels(int w, int h) {
    return {{0, 0},     {1, 0},     {0, 1},     {w - 2, 0},     {w - 1, 0},     {w - 1, 1},
            {0, h - 2}, {0, h - 1}, {1, h - 1}, {w - 1, h - 2}, {w - 2, h - 1}, {w - 1, h - 1}};
}

// Pixels of the region, counted from its rectangles.
long RegionArea(HRGN region) {
    const DWORD size = ::GetRegionData(region, 0, nullptr);
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (size == 0 || ::GetRegionData(region, size, data) != size) return -1;
    const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
    long area = 0;
    for (DWORD i = 0; i < data->rdh.nCount; ++i)
        area += static_cast<long>(rects[i].right - rects[i].left) * (rects[i].bottom - rects[i].top);
    return area;
}

// A timer procedure that closes whatever menu is being tracked.
void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR, DWORD) { ::EndMenu(); }

// The real dialog, with its messages probed: the presses the frame hands to
// the system, and the moves and sizes the system would start for them
// (recorded instead of entering the system's move loop), and the window
// menu's comings and goings.
class TarvelDlgSkinTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dlg.Create());
        probe.emplace(dlg, [this](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
            result = 0;
            switch (message) {
                case WM_NCLBUTTONDOWN:
                case WM_NCLBUTTONDBLCLK:
                    nonClientPresses.emplace_back(message, wParam);
                    return false;
                case WM_ENTERMENULOOP:
                    ++menusOpened;
                    return false;
                case WM_SYSCOMMAND:
                    if ((wParam & 0xFFF0) == SC_MOVE || (wParam & 0xFFF0) == SC_SIZE) {
                        systemMoves.push_back(wParam);
                        return true;
                    }
                    if ((wParam & 0xFFF0) == SC_CLOSE) {
                        ++closeCommands;
                        return true;
                    }
                    return false;
                default:
                    return false;
            }
        });
        PumpMessages();
        ::SetActiveWindow(dlg);
    }
    void TearDown() override {
        probe.reset();
        if (dlg.m_hWnd != nullptr) dlg.DestroyWindow();
        PumpMessages();
    }
    // Opens the window menu and closes it from a timer once it shows.
    void OpenAndCloseWindowMenu(UINT how, LPARAM where = 0) {
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, &EndMenuSoon);
        if (how == WM_COMMAND) {
            dlg.SendMessage(WM_COMMAND, CQebDialog::ID_SHOW_SYSTEM_MENU, 0);
        } else {
            dlg.SendMessage(how, MK_LBUTTON, where);
        }
        ::KillTimer(nullptr, timer);
    }

    AppServices services = ServicesOverScratchKey(kAppPathsKey);
    CTarvelDlg dlg{services};
    std::optional<MessageProbe> probe;
    std::vector<std::pair<UINT, WPARAM>> nonClientPresses;
    // The WM_SYSCOMMAND codes of the moves and sizes the system would start.
    std::vector<WPARAM> systemMoves;
    int menusOpened = 0;
    int closeCommands = 0;
};

TEST_F(TarvelDlgSkinTest, NoSystemFrameTheClientIsTheWindow) {
    EXPECT_EQ(dlg.GetStyle() & (WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX), 0u);
    EXPECT_NE(dlg.GetStyle() & (WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN), 0u);
    RECT window{};
    RECT client{};
    dlg.GetWindowRect(&window);
    dlg.GetClientRect(&client);
    EXPECT_EQ(window.right - window.left, 355);
    EXPECT_EQ(window.bottom - window.top, 250);
    EXPECT_EQ(client.right, 355);
    EXPECT_EQ(client.bottom, 250);
    RECT inner{};
    dlg.GetInnerRect(&inner);
    EXPECT_EQ(inner.left, 3);
    EXPECT_EQ(inner.top, 27);
    EXPECT_EQ(inner.right, 352);
    EXPECT_EQ(inner.bottom, 247);
}

TEST_F(TarvelDlgSkinTest, TheRegionLosesExactlyTheTwelveCornerPixelsAtAnySize) {
    for (SIZE size : {SIZE{355, 250}, SIZE{420, 310}}) {
        dlg.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        CRgn region;
        ASSERT_TRUE(region.CreateRectRgn(0, 0, 0, 0));
        ASSERT_NE(::GetWindowRgn(dlg, region), ERROR);
        for (const POINT& p : CornerPixels(size.cx, size.cy)) {
            EXPECT_FALSE(::PtInRegion(region, p.x, p.y)) << p.x << "," << p.y << " at " << size.cx;
        }
        for (const POINT& p :
             {POINT{2, 0}, POINT{1, 1}, POINT{0, 2}, POINT{size.cx - 3, 0}, POINT{size.cx - 2, 1},
              POINT{size.cx - 2, size.cy - 2}, POINT{2, size.cy - 1}}) {
            EXPECT_TRUE(::PtInRegion(region, p.x, p.y)) << p.x << "," << p.y << " at " << size.cx;
        }
        EXPECT_EQ(RegionArea(region), static_cast<long>(size.cx) * size.cy - 12);
    }
}

TEST_F(TarvelDlgSkinTest, CaptionButtonsAndSkinnedControls) {
    const struct {
        UINT id;
        RECT rect;
    } expected[] = {{CQebDialog::ID_CAPTION_CLOSE, {306, 0, 348, 18}},
                    {CQebDialog::ID_CAPTION_MINIMIZE, {281, 0, 306, 18}},
                    {IDC_BTN_ADD, {260, 60, 331, 85}}};
    for (const auto& e : expected) {
        HWND hControl = dlg.GetDlgItem(static_cast<int>(e.id));
        ASSERT_NE(hControl, nullptr) << e.id;
        const RECT r = ClientRectOf(hControl);
        EXPECT_TRUE(::EqualRect(&r, &e.rect))
            << e.id << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    EXPECT_EQ(dlg.GetDlgItem(CQebDialog::ID_CAPTION_MAXIMIZE), nullptr);
    for (UINT label : {kUsageLabelId, kCommandNameLabelId}) {
        EXPECT_EQ(::SendMessageA(dlg.GetDlgItem(static_cast<int>(label)), WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    }
    const CQebTransButton& link = BoundControl<CQebTransButton>(dlg, IDC_BTN_ADD_SELF);
    EXPECT_EQ(link.m_underlineStates, 7u);
    EXPECT_EQ(link.m_textColor, 0xFF0000u);
}

// What the first erase of a dialog saw, noted by a hook on the messages sent
// on this thread: the dialog is shown, and erased, while it is being created.
struct FirstErase {
    bool seen = false;
    RECT close{};
    bool cornersCut = false;
};
FirstErase g_firstErase;

LRESULT CALLBACK NoteFirstErase(int code, WPARAM wParam, LPARAM lParam) {
    const auto& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
    char className[16] = {};
    if (code == HC_ACTION && sent.message == WM_ERASEBKGND && !g_firstErase.seen &&
        ::GetClassNameA(sent.hwnd, className, sizeof className) > 0 && std::strcmp(className, "#32770") == 0) {
        g_firstErase.seen = true;
        g_firstErase.close = ClientRectOf(::GetDlgItem(sent.hwnd, CQebDialog::ID_CAPTION_CLOSE));
        CRgn region;
        region.CreateRectRgn(0, 0, 0, 0);
        g_firstErase.cornersCut = ::GetWindowRgn(sent.hwnd, region) != ERROR && !::PtInRegion(region, 0, 0);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(TarvelDlgFirstPaintTest, ButtonsAndCornersAreInPlaceAtTheFirstPaint) {
    g_firstErase = {};
    const HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, &NoteFirstErase, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    const AppServices services = ServicesOverScratchKey(kAppPathsKey);
    CTarvelDlg dlg{services};
    ASSERT_TRUE(dlg.Create());
    dlg.UpdateWindow();
    PumpMessages();
    ::UnhookWindowsHookEx(hook);
    ASSERT_TRUE(g_firstErase.seen);
    const RECT expected{306, 0, 348, 18};
    EXPECT_TRUE(::EqualRect(&g_firstErase.close, &expected));
    EXPECT_TRUE(g_firstErase.cornersCut);
    dlg.DestroyWindow();
}

TEST_F(TarvelDlgSkinTest, PressesOnTheCaptionOrTheClientAreaMoveTheWindow) {
    // The frame leaves the presses to the system's default processing, which
    // starts its move (or size) loop.
    const struct {
        POINT point;
        UINT message;
        WPARAM code;
        WPARAM systemMove;
    } presses[] = {
        {{100, 15}, WM_NCLBUTTONDOWN, HTCAPTION, SC_MOVE | HTCAPTION},   // caption
        {{200, 150}, WM_NCLBUTTONDOWN, HTCAPTION, SC_MOVE | HTCAPTION},  // client area
        {{1, 100}, WM_NCLBUTTONDOWN, HTLEFT, SC_SIZE | WMSZ_LEFT},  // the edges are forwarded though nothing resizes
        {{200, 249}, WM_NCLBUTTONDOWN, HTBOTTOM, SC_SIZE | WMSZ_BOTTOM},
    };
    for (const auto& press : presses) {
        nonClientPresses.clear();
        systemMoves.clear();
        dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.point.x, press.point.y));
        PumpMessages();  // the move is posted
        dlg.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(press.point.x, press.point.y));
        ASSERT_EQ(nonClientPresses.size(), 1u) << press.point.x << "," << press.point.y;
        EXPECT_EQ(nonClientPresses[0].first, press.message);
        EXPECT_EQ(nonClientPresses[0].second, press.code);
        EXPECT_EQ(systemMoves, std::vector<WPARAM>{press.systemMove}) << press.point.x << "," << press.point.y;
    }
    EXPECT_EQ(::GetCapture(), nullptr) << "a frame that is not resizable captures nothing";

    // A double click on the caption asks the system to maximise; elsewhere nothing.
    nonClientPresses.clear();
    dlg.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 15));
    dlg.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(200, 150));
    ASSERT_EQ(nonClientPresses.size(), 1u);
    EXPECT_EQ(nonClientPresses[0],
              std::make_pair(static_cast<UINT>(WM_NCLBUTTONDBLCLK), WPARAM{HTCAPTION}));
}

TEST_F(TarvelDlgSkinTest, TheWindowMenuOpensAtMostOnceIn300Ms) {
    OpenAndCloseWindowMenu(WM_COMMAND);
    EXPECT_EQ(menusOpened, 1);
    CMenuView menu = dlg.GetSystemMenu(FALSE);
    EXPECT_EQ(menu.GetDefaultItem(), static_cast<UINT>(SC_CLOSE));
    EXPECT_TRUE(menu.GetMenuState(SC_MAXIMIZE) & MF_GRAYED) << "not resizable";
    EXPECT_TRUE(menu.GetMenuState(SC_SIZE) & MF_GRAYED);
    EXPECT_TRUE(menu.GetMenuState(SC_RESTORE) & MF_GRAYED);
    EXPECT_FALSE(menu.GetMenuState(SC_MOVE) & MF_GRAYED);
    EXPECT_FALSE(menu.GetMenuState(SC_MINIMIZE) & MF_GRAYED);

    OpenAndCloseWindowMenu(WM_COMMAND);
    EXPECT_EQ(menusOpened, 1) << "asked again right after it closed";
    ::Sleep(350);
    OpenAndCloseWindowMenu(WM_COMMAND);
    EXPECT_EQ(menusOpened, 2);
}

TEST_F(TarvelDlgSkinTest, AQuickSecondPressOnTheCaptionIconCloses) {
    // The icon zone is the caption's first 20 pixels; the menu closes at
    // once and the cursor has not moved: a double click.
    ::Sleep(350);
    OpenAndCloseWindowMenu(WM_LBUTTONDOWN, MAKELPARAM(10, 12));
    EXPECT_EQ(menusOpened, 1);
    PumpMessages();
    EXPECT_EQ(closeCommands, 1);

    // Opened by command, not from the icon: closing the menu closes nothing.
    ::Sleep(350);
    OpenAndCloseWindowMenu(WM_COMMAND);
    PumpMessages();
    EXPECT_EQ(menusOpened, 2);
    EXPECT_EQ(closeCommands, 1);
}

TEST_F(TarvelDlgSkinTest, AltSpaceOpensTheWindowMenuSpaceAloneDoesNot) {
    ::Sleep(350);
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    const BYTE savedAlt = keys[VK_MENU];
    MSG space{dlg.GetDlgItem(IDC_EDIT_COMMAND_NAME), WM_KEYDOWN, VK_SPACE, 0, 0, {}};
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(&space));
    EXPECT_EQ(menusOpened, 0);

    keys[VK_MENU] = 0x80;
    ::SetKeyboardState(keys);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, &EndMenuSoon);
    MSG altSpace{dlg.GetDlgItem(IDC_EDIT_COMMAND_NAME), WM_SYSKEYDOWN, VK_SPACE, 0, 0, {}};
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(&altSpace)) << "offered from the focused field outward";
    ::KillTimer(nullptr, timer);
    keys[VK_MENU] = savedAlt;
    ::SetKeyboardState(keys);
    EXPECT_EQ(menusOpened, 1);
}

TEST_F(TarvelDlgSkinTest, MaximisedGeometryPushesTheBordersOffTheWorkArea) {
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    MINMAXINFO info{};
    dlg.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMaxPosition.x, work.left - 3);
    EXPECT_EQ(info.ptMaxPosition.y, work.top - 3);
    EXPECT_EQ(info.ptMaxSize.x, work.right - work.left + 6);
    EXPECT_EQ(info.ptMaxSize.y, work.bottom - work.top + 6);
    EXPECT_EQ(info.ptMinTrackSize.x, 300);
    EXPECT_EQ(info.ptMinTrackSize.y, 250);
}

SIZE BitmapSize(const CBitmap& bitmap) {
    BITMAP info{};
    bitmap.GetBitmap(&info);
    return SIZE{info.bmWidth, info.bmHeight};
}

// Key-coloured pixels in the w x h block at (x0, y0) of a bitmap.
int KeyPixelsIn(const CBitmap& bitmap, int x0, int y0, int w, int h) {
    CMemoryDC memory(nullptr);
    velmora::SelectedObject selected(memory.GetSafeHdc(), bitmap.GetSafeHandle());
    int keys = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) keys += ::GetPixel(memory.GetSafeHdc(), x, y) == 0xFF00FF;
    return keys;
}

// The frame set up at each step loads that step's bitmaps from the program,
// as large as the step's numbers cut them, the frame's corners cut at the
// step's size; set up again at another DPI it replaces them.
TEST(TarvelDlgArtworkTest, EachDpiLoadsTheArtworkOfItsStep) {
    CBitmap captionButtons, frame, addButton;
    const AppServices services = ServicesOverScratchKey(kAppPathsKey);
    CTarvelDlg dlg{services};
    ASSERT_TRUE(dlg.Create());
    for (const int dpi : {120, 144, 168, 192, 240, 96, 130}) {
        SCOPED_TRACE(dpi);
        SetUpSkinnedFrame(dlg, captionButtons, frame, addButton, dpi);
        const velmora::app::SkinArtwork artwork = velmora::app::SkinArtworkForDpi(dpi);
        const int step = artwork.artworkDpi;
        const velmora::skin::CaptionButtonLayout& layout = artwork.captionButtons;
        const SIZE strip = BitmapSize(captionButtons);
        EXPECT_EQ(strip.cx, velmora::skin::CaptionStripOffsetsOf(layout).restore + 3 * layout.maxWidth);
        EXPECT_EQ(strip.cy, layout.height);
        const SIZE frameSize = BitmapSize(frame);
        EXPECT_EQ(frameSize.cx, artwork.framePieces[7].right);
        EXPECT_EQ(frameSize.cy, artwork.framePieces[7].bottom);
        const SIZE addSize = BitmapSize(addButton);
        EXPECT_EQ(addSize.cx, 4 * velmora::skin::ScaleForDpi(25, step));
        EXPECT_EQ(addSize.cy, velmora::skin::ScaleForDpi(25, step));
        // The corner cut: the pixels under the cut's leg, x + y < leg.
        const int leg = velmora::skin::ScaleForDpi(2, step);
        EXPECT_EQ(KeyPixelsIn(frame, 0, 0, 5, 5), leg * (leg + 1) / 2);
        EXPECT_EQ(KeyPixelsIn(frame, frameSize.cx - 5, frameSize.cy - 5, 5, 5), leg * (leg + 1) / 2);
        EXPECT_EQ(KeyPixelsIn(captionButtons, 0, 0, strip.cx, strip.cy), 0);
    }
    dlg.DestroyWindow();
}

TEST_F(TarvelDlgSkinTest, TheCaptionButtonsAct) {
    dlg.SendMessage(WM_COMMAND, CQebDialog::ID_CAPTION_MINIMIZE, 0);
    EXPECT_TRUE(dlg.IsIconic());
    dlg.ShowWindow(SW_RESTORE);
    EXPECT_FALSE(dlg.IsIconic());
    // After a restore the corners are cut again.
    CRgn region;
    ASSERT_TRUE(region.CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(dlg, region), ERROR);
    EXPECT_FALSE(::PtInRegion(region, 354, 249));
    EXPECT_EQ(RegionArea(region), 355L * 250 - 12);

    HWND hWnd = dlg.m_hWnd;
    dlg.SendMessage(WM_COMMAND, CQebDialog::ID_CAPTION_CLOSE, 0);
    PumpMessages();  // the dialog answers WM_CLOSE with a posted Cancel
    EXPECT_FALSE(::IsWindow(hWnd)) << "closing ends the dialog";
}

}  // namespace
