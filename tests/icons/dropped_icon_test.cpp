// The main dialog's dropped-file icon, in process: a drop of an executable
// draws its 48 x 48 icon at (144, 130) of the real window, a drop of another
// file keeps it, and a new drop replaces and releases both icons.
#include <windows.h>
// after windows.h, which it needs
#include <gtest/gtest.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "app/platform/TargetFile_win32.h"
#include "app/platform/SystemPlace_win32.h"
#include "app/registry/Registry_win32.h"
#include "app/ui/TarvelDlg_win32.h"
#include "tests/icons/win32_test_support.h"

namespace {

using namespace velmora::testing;

CWin32Registry g_registry;
const AppServices g_services{&g_registry, SystemRunCommandPlace(), {RunScope::kLocalMachine, true}, &::ShellExecuteExW,
                             &TargetFileExists, nullptr, MessageFilter{}, CStringW()};

// A drop of one file, as the shell hands it over; the handler releases it.
HDROP MakeDrop(const std::string& path) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + path.size() + 2);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), path.c_str(), path.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

void Drop(CTarvelDlg& dlg, const std::string& path) {
    dlg.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(path)), 0);
    RedrawWindow(dlg.GetSafeHwnd(), nullptr, nullptr,
                 RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
}

bool IconIsAlive(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return true;
}

constexpr int kIconX = 144;
constexpr int kIconY = 130;
constexpr int kIconSize = 48;

// The 48 x 48 square at (144, 130) as the window shows it, and as the icon
// drawn on the dialog's background would look.
struct Square {
    COLORREF pixels[kIconSize][kIconSize];
};

Square ReadWindowSquare(HWND hWnd) {
    Square square{};
    HDC dc = GetDC(hWnd);
    for (int y = 0; y < kIconSize; ++y)
        for (int x = 0; x < kIconSize; ++x) square.pixels[y][x] = GetPixel(dc, kIconX + x, kIconY + y);
    ReleaseDC(hWnd, dc);
    return square;
}

Square ExpectedSquare(HICON icon) {
    Square square{};
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kIconSize, kIconSize);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, kIconSize, kIconSize};
    SetBkColor(dc, kDialogBackground);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    DrawIconEx(dc, 0, 0, icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
    for (int y = 0; y < kIconSize; ++y)
        for (int x = 0; x < kIconSize; ++x) square.pixels[y][x] = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return square;
}

int DifferingPixels(const Square& a, const Square& b) {
    int n = 0;
    for (int y = 0; y < kIconSize; ++y)
        for (int x = 0; x < kIconSize; ++x) n += a.pixels[y][x] != b.pixels[y][x];
    return n;
}

int NonBackgroundPixels(const Square& a) {
    int n = 0;
    for (int y = 0; y < kIconSize; ++y)
        for (int x = 0; x < kIconSize; ++x) n += a.pixels[y][x] != kDialogBackground;
    return n;
}

TEST(DroppedFileIcon, ShownReplacedAndKept) {
    CTarvelDlg dlg(g_services);
    ASSERT_TRUE(dlg.Create());
    dlg.ShowWindow(SW_SHOW);
    dlg.UpdateWindow();
    PumpMessages();
    const HWND hWnd = dlg.GetSafeHwnd();
    EXPECT_EQ(dlg.DroppedProgramIcon(), nullptr);
    EXPECT_EQ(NonBackgroundPixels(ReadWindowSquare(hWnd)), 0) << "no icon before the first drop";

    // An executable with a dot in its name and the extension in capitals.
    const std::string dir = MakeScratchDirectory("drop");
    const std::string exe = dir + "\\my.app.EXE";
    ASSERT_TRUE(CopyFileA((Wine32Directory() + "\\winefile.exe").c_str(), exe.c_str(), FALSE));
    Drop(dlg, exe);
    const HICON first48 = dlg.DroppedProgramIcon();
    ASSERT_NE(first48, nullptr);
    const IconBits bits = ReadIconBits(first48);
    EXPECT_EQ(bits.width, kIconSize);
    EXPECT_EQ(bits.height, kIconSize);
    const Square shown = ReadWindowSquare(hWnd);
    EXPECT_GT(NonBackgroundPixels(shown), 100) << "the icon is drawn";
    EXPECT_EQ(DifferingPixels(shown, ExpectedSquare(first48)), 0) << "exactly the 48 x 48 icon at (144, 130)";

    // A file that is not an executable keeps the icons and the picture.
    const std::string text = dir + "\\notes.txt";
    WriteFileBytes(text, {'h', 'i'});
    Drop(dlg, text);
    EXPECT_EQ(dlg.DroppedProgramIcon(), first48);
    EXPECT_EQ(DifferingPixels(ReadWindowSquare(hWnd), shown), 0);

    // An executable without any icon is accepted, but the icons stay.
    const std::string bare = dir + "\\bare.exe";
    WriteFileBytes(bare, ReadFileBytes(Wine32Directory() + "\\attrib.exe"));
    Drop(dlg, bare);
    EXPECT_EQ(dlg.DroppedProgramIcon(), first48);

    // The same executable again: fresh icons, the old ones destroyed.
    Drop(dlg, exe);
    EXPECT_NE(dlg.DroppedProgramIcon(), nullptr);
    EXPECT_NE(dlg.DroppedProgramIcon(), first48);
    EXPECT_FALSE(IconIsAlive(first48));
    EXPECT_TRUE(IconIsAlive(dlg.DroppedProgramIcon()));
    EXPECT_EQ(DifferingPixels(ReadWindowSquare(hWnd), shown), 0);

    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PumpMessages();
}

}  // namespace
