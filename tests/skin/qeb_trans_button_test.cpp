// CQebTransButton under Wine with real windows: its three modes, the strip
// fitting, the caps and the stretched middle read back from the screen, the
// underline and the pressed text offsets, clicks and cursors.
#include <gtest/gtest.h>

#include <climits>

#include "skin/QebTransButton.h"
#include "window_fixture.h"
#include "wnd/DC.h"

namespace {

using velmora::testing::PumpMessages;
using velmora::testing::ScreenPixel;
using velmora::testing::TestParent;

constexpr UINT kButtonId = 1000;
constexpr COLORREF kBackground = 0xEFD9C1;
constexpr COLORREF kMagenta = 0xFF00FF;
constexpr COLORREF kLeftCap = RGB(10, 20, 30);
constexpr COLORREF kMiddle = RGB(40, 50, 60);
constexpr COLORREF kRightCap = RGB(70, 80, 90);
constexpr COLORREF kText = RGB(0, 0, 255);

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

RECT ChildRect(const CWnd& child) {
    RECT r{};
    child.GetWindowRect(&r);
    ::MapWindowPoints(nullptr, child.GetParent(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    int count = 0;
};

// The pixels of `colour` in the button's client area on the screen.
Box FindColour(HWND hWnd, COLORREF colour) {
    RECT client{};
    ::GetClientRect(hWnd, &client);
    CClientDC dc(hWnd);
    Box box;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            if (dc.GetPixel(x, y) == colour) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
                ++box.count;
            }
    return box;
}

class TransButtonTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(parent.m_hWnd, nullptr);
        // The main dialog's strip shape: 100 x 25, frames of 25, caps of 11,
        // middle of 3. Each frame: left cap, middle, right cap in their own
        // colours, the look's number in the middle's red, and magenta in the
        // outer corner of each cap.
        velmora::testing::MakeBandedBitmap(
            strip, 100, 25, {0, 11, 14, 25, 36, 39, 50, 61, 64, 75, 86, 89},
            {kLeftCap, RGB(0, 1, 0), kRightCap, kLeftCap, RGB(0, 2, 0), kRightCap, kLeftCap, RGB(0, 3, 0),
             kRightCap, kLeftCap, RGB(0, 4, 0), kRightCap});
        for (int frame = 0; frame < 4; ++frame) {
            velmora::testing::SetBitmapPixel(strip, frame * 25, 0, kMagenta);
            velmora::testing::SetBitmapPixel(strip, frame * 25 + 24, 0, kMagenta);
        }
    }
    void TearDown() override {
        if (CWnd::GetCapture() != nullptr) CWnd::ReleaseCapture();
    }

    void Create(const char* text, RECT rect) {
        ASSERT_TRUE(
            button.Create(velmora::WideFrom936(text), WS_CHILD | WS_VISIBLE, rect, &parent, kButtonId));
        button.SetBkColor(kBackground);
    }
    void Show(bool hover, bool pressed) {
        button.m_hover = hover;
        button.m_pressed = pressed;
        button.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }

    TestParent parent{220, 220, 360, 140};
    CBitmap strip;
    CQebTransButton button;
};

TEST_F(TransButtonTest, AttachingMakesItOwnerDrawnWithTheGuiFont) {
    Create("x", RECT{10, 10, 60, 30});
    EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_EQ(button.m_pFont, CFont::TextFont());
    EXPECT_EQ(button.m_mode, CQebTransButton::kTextButtonMode);
    EXPECT_EQ(button.Dpi(), 96);
    // Told another DPI (its dialog moved), it draws with that DPI's font, a
    // font of 9 points there; told none, it keeps what it has.
    button.SetDpi(144);
    EXPECT_EQ(button.Dpi(), 144);
    EXPECT_EQ(button.m_pFont, CFont::TextFont(144));
    LOGFONTW logFont{};
    ASSERT_TRUE(CFont::GetLogFont(button.m_pFont, &logFont));
    EXPECT_EQ(logFont.lfHeight, -18);
    EXPECT_EQ(CFont::TextFont(144), button.m_pFont) << "made once per DPI";
    button.SetDpi(0);
    EXPECT_EQ(button.Dpi(), 144);
    button.SetDpi(96);
    EXPECT_EQ(button.m_pFont, CFont::TextFont());
}

