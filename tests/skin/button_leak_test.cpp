// The skin buttons hold no GDI object beyond their own: after many repaints
// and hover and press cycles the process can still fill nearly its whole GDI
// handle table (Wine reports no GDI counts, so exhaustion is the measure).
#include <gtest/gtest.h>

#include "skin/QebButton.h"
#include "skin/QebTransButton.h"
#include "window_fixture.h"

namespace {

// Repaints of each class, shared out over its looks and modes.
constexpr int kRepaintsPerClass = 20000;
constexpr int kCycles = 200;
// The table holds about 65 000 objects: a leak of one object per repaint
// leaves far fewer than this free.
constexpr int kStillCreatable = 60000;

void HoverPressCycles(CWnd& button) {
    for (int i = 0; i < kCycles; ++i) {
        button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, -50));
        velmora::testing::PumpMessages();
    }
}

// Half of `count` repaints in the normal look, half hovered and pressed.
void Repaints(CWnd& button, int count) {
    for (int i = 0; i < count / 2; ++i) button.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    for (int i = 0; i < count / 2; ++i) button.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, -50));
}

TEST(SkinButtonLeakTest, RepaintsAndCyclesLeakNoGdiObject) {
    velmora::testing::TestParent parent(240, 240, 300, 120);
    ASSERT_NE(parent.m_hWnd, nullptr);
    CBitmap captionStrip;
    velmora::testing::MakeBandedBitmap(captionStrip, 126, 18, {0, 42, 84},
                                       {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3)});
    CBitmap addStrip;
    velmora::testing::MakeBandedBitmap(addStrip, 100, 25, {0, 25, 50, 75},
                                       {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4)});

    CQebButton close;
    ASSERT_TRUE(close.Create(u"", WS_CHILD | WS_VISIBLE, RECT{250, 0, 292, 18}, &parent, 7001));
    close.m_pImage = &captionStrip;
    close.AddToolTip(u"关闭");

    CQebTransButton add;
    ASSERT_TRUE(add.Create(u"添加命令", WS_CHILD | WS_VISIBLE, RECT{10, 30, 81, 55}, &parent, 1000));
    add.SetBitmap(&addStrip);
    CQebTransButton link;
    ASSERT_TRUE(
        link.Create(u"添加本程序为 run 命令", WS_CHILD | WS_VISIBLE, RECT{10, 70, 141, 90}, &parent, 1002));
    link.SetButtonMode();
    link.m_underlineStates = 7;
    CQebTransButton label;
    ASSERT_TRUE(label.Create(u"命令名称：", WS_CHILD | WS_VISIBLE, RECT{150, 30, 210, 50}, &parent, 6610));
    label.SetStaticIcon(
        static_cast<HICON>(::CopyImage(::LoadIconA(nullptr, IDI_INFORMATION), IMAGE_ICON, 16, 16, 0)));

    const struct {
        CWnd* button;
        int repaints;
    } plan[] = {{&close, kRepaintsPerClass},
                {&add, kRepaintsPerClass * 2 / 5},
                {&link, kRepaintsPerClass * 2 / 5},
                {&label, kRepaintsPerClass / 5}};
    for (const auto& step : plan) {
        HoverPressCycles(*step.button);
        Repaints(*step.button, step.repaints);
    }
    velmora::testing::PumpMessages();
    EXPECT_EQ(parent.commands.size(), 3u * kCycles) << "the label sends nothing";
    EXPECT_TRUE(velmora::testing::CanStillCreateGdiObjects(kStillCreatable));
}

}  // namespace
