// CQebDialog under Wine with a resizable frame and a maximise button, on a
// skin of its own: the sizing cursors of each zone, the resize timer with the
// opposite edges fixed and the minimum size kept, and the maximised layout
// with the restore images.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "skin/QebDialog.h"
#include "skin_test_dialog.h"
#include "window_fixture.h"
#include "wnd/DC.h"

namespace {

// The tip a button shows: its tooltip control, made by the first mouse
// message the loops hand the button, asked for its text.
CStringW TipOf(CQebButton& button) {
    MSG move{button.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2), 0, {}};
    CWnd::WalkPreTranslateTree(&move);
    return button.m_pToolTip ? button.m_pToolTip->GetText(&button) : CStringW(u"<no tooltip>");
}

using velmora::testing::PumpMessages;

constexpr COLORREF kMagenta = 0xFF00FF;

// A frame skin of 30 x 30: caption pieces in the top 20 rows, borders of 3
// pixels, and only the top-left corner pixel key-coloured.
class ResizableDialog : public CQebDialog {
public:
    ResizableDialog() : CQebDialog(IDD_SKIN_TEST_DIALOG) {}

    std::vector<std::pair<UINT, WPARAM>> nonClientPresses;

    using CQebDialog::m_btnClose;
    using CQebDialog::m_btnMax;
    using CQebDialog::m_btnMin;
    using CQebDialog::m_resizeMode;

protected:
    BOOL OnInitDialog() override {
        velmora::testing::MakeBandedBitmap(m_frame, 30, 30, {0, 10, 12},
                                           {RGB(20, 30, 90), RGB(30, 40, 100), RGB(40, 50, 110)});
        velmora::testing::SetBitmapPixel(m_frame, 0, 0, kMagenta);
        velmora::testing::MakeBandedBitmap(m_captionButtons, 192, 14, {0, 48, 96, 144},
                                           {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4)});
        const int pieces[8][4] = {{0, 0, 10, 20}, {10, 0, 2, 20}, {12, 0, 18, 20}, {0, 20, 3, 4},
                                  {27, 20, 3, 4}, {0, 27, 5, 3},  {5, 27, 2, 3},   {25, 27, 5, 3}};
        for (int i = 0; i < 8; ++i) SetFramePiece(pieces[i][0], pieces[i][1], pieces[i][2], pieces[i][3], i);
        SetSkinBitmaps(&m_frame, &m_captionButtons);
        SetCaptionTextStyle(30, 4, 0xFFFFFF);
        SetCaptionButtonLayout(16, 16, 16, 14, 2, 4, 3, 5);
        m_resizable = TRUE;
        m_btnMax.m_notifyParent = true;
        SetWindowText(u"resizable");
        CQebDialog::OnInitDialog();
        SetWindowPos(HWND_TOPMOST, 100, 100, 400, 300, SWP_SHOWWINDOW);
        return TRUE;
    }
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message == WM_NCLBUTTONDOWN) {
            // Recorded instead of starting the system's own loops.
            nonClientPresses.emplace_back(message, wParam);
            return true;
        }
        return CQebDialog::ProcessWindowMessage(message, wParam, lParam, result);
    }

private:
    CBitmap m_frame;
    CBitmap m_captionButtons;
};

void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR, DWORD) { ::EndMenu(); }

RECT ChildRect(const CWnd& child) {
    RECT r{};
    child.GetWindowRect(&r);
    ::MapWindowPoints(nullptr, child.GetParent(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class ResizableFrameTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dlg.Create());
        PumpMessages();
    }
    void TearDown() override {
        if (CWnd::GetCapture() != nullptr) CWnd::ReleaseCapture();
        dlg.DestroyWindow();
        PumpMessages();
    }
    // Puts the real cursor on a client point of the dialog.
    POINT CursorAt(int x, int y) {
        POINT p{x, y};
        dlg.ClientToScreen(&p);
        ::SetCursorPos(p.x, p.y);
        return p;
    }
    HCURSOR CursorShownAt(int x, int y) {
        CursorAt(x, y);
        ::SetCursor(nullptr);
        dlg.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(dlg.m_hWnd),
                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return ::GetCursor();
    }
    static HCURSOR System(int id) { return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(id)); }

    ResizableDialog dlg;
};

