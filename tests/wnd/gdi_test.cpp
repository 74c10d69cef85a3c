// The window layer's handle owners and GDI classes under Wine: ownership
// handed on and taken back, selections restored, regions given to a window,
// views that never destroy, the off-screen buffer, the tooltip control.
#include "wnd/Gdi.h"

#include <gtest/gtest.h>

#include "base/win32_handles.h"
#include "wnd/DC.h"
#include "wnd/ImageList.h"
#include "wnd/Menu.h"
#include "wnd/ToolTipCtrl.h"
#include "wnd/Wnd.h"

namespace {

RECT Rect(int left, int top, int width, int height) { return RECT{left, top, left + width, top + height}; }

bool IsGdiObject(HGDIOBJ object) { return ::GetObjectType(object) != 0; }

TEST(HandleOwnerTest, AttachDestroysTheOldHandleDetachHandsItOut) {
    HBITMAP first = ::CreateBitmap(4, 4, 1, 1, nullptr);
    HBITMAP second = ::CreateBitmap(4, 4, 1, 1, nullptr);
    HBITMAP kept = nullptr;
    {
        velmora::OwnedBitmap owner(first);
        owner.Attach(first);  // the same handle again: still held, not destroyed
        EXPECT_TRUE(IsGdiObject(first));
        owner.Attach(second);
        EXPECT_FALSE(IsGdiObject(first)) << "replaced, so destroyed";
        velmora::OwnedBitmap moved(std::move(owner));
        EXPECT_FALSE(owner);
        EXPECT_EQ(moved.Get(), second);
        kept = moved.Detach();
        EXPECT_FALSE(moved);
    }
    EXPECT_TRUE(IsGdiObject(kept)) << "detached handles outlive their owner";
    velmora::OwnedBitmap last(kept);
    last.Destroy();
    EXPECT_FALSE(IsGdiObject(kept));
}

TEST(SelectedObjectTest, RestoresWhatItReplacedAndRefusesWhatCannotBeSelected) {
    CMemoryDC dc(nullptr);
    ASSERT_TRUE(dc);
    const HGDIOBJ original = ::GetCurrentObject(dc, OBJ_BITMAP);
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateMonochromeBitmap(8, 8));
    {
        velmora::SelectedObject selected(dc, bitmap.GetSafeHandle());
        EXPECT_TRUE(selected.Selected());
        EXPECT_EQ(::GetCurrentObject(dc, OBJ_BITMAP), bitmap.GetSafeHandle());
        // A bitmap can be in one memory context at a time.
        CMemoryDC other(nullptr);
        velmora::SelectedObject refused(other, bitmap.GetSafeHandle());
        EXPECT_FALSE(refused.Selected());
    }
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BITMAP), original);
    {
        velmora::SelectedObject nothing(dc, static_cast<HBITMAP>(nullptr));
        EXPECT_FALSE(nothing.Selected());
    }
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BITMAP), original);

    CRgn clip;
    ASSERT_TRUE(clip.CreateRectRgn(0, 0, 4, 4));
    EXPECT_EQ(velmora::SelectClipRegion(dc, clip), SIMPLEREGION);
    EXPECT_TRUE(IsGdiObject(clip.GetSafeHandle())) << "the context keeps a copy";
}

TEST(BitmapTest, ReportsItsImageOnlyWhenItHasOne) {
    CBitmap empty;
    BITMAP info{};
    info.bmWidth = 99;
    EXPECT_FALSE(empty.GetBitmap(&info));
    EXPECT_EQ(info.bmWidth, 0) << "zeroed on failure";
    EXPECT_FALSE(empty.HasImage());
    EXPECT_FALSE(empty.LoadBitmap(::GetModuleHandleA(nullptr), 4242)) << "no such resource";

    CBitmap strip;
    CClientDC screen(nullptr);
    ASSERT_TRUE(strip.CreateCompatibleBitmap(screen, 100, 25));
    ASSERT_TRUE(strip.GetBitmap(&info));
    EXPECT_EQ(info.bmWidth, 100);
    EXPECT_EQ(info.bmHeight, 25);
    EXPECT_TRUE(strip.HasImage());
}