TEST_F(TransButtonTest, BitmapModeFitsTheStripAndKeepsFittingIt) {
    Create("添加命令", RECT{20, 20, 30, 70});  // 10 x 50: narrower than a frame, too high
    button.SetBitmap(&strip);
    RECT r = ChildRect(button);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 25) << "widened to one frame";
    EXPECT_EQ(r.bottom - r.top, 25) << "the strip's height";

    button.MoveWindow(260, 60, 71, 20);
    PumpMessages();  // the posted fit
    r = ChildRect(button);
    EXPECT_EQ(r.left, 260);
    EXPECT_EQ(r.right - r.left, 71);
    EXPECT_EQ(r.bottom - r.top, 25);
}

TEST_F(TransButtonTest, CapsKeepTheirSizeTheMiddleStretchesTheKeyShowsTheBackground) {
    Create("", RECT{10, 10, 81, 35});
    button.SetBitmap(&strip);
    const struct {
        bool hover, pressed;
        COLORREF middle;
    } looks[] = {{false, false, RGB(0, 1, 0)},
                 {true, false, RGB(0, 2, 0)},
                 {true, true, RGB(0, 3, 0)},
                 {false, true, RGB(0, 1, 0)}};
    for (const auto& look : looks) {
        Show(look.hover, look.pressed);
        SCOPED_TRACE(testing::Message() << "hover " << look.hover << " pressed " << look.pressed);
        EXPECT_EQ(ScreenPixel(button, 0, 0), kBackground) << "key colour in the left cap";
        EXPECT_EQ(ScreenPixel(button, 70, 0), kBackground) << "key colour in the right cap";
        EXPECT_EQ(ScreenPixel(button, 1, 0), kLeftCap);
        EXPECT_EQ(ScreenPixel(button, 10, 12), kLeftCap);
        for (int x : {11, 35, 59}) EXPECT_EQ(ScreenPixel(button, x, 12), look.middle) << "x " << x;
        EXPECT_EQ(ScreenPixel(button, 60, 12), kRightCap);
        EXPECT_EQ(ScreenPixel(button, 69, 0), kRightCap);
    }
}

TEST_F(TransButtonTest, BitmapModeWithoutAnImageDrawsBackgroundAndText) {
    CBitmap empty;
    Create("", RECT{10, 10, 60, 30});
    button.SetBitmap(&empty);
    Show(false, false);
    EXPECT_EQ(ScreenPixel(button, 25, 10), kBackground);
    RECT r = ChildRect(button);
    EXPECT_EQ(r.bottom - r.top, 20) << "no fitting without an image";
}

TEST_F(TransButtonTest, UnderlineFollowsTheStatesOfEachLook) {
    Create("添加本程序为 run 命令", RECT{10, 40, 180, 60});
    button.SetButtonMode();
    button.SetTextColors(kText, kText);
    const bool looks[][2] = {{false, false}, {true, false}, {true, true}};
    for (const auto& look : looks) {
        button.m_underlineStates = 0;
        Show(look[0], look[1]);
        const Box plain = FindColour(button, kText);
        button.m_underlineStates = 7;
        Show(look[0], look[1]);
        const Box underlined = FindColour(button, kText);
        ASSERT_GT(plain.count, 0);
        // The underline is a run across the whole text below its glyphs.
        EXPECT_GT(underlined.count, plain.count + (plain.right - plain.left) / 2);
        EXPECT_GE(underlined.bottom, plain.bottom);
    }
    button.m_underlineStates = 2;  // only the hovered look
    Show(false, false);
    const Box normal = FindColour(button, kText);
    Show(true, false);
    EXPECT_GT(FindColour(button, kText).count, normal.count);
}

TEST_F(TransButtonTest, PressedTextMovesInBothModes) {
    Create("run", RECT{10, 40, 110, 65});
    button.SetButtonMode();
    button.SetTextColors(kText, kText);
    Show(true, false);
    const Box hovered = FindColour(button, kText);
    Show(true, true);
    const Box pressed = FindColour(button, kText);
    ASSERT_GT(hovered.count, 0);
    EXPECT_EQ(pressed.left, hovered.left + 1);
    EXPECT_EQ(pressed.top, hovered.top + 1);

    button.SetBitmap(&strip);  // 100 x 25 after fitting
    button.SetTextColors(kText, kText);
    Show(true, false);
    const Box centred = FindColour(button, kText);
    Show(true, true);
    const Box lowered = FindColour(button, kText);
    ASSERT_GT(centred.count, 0);
    // Centred in a rectangle 1 narrower at the left and 2 lower at the top.
    EXPECT_EQ(lowered.top, centred.top + 1);
    EXPECT_GE(lowered.left - centred.left, 0);
    EXPECT_LE(lowered.left - centred.left, 1);
}