TEST_F(ResizableFrameTest, AllThreeCaptionButtonsOneGapApart) {
    EXPECT_NE(dlg.GetStyle() & WS_MAXIMIZEBOX, 0u);
    const RECT expected[] = {{380, 3, 396, 17}, {362, 3, 378, 17}, {344, 3, 360, 17}};
    const CQebButton* buttons[] = {&dlg.m_btnClose, &dlg.m_btnMax, &dlg.m_btnMin};
    for (int i = 0; i < 3; ++i) {
        const RECT r = ChildRect(*buttons[i]);
        EXPECT_TRUE(::EqualRect(&r, &expected[i])) << i << ": " << r.left << "," << r.top << "," << r.right;
    }
    EXPECT_EQ(dlg.m_btnMax.m_imageOffset, 48);
    for (const CQebButton* button : buttons)
        EXPECT_FALSE(button->m_pToolTip) << "no tooltip window is made before the pointer comes";
    EXPECT_EQ(TipOf(dlg.m_btnMax), CStringW(u"最大化"));
}

TEST_F(ResizableFrameTest, EachZoneShowsItsSizingCursor) {
    const struct {
        POINT point;
        int cursor;
    } zones[] = {{{1, 100}, 32644}, {{398, 100}, 32644}, {{100, 1}, 32645}, {{100, 298}, 32645},
                 {{1, 1}, 32642},   {{398, 298}, 32642}, {{398, 1}, 32643}, {{1, 298}, 32643}};
    for (const auto& zone : zones) {
        EXPECT_EQ(CursorShownAt(zone.point.x, zone.point.y), System(zone.cursor))
            << zone.point.x << "," << zone.point.y;
    }
    // Inside, the default processing chooses: the dialog class's arrow.
    EXPECT_EQ(CursorShownAt(200, 150), System(32512));
}

TEST_F(ResizableFrameTest, DraggingAnEdgeResizesWithTheOppositeEdgeFixedDownToTheMinimum) {
    RECT before{};
    dlg.GetWindowRect(&before);
    const POINT press = CursorAt(1, 150);
    dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 150));
    ASSERT_EQ(dlg.nonClientPresses.size(), 1u);
    EXPECT_EQ(dlg.nonClientPresses[0].second, static_cast<WPARAM>(HTLEFT)) << "still handed to the system";
    EXPECT_EQ(dlg.m_resizeMode, HTLEFT);
    EXPECT_EQ(CWnd::GetCapture(), dlg.m_hWnd);

    ::SetCursorPos(press.x - 50, press.y + 40);  // wider; the vertical move is ignored
    dlg.SendMessage(WM_TIMER, CQebDialog::RESIZE_TIMER_ID, 0);
    RECT r{};
    dlg.GetWindowRect(&r);
    EXPECT_EQ(r.left, before.left - 50);
    EXPECT_EQ(r.right, before.right);
    EXPECT_EQ(r.top, before.top);
    EXPECT_EQ(r.bottom, before.bottom);

    ::SetCursorPos(press.x + 250, press.y);  // far too narrow: stops at 300
    dlg.SendMessage(WM_TIMER, CQebDialog::RESIZE_TIMER_ID, 0);
    dlg.GetWindowRect(&r);
    EXPECT_EQ(r.right, before.right);
    EXPECT_EQ(r.right - r.left, 300);

    dlg.SendMessage(WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(dlg.m_resizeMode, -1);
    EXPECT_NE(CWnd::GetCapture(), dlg.m_hWnd);
    EXPECT_FALSE(dlg.KillTimer(CQebDialog::RESIZE_TIMER_ID)) << "the timer was killed";
}