TEST(RegionTest, AWindowTakesOverTheRegionItIsGiven) {
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, L"STATIC", u"", WS_POPUP, Rect(0, 0, 40, 30), nullptr, 0));
    CRgn region;
    ASSERT_TRUE(region.CreateRectRgn(0, 0, 40, 30));
    CRgn pixel;
    ASSERT_TRUE(pixel.CreateRectRgn(0, 0, 1, 1));
    EXPECT_EQ(region.CombineRgn(region, pixel, RGN_DIFF), COMPLEXREGION);
    EXPECT_NE(window.SetWindowRgn(region, FALSE), 0);
    EXPECT_EQ(region.GetSafeHandle(), nullptr) << "the window owns it now";

    CRgn readBack;
    ASSERT_TRUE(readBack.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::GetWindowRgn(window, readBack), COMPLEXREGION);
    EXPECT_FALSE(::PtInRegion(readBack, 0, 0));
    EXPECT_TRUE(::PtInRegion(readBack, 1, 0));

    CRgn never;
    EXPECT_EQ(never.CombineRgn(never, pixel, RGN_OR), ERROR) << "no region to combine into";
}

TEST(MenuTest, AViewNeverDestroysTheOwnedMenuAlways) {
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, L"STATIC", u"", WS_POPUP | WS_SYSMENU, Rect(0, 0, 40, 30), nullptr, 0));
    HMENU hSystem = nullptr;
    {
        CMenuView view = window.GetSystemMenu(FALSE);
        hSystem = view.GetSafeHmenu();
        ASSERT_NE(hSystem, nullptr);
        EXPECT_NE(view.GetMenuState(SC_CLOSE), static_cast<UINT>(-1));
        view.EnableMenuItem(SC_MOVE, MF_GRAYED | MF_DISABLED);
        EXPECT_TRUE(view.GetMenuState(SC_MOVE) & MF_GRAYED);
        EXPECT_TRUE(view.SetDefaultItem(SC_CLOSE));
        EXPECT_EQ(view.GetDefaultItem(), static_cast<UINT>(SC_CLOSE));
    }
    EXPECT_TRUE(::IsMenu(hSystem));

    HMENU hOwned = nullptr;
    {
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        hOwned = menu;
        EXPECT_TRUE(menu.AppendMenu(MF_STRING, 42, u"item"));
        EXPECT_EQ(menu.GetMenuItemCount(), 1);
    }
    EXPECT_FALSE(::IsMenu(hOwned));
}

TEST(OffscreenDCTest, ComposesOffScreenAndCopiesInOneBlit) {
    CClientDC screen(nullptr);
    EXPECT_EQ(screen.Window(), nullptr);
    COffscreenDC target(screen, 20, 10);
    ASSERT_TRUE(target.IsReady());
    target.FillSolidRect(Rect(0, 0, 20, 10), RGB(0, 0, 0));
    {
        COffscreenDC buffer(target, 6, 4);
        ASSERT_TRUE(buffer.IsReady());
        buffer.FillSolidRect(Rect(0, 0, 6, 4), RGB(10, 200, 30));
        EXPECT_TRUE(buffer.CopyTo(target, 5, 3));
    }
    EXPECT_EQ(target.GetPixel(5, 3), RGB(10, 200, 30));
    EXPECT_EQ(target.GetPixel(10, 6), RGB(10, 200, 30));
    EXPECT_EQ(target.GetPixel(11, 6), RGB(0, 0, 0));
    EXPECT_EQ(target.GetPixel(4, 3), RGB(0, 0, 0));

    COffscreenDC empty(screen, 0, 5);
    EXPECT_FALSE(empty.IsReady());
    EXPECT_FALSE(empty.CopyTo(target, 0, 0));
}

TEST(FontTest, ReadsAndCopiesALogicalFont) {
    LOGFONTW logFont{};
    ASSERT_TRUE(CFont::GetLogFont(CFont::StockGuiFont(), &logFont));
    logFont.lfUnderline = TRUE;
    CFont underlined;
    ASSERT_TRUE(underlined.CreateFontIndirect(logFont));
    LOGFONTW readBack{};
    ASSERT_TRUE(CFont::GetLogFont(underlined, &readBack));
    EXPECT_TRUE(readBack.lfUnderline);
    EXPECT_FALSE(CFont::GetLogFont(nullptr, &readBack));
}

