// CQebButton under Wine with real windows: clicks and their notification,
// hover tracking by capture, covering windows, the tooltip, and which strip
// frame each look draws.
#include <gtest/gtest.h>

#include "skin/QebButton.h"
#include "window_fixture.h"
#include "wnd/DC.h"

namespace {

using velmora::testing::ScreenPixel;
using velmora::testing::TestParent;

constexpr UINT kButtonId = 7001;
constexpr COLORREF kNormal = RGB(200, 0, 0);
constexpr COLORREF kHover = RGB(0, 200, 0);
constexpr COLORREF kPressed = RGB(0, 0, 200);
constexpr COLORREF kElsewhere = RGB(90, 90, 90);

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class SkinButtonTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(parent.m_hWnd, nullptr);
        // Strip: 10 pixels of something else, then the button's three frames
        // of 20 pixels, so a wrong offset shows.
        velmora::testing::MakeBandedBitmap(strip, 70, 16, {0, 10, 30, 50},
                                           {kElsewhere, kNormal, kHover, kPressed});
        ASSERT_TRUE(button.Create(u"", WS_CHILD | WS_VISIBLE, RECT{40, 30, 60, 46}, &parent, kButtonId));
        button.m_pImage = &strip;
        button.m_imageOffset = 10;
    }
    void TearDown() override {
        if (CWnd::GetCapture() != nullptr) CWnd::ReleaseCapture();
    }

    void Move(int x, int y) { button.SendMessage(WM_MOUSEMOVE, 0, At(x, y)); }
    void Down() { button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5)); }
    void Up() { button.SendMessage(WM_LBUTTONUP, 0, At(5, 5)); }
    COLORREF Shown() {
        button.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return ScreenPixel(button, 10, 8);
    }
    bool Captured() const { return CWnd::GetCapture() == button.m_hWnd; }

    TestParent parent{200, 200, 120, 80};
    CBitmap strip;
    CQebButton button;
};

TEST_F(SkinButtonTest, AClickSendsExactlyOneCommand) {
    Move(5, 5);
    EXPECT_TRUE(button.m_hover);
    EXPECT_TRUE(Captured()) << "the capture is taken on hover";
    Down();
    EXPECT_TRUE(button.m_pressed);
    EXPECT_EQ(Shown(), kPressed);
    Up();
    // Sent: it has arrived when the release returns, and nothing is queued.
    ASSERT_EQ(parent.commands.size(), 1u);
    EXPECT_FALSE(velmora::testing::IsQueued(WM_COMMAND));
    EXPECT_EQ(parent.commands[0].wParam, MAKEWPARAM(kButtonId, 0));
    EXPECT_EQ(parent.commands[0].lParam, 0);
    // Right after the click: the normal look until the mouse moves again,
    // the capture still held.
    EXPECT_FALSE(button.m_hover);
    EXPECT_FALSE(button.m_pressed);
    EXPECT_EQ(Shown(), kNormal);
    EXPECT_TRUE(Captured());
    Up();
    EXPECT_EQ(parent.commands.size(), 1u) << "a release without a press is no click";
    Move(6, 6);
    EXPECT_EQ(Shown(), kHover);
}

TEST_F(SkinButtonTest, WithoutNotifyParentAClickSendsNothing) {
    button.m_notifyParent = false;
    Move(5, 5);
    Down();
    Up();
    EXPECT_TRUE(parent.commands.empty());
    EXPECT_FALSE(button.m_pressed);
}

TEST_F(SkinButtonTest, APressDraggedOffIsCancelled) {
    Move(5, 5);
    Down();
    Move(-30, 5);  // the captured mouse reports points off the button
    EXPECT_FALSE(button.m_hover);
    EXPECT_FALSE(button.m_pressed);
    EXPECT_FALSE(Captured());
    EXPECT_EQ(Shown(), kNormal);
    Up();
    EXPECT_TRUE(parent.commands.empty());
    Move(5, 5);
    EXPECT_TRUE(button.m_hover) << "coming back shows hover, not pressed";
    EXPECT_FALSE(button.m_pressed);
    EXPECT_EQ(Shown(), kHover);
}

TEST_F(SkinButtonTest, ACoveringWindowTakesTheHoverAway) {
    Move(5, 5);
    ASSERT_TRUE(Captured());
    CWnd cover;
    RECT onScreen{};
    button.GetWindowRect(&onScreen);
    ASSERT_TRUE(cover.CreateEx(WS_EX_TOPMOST, L"STATIC", u"", WS_POPUP | WS_VISIBLE | SS_NOTIFY, onScreen,
                               nullptr, 0));
    Move(6, 6);
    EXPECT_FALSE(button.m_hover);
    EXPECT_FALSE(Captured());
}

