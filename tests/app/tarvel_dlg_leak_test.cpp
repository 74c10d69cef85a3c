// The skinned main dialog holds no GDI object beyond its own, however often
// it is repainted, moved and resized: after that the process can still fill
// nearly its whole GDI handle table (Wine reports no GDI counts).
#include <gtest/gtest.h>

#include <vector>

#include "base/win32_handles.h"
#include "dialog_harness.h"
#include "wnd/DC.h"

namespace {

// Repaints of the whole dialog. Most go straight to its painting into a
// memory context, which runs every GDI call of the frame and the interior
// without waiting for the screen; the rest take the window's own road,
// children included.
constexpr int kRepaints = 20000;
constexpr int kWindowRepaints = 500;
constexpr int kMoveAndSizeCycles = 100;
// The table holds about 65 000 objects: one object leaked per repaint
// leaves far fewer than this free.
constexpr int kStillCreatable = 60000;

bool CanStillCreateGdiObjects(int count) {
    std::vector<velmora::OwnedRegion> regions;
    regions.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        velmora::OwnedRegion region(::CreateRectRgn(0, 0, 1, 1));
        if (!region) return false;
        regions.push_back(std::move(region));
    }
    return true;
}

TEST(TarvelDlgLeakTest, RepaintsMovesAndResizesLeakNoGdiObject) {
    const AppServices services = ServicesOverScratchKey(kAppPathsKey);
    CTarvelDlg dlg{services};
    ASSERT_TRUE(dlg.Create());
    // With a dropped program's icon, so its drawing is repeated too.
    dlg.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandle({ModulePath()})), 0);
    const std::vector<COLORREF> icon = ErasedPixels(dlg, RECT{144, 130, 192, 178});
    ASSERT_NE(icon, std::vector<COLORREF>(icon.size(), kDialogBackground));

    CClientDC screen(nullptr);
    COffscreenDC canvas(screen, 355, 250);
    ASSERT_TRUE(canvas.IsReady());
    for (int i = 0; i < kRepaints - kWindowRepaints; ++i) {
        ASSERT_EQ(dlg.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.GetSafeHdc())), TRUE);
    }
    for (int i = 0; i < kWindowRepaints; ++i)
        dlg.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    RECT start{};
    dlg.GetWindowRect(&start);
    for (int i = 0; i < kMoveAndSizeCycles; ++i) {
        dlg.MoveWindow(start.left + i % 7, start.top + i % 5, 355 + i, 250 + i / 2, TRUE);
        dlg.MoveWindow(start.left, start.top, 355, 250, TRUE);
    }
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    EXPECT_TRUE(CanStillCreateGdiObjects(kStillCreatable));
    dlg.DestroyWindow();
}

}  // namespace