TEST(FontTest, TheTextFontIsTheStockFontOfAChineseSystem) {
    LOGFONTW stock{};
    LOGFONTW text{};
    ASSERT_TRUE(CFont::GetLogFont(CFont::StockGuiFont(), &stock));
    ASSERT_TRUE(CFont::GetLogFont(CFont::TextFont(), &text));
    EXPECT_EQ(text.lfCharSet, GB2312_CHARSET);
    const HDC hScreen = ::GetDC(nullptr);
    EXPECT_EQ(text.lfHeight, -::MulDiv(9, ::GetDeviceCaps(hScreen, LOGPIXELSY), 72)) << "9 points";
    ::ReleaseDC(nullptr, hScreen);
    if (::GetACP() == 936) {
        EXPECT_EQ(text.lfHeight, stock.lfHeight) << "the stock font's own size here";
    }
    EXPECT_EQ(text.lfWeight, stock.lfWeight);
    EXPECT_STREQ(text.lfFaceName, stock.lfFaceName);
    EXPECT_EQ(CFont::TextFont(), CFont::TextFont()) << "made once";
}

TEST(ImageListTest, KeepsCopiesOfItsIcons) {
    CImageList list;
    EXPECT_EQ(list.Add(::LoadIconA(nullptr, IDI_APPLICATION)), -1) << "no list yet";
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1));
    EXPECT_EQ(list.Add(::LoadIconA(nullptr, IDI_APPLICATION)), 0);
    EXPECT_EQ(list.GetImageCount(), 1);
    CMemoryDC dc(nullptr);
    CBitmap canvas;
    CClientDC screen(nullptr);
    ASSERT_TRUE(canvas.CreateCompatibleBitmap(screen, 16, 16));
    velmora::SelectedObject selected(dc, canvas.GetSafeHandle());
    EXPECT_TRUE(list.Draw(dc, 0, POINT{0, 0}, ILD_TRANSPARENT));
}

// Records the style of every tooltip window created while it is installed.
thread_local DWORD t_createdTipStyle = 0;
LRESULT CALLBACK RecordTipCreation(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == HCBT_CREATEWND) {
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        char className[32] = {};
        ::GetClassNameA(reinterpret_cast<HWND>(wParam), className, sizeof(className));
        if (lstrcmpiA(className, TOOLTIPS_CLASSA) == 0) t_createdTipStyle = static_cast<DWORD>(create->style);
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

TEST(ToolTipCtrlTest, APopupOfItsOwnWithOneToolPerWindow) {
    CWnd top;
    ASSERT_TRUE(top.CreateEx(0, L"STATIC", u"", WS_POPUP, Rect(0, 0, 200, 100), nullptr, 0));
    CWnd child;
    ASSERT_TRUE(child.CreateEx(0, L"STATIC", u"", WS_CHILD | WS_VISIBLE, Rect(5, 5, 50, 20), &top, 7));

    HHOOK hook = ::SetWindowsHookExA(WH_CBT, &RecordTipCreation, nullptr, ::GetCurrentThreadId());
    CToolTipCtrl tip;
    const BOOL created = tip.Create(&child, WS_CHILD | WS_VISIBLE | TTS_ALWAYSTIP);
    ::UnhookWindowsHookEx(hook);
    ASSERT_TRUE(created);
    EXPECT_EQ(t_createdTipStyle & 0x50000001u, 0x50000001u);
    EXPECT_EQ(::GetParent(tip), nullptr) << "never clipped to the child";
    EXPECT_EQ(::GetWindow(tip, GW_OWNER), nullptr) << "never holds a top-most owner down";

    tip.SetDelayTime(TTDT_INITIAL, 100);
    EXPECT_EQ(tip.GetDelayTime(TTDT_INITIAL), 100);
    ASSERT_TRUE(tip.AddTool(&child, u"关闭"));
    EXPECT_EQ(tip.GetToolCount(), 1);
    EXPECT_EQ(tip.GetText(&child), CStringW(u"关闭"));
    tip.UpdateTipText(u"", &child);
    EXPECT_EQ(tip.GetText(&child), CStringW(u""));
    EXPECT_EQ(tip.GetToolCount(), 1);

    CToolTipCtrl never;
    EXPECT_FALSE(never.AddTool(&child, u"x")) << "no window yet";
    EXPECT_EQ(never.GetText(&child), CStringW(u""));
}

}  // namespace