TEST_F(ResizableFrameTest, TheBottomRightCornerClampsBothWaysAboutTheTopLeft) {
    RECT before{};
    dlg.GetWindowRect(&before);
    const POINT press = CursorAt(398, 298);
    dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(398, 298));
    EXPECT_EQ(dlg.m_resizeMode, HTBOTTOMRIGHT);
    ::SetCursorPos(press.x - 300, press.y - 300);
    dlg.SendMessage(WM_TIMER, CQebDialog::RESIZE_TIMER_ID, 0);
    RECT r{};
    dlg.GetWindowRect(&r);
    EXPECT_EQ(r.left, before.left);
    EXPECT_EQ(r.top, before.top);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 250);
    dlg.SendMessage(WM_LBUTTONUP, 0, 0);

    // A tick while no resize runs only stops the timer.
    dlg.SetTimer(CQebDialog::RESIZE_TIMER_ID, 20);
    dlg.SendMessage(WM_TIMER, CQebDialog::RESIZE_TIMER_ID, 0);
    EXPECT_FALSE(dlg.KillTimer(CQebDialog::RESIZE_TIMER_ID));
    RECT after{};
    dlg.GetWindowRect(&after);
    EXPECT_TRUE(::EqualRect(&after, &r));
}

TEST_F(ResizableFrameTest, MaximisedTheButtonsMoveDownAndOfferRestore) {
    // The size message itself: whether the window manager of the test
    // display lets a window maximise to the frame's own geometry is its
    // business (the geometry is checked through WM_GETMINMAXINFO).
    RECT client{};
    dlg.GetClientRect(&client);
    dlg.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(client.right, client.bottom));
    EXPECT_EQ(dlg.m_btnMax.m_imageOffset, 144) << "the restore images";
    EXPECT_EQ(TipOf(dlg.m_btnMax), CStringW(u"还原"));
    const RECT close = ChildRect(dlg.m_btnClose);
    EXPECT_EQ(close.top, 8) << "top margin 3 plus 5 while maximised";
    EXPECT_EQ(close.bottom, 22);
    EXPECT_EQ(ChildRect(dlg.m_btnMin).top, 8);
    EXPECT_EQ(dlg.GetExStyle() & WS_EX_TOPMOST, 0u) << "the taskbar stays above a maximised frame";

    dlg.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    EXPECT_EQ(dlg.m_btnMax.m_imageOffset, 48);
    EXPECT_EQ(TipOf(dlg.m_btnMax), CStringW(u"最大化"));
    EXPECT_EQ(ChildRect(dlg.m_btnClose).top, 3);

    MINMAXINFO info{};
    dlg.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(info.ptMaxPosition.x, work.left - 3);
    EXPECT_EQ(info.ptMaxPosition.y, work.top - 3);
    EXPECT_EQ(info.ptMaxSize.x, work.right - work.left + 6);
    EXPECT_EQ(info.ptMaxSize.y, work.bottom - work.top + 6);
}

TEST_F(ResizableFrameTest, TheWindowMenuOffersMaximise) {
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 30, &EndMenuSoon);
    dlg.SendMessage(WM_COMMAND, CQebDialog::ID_SHOW_SYSTEM_MENU, 0);
    ::KillTimer(nullptr, timer);
    CMenuView menu = dlg.GetSystemMenu(FALSE);
    // SC_SIZE is set by the system itself from the sizing border as the
    // menu shows, and the skinned frame has none.
    EXPECT_FALSE(menu.GetMenuState(SC_MAXIMIZE) & MF_GRAYED);
    EXPECT_FALSE(menu.GetMenuState(SC_MOVE) & MF_GRAYED);
    EXPECT_TRUE(menu.GetMenuState(SC_RESTORE) & MF_GRAYED);
}

TEST_F(ResizableFrameTest, ASkinWithOneKeyPixelCutsOnePixelPerCorner) {
    CRgn region;
    ASSERT_TRUE(region.CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(dlg, region), ERROR);
    EXPECT_FALSE(::PtInRegion(region, 0, 0));
    EXPECT_TRUE(::PtInRegion(region, 1, 0));
    EXPECT_TRUE(::PtInRegion(region, 399, 299)) << "only the skin's top-left pixel is magenta";
}

}  // namespace