TEST_F(TransButtonTest, AStaticLabelIsTransparentToTheMouseAndNeverChanges) {
    Create("命令名称：", RECT{30, 63, 90, 83});
    button.SetStaticIcon(nullptr);
    EXPECT_EQ(button.SendMessage(WM_NCHITTEST, 0, At(250, 290)), HTTRANSPARENT);
    button.SendMessage(WM_MOUSEMOVE, 0, At(5, 5));
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    button.SendMessage(WM_LBUTTONUP, 0, At(5, 5));
    EXPECT_FALSE(button.m_hover);
    EXPECT_FALSE(button.m_pressed);
    EXPECT_NE(CWnd::GetCapture(), button.m_hWnd);
    EXPECT_TRUE(parent.commands.empty());
    // A click on the label reaches the window beneath it.
    RECT onScreen{};
    button.GetWindowRect(&onScreen);
    EXPECT_EQ(CWnd::WindowFromPoint(POINT{onScreen.left + 5, onScreen.top + 5}), parent.m_hWnd);
}

TEST_F(TransButtonTest, AStaticIconIsDrawnCentredAndOwned) {
    Create("", RECT{10, 10, 110, 40});
    HICON hIcon = static_cast<HICON>(::CopyImage(::LoadIconA(nullptr, IDI_ERROR), IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(hIcon, nullptr);
    button.SetStaticIcon(hIcon);
    Show(false, false);
    // 30 high, icon 16: drawn from y = 7 to 22; the background above and below.
    EXPECT_EQ(ScreenPixel(button, 8, 3), kBackground);
    EXPECT_NE(ScreenPixel(button, 8, 14), kBackground);
    EXPECT_EQ(ScreenPixel(button, 8, 26), kBackground);
    button.DestroyWindow();
}

TEST_F(TransButtonTest, ADoubleClickIsTwoClicks) {
    Create("添加命令", RECT{10, 10, 81, 35});
    button.SetBitmap(&strip);
    button.SendMessage(WM_MOUSEMOVE, 0, At(5, 5));
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    button.SendMessage(WM_LBUTTONUP, 0, At(5, 5));
    button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, At(5, 5));
    button.SendMessage(WM_LBUTTONUP, 0, At(5, 5));
    ASSERT_EQ(parent.commands.size(), 2u);
    EXPECT_FALSE(velmora::testing::IsQueued(WM_COMMAND)) << "sent, not posted";
    for (const auto& command : parent.commands) {
        EXPECT_EQ(command.wParam, MAKEWPARAM(kButtonId, 0));
        EXPECT_EQ(command.lParam, 0);
    }
    EXPECT_EQ(CWnd::GetFocus(), button.m_hWnd) << "a press focuses the button";
}

TEST_F(TransButtonTest, APressDraggedOffSendsNothing) {
    Create("link", RECT{10, 10, 110, 30});
    button.SendMessage(WM_MOUSEMOVE, 0, At(5, 5));
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    button.SendMessage(WM_MOUSEMOVE, 0, At(5, -40));
    EXPECT_FALSE(button.m_hover);
    EXPECT_FALSE(button.m_pressed);
    EXPECT_NE(CWnd::GetCapture(), button.m_hWnd);
    button.SendMessage(WM_LBUTTONUP, 0, At(5, -40));
    EXPECT_TRUE(parent.commands.empty());
}

TEST_F(TransButtonTest, EachModeShowsItsCursor) {
    Create("x", RECT{10, 10, 110, 35});
    HCURSOR hand = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
    HCURSOR arrow = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    CBitmap empty;
    const struct {
        int mode;
        const CBitmap* bitmap;
        HCURSOR expected;
    } cases[] = {{CQebTransButton::kTextButtonMode, nullptr, hand},
                 {CQebTransButton::kBitmapMode, nullptr, hand},
                 {CQebTransButton::kBitmapMode, &empty, hand},
                 {CQebTransButton::kBitmapMode, &strip, arrow},
                 {CQebTransButton::kStaticMode, nullptr, arrow}};
    for (const auto& c : cases) {
        button.m_mode = c.mode;
        button.m_pBitmap = c.bitmap;
        ::SetCursor(nullptr);
        EXPECT_EQ(button.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(button.m_hWnd),
                                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
                  TRUE);
        EXPECT_EQ(::GetCursor(), c.expected) << "mode " << c.mode;
    }
}

}  // namespace