TEST_F(SkinButtonTest, EachLookComesFromItsFrameOfTheStrip) {
    EXPECT_EQ(Shown(), kNormal);
    button.m_hover = true;
    EXPECT_EQ(Shown(), kHover);
    button.m_pressed = true;
    EXPECT_EQ(Shown(), kPressed);
    button.m_hover = false;
    EXPECT_EQ(Shown(), kNormal) << "pressed without hover looks normal";
    // The whole width comes from one frame.
    button.m_hover = true;
    button.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(ScreenPixel(button, 0, 0), kPressed);
    EXPECT_EQ(ScreenPixel(button, 19, 15), kPressed);
}

TEST_F(SkinButtonTest, WithoutAStripNothingIsDrawn) {
    for (const CBitmap* image : {static_cast<const CBitmap*>(nullptr), static_cast<const CBitmap*>(&strip)}) {
        CBitmap empty;
        button.m_pImage = image == nullptr ? nullptr : &empty;
        {
            CClientDC dc(button);
            dc.FillSolidRect(RECT{0, 0, 20, 16}, kElsewhere);
        }
        button.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        EXPECT_EQ(ScreenPixel(button, 10, 8), kElsewhere);
    }
}

// Counts the relayed events a tooltip window receives.
int g_relayed = 0;
WNDPROC g_tipProc = nullptr;
LRESULT CALLBACK CountRelays(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TTM_RELAYEVENT) ++g_relayed;
    return ::CallWindowProcA(g_tipProc, hWnd, message, wParam, lParam);
}

thread_local DWORD t_tipStyle = 0;
LRESULT CALLBACK RecordTipStyle(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HCBT_CREATEWND) {
        char className[32] = {};
        ::GetClassNameA(reinterpret_cast<HWND>(wParam), className, sizeof(className));
        if (lstrcmpiA(className, TOOLTIPS_CLASSA) == 0)
            t_tipStyle = static_cast<DWORD>(reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->style);
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

TEST_F(SkinButtonTest, TheTooltipFollowsTheHover) {
    HHOOK hook = ::SetWindowsHookExA(WH_CBT, &RecordTipStyle, nullptr, ::GetCurrentThreadId());
    button.AddToolTip(u"关闭");
    EXPECT_FALSE(button.m_pToolTip) << "no tooltip window before the pointer comes";
    // The first mouse message for the button makes it, before the tip sees it.
    MSG first{button.m_hWnd, WM_MOUSEMOVE, 0, At(5, 5), 0, {}};
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(&first));
    ::UnhookWindowsHookEx(hook);
    ASSERT_TRUE(button.m_pToolTip);
    CToolTipCtrl& tip = *button.m_pToolTip;
    ASSERT_NE(tip.m_hWnd, nullptr);
    EXPECT_EQ(t_tipStyle & 0x50000001u, 0x50000001u);
    EXPECT_EQ(tip.GetDelayTime(TTDT_INITIAL), 100);
    EXPECT_EQ(tip.GetText(&button), CStringW(u"关闭"));

    // Messages of the loops reach the tip through the button's pre-translation.
    g_relayed = 0;
    g_tipProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(tip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountRelays)));
    MSG msg{button.m_hWnd, WM_MOUSEMOVE, 0, At(5, 5), 0, {}};
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(&msg));
    EXPECT_EQ(g_relayed, 1);
    ::SetWindowLongPtrA(tip, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_tipProc));

    // Leaving empties the tip; the stored text stays for the next hover.
    Move(5, 5);
    Move(-5, 5);
    EXPECT_EQ(tip.GetText(&button), CStringW(u""));
    EXPECT_EQ(button.m_tipText, CStringW(u"关闭"));
    // A second AddToolTip only changes the stored text, shown from the next hover.
    button.AddToolTip(u"最小化");
    EXPECT_EQ(tip.GetToolCount(), 1);
    EXPECT_EQ(tip.GetText(&button), CStringW(u""));
    Move(5, 5);
    EXPECT_EQ(tip.GetText(&button), CStringW(u"最小化"));
    button.SetToolTipText(u"还原");
    EXPECT_EQ(tip.GetText(&button), CStringW(u"还原"));
}

TEST_F(SkinButtonTest, TooltipOperationsWithoutAControlDoNothing) {
    button.SetToolTipText(u"x");
    EXPECT_EQ(button.m_tipText, CStringW(u"x"));
    EXPECT_FALSE(button.m_pToolTip);
    MSG msg{button.m_hWnd, WM_MOUSEMOVE, 0, 0, 0, {}};
    EXPECT_FALSE(button.PreTranslateMessage(&msg));
    EXPECT_FALSE(button.m_pToolTip) << "only AddToolTip asks for one";
}

}  // namespace
