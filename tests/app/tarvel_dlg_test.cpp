// The real main dialog, built from template 102 in this process under Wine:
// its window, the drop intake with real drop handles, the two registration
// buttons against the prefix's HKEY_LOCAL_MACHINE, the confirmation box and
// the start-up check of the tool's own run command.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/runcmd/CommandText.h"
#include "app/runcmd/ReplaceCheck.h"
#include "app/text/QuestionText.h"
#include "dialog_harness.h"
#include "res/resource.h"
#include "wnd/Geometry.h"
#include "wnd/MessageFilter.h"

namespace {

const std::string kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
const char kBoxCaption[] = "温馨提示";

std::string KeyOf(const char* name) { return kAppPaths + name + ".exe"; }

std::string DefaultValue(const std::string& keyPath) {
    std::string data;
    DWORD type = 0;
    if (!ReadValue(keyPath.c_str(), "", &data, &type)) return "<missing>";
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << keyPath;
    EXPECT_TRUE(!data.empty() && data.back() == '\0') << "stored with its terminating zero";
    return data.substr(0, data.find('\0'));
}

class TarvelDlgTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name :
             {"velmora-test-edit2", "velmora-test-ed", "velmora-test-tools", "velmora-test-again"}) {
            DeleteTree(KeyOf(name).c_str());
        }
        DeleteTree((kAppPaths + "velmora-test-tools").c_str());
        ASSERT_TRUE(dlg.Create());
    }
    void TearDown() override {
        dlg.DestroyWindow();
        for (const char* name : {"velmora-test-edit2", "velmora-test-ed", "velmora-test-again"}) {
            DeleteTree(KeyOf(name).c_str());
        }
        DeleteTree((kAppPaths + "velmora-test-tools").c_str());
    }

    void Drop(std::initializer_list<std::string> paths) {
        dlg.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandle(paths)), 0);
    }
    void Type(const char* text) { TypeInto(dlg, IDC_EDIT_COMMAND_NAME, velmora::WideFrom936(text)); }
    CStringW Name() const { return ControlText(dlg, IDC_EDIT_COMMAND_NAME); }
    std::vector<SeenMessageBox> Press(UINT nID) {
        MessageBoxWatcher watcher(kBoxCaption);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                        reinterpret_cast<LPARAM>(dlg.GetDlgItem(nID)));
        return watcher.Seen();
    }

    AppServices services = ServicesOverScratchKey(kAppPathsKey);
    CTarvelDlg dlg{services};
};

TEST_F(TarvelDlgTest, WindowSizePositionTitleAndStyles) {
    RECT window{};
    dlg.GetWindowRect(&window);
    EXPECT_EQ(window.right - window.left, 355);
    EXPECT_EQ(window.bottom - window.top, 250);

    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoA(::MonitorFromWindow(dlg.m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    EXPECT_NEAR(window.left - work.left, work.right - window.right, 1) << "centred horizontally";
    EXPECT_NEAR(window.top - work.top, work.bottom - window.bottom, 1) << "centred vertically";

    EXPECT_EQ(dlg.GetWindowText(), CStringW(u"添加运行命令"));
    EXPECT_NE(dlg.GetExStyle() & WS_EX_TOPMOST, 0u);
    EXPECT_NE(dlg.GetExStyle() & WS_EX_APPWINDOW, 0u);
    EXPECT_NE(dlg.GetStyle() & WS_CLIPCHILDREN, 0u);
    EXPECT_EQ(dlg.GetStyle() & (WS_CAPTION | WS_THICKFRAME), 0u) << "the skin draws the frame";
    EXPECT_NE(dlg.GetExStyle() & WS_EX_ACCEPTFILES, 0u) << "a drop target";

    const HICON hAppIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(hAppIcon, nullptr);
    // The window's icons are given once its first paint is done.
    dlg.ShowWindow(SW_SHOW);
    dlg.UpdateWindow();
    ASSERT_TRUE(PumpMessagesUntil([&] { return dlg.SendMessage(WM_GETICON, ICON_SMALL) != 0; }));
    EXPECT_EQ(reinterpret_cast<HICON>(dlg.SendMessage(WM_GETICON, ICON_BIG)), hAppIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(dlg.SendMessage(WM_GETICON, ICON_SMALL)), hAppIcon);
    EXPECT_EQ(reinterpret_cast<HICON>(dlg.SendMessage(WM_QUERYDRAGICON)), hAppIcon);
}

TEST_F(TarvelDlgTest, ControlsTextsAndPositions) {
    struct Expected {
        UINT id;
        const char* text;
        RECT rect;
    };
    // The add button fits itself to its strip through a posted command.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    const Expected controls[] = {
        {kUsageLabelId, "使用说明：拖拽Exe文件到此窗口->填写命令名称->点击添加", {20, 38, 340, 58}},
        {kCommandNameLabelId, "命令名称：", {30, 63, 90, 83}},
        {IDC_EDIT_COMMAND_NAME, "", {92, 63, 242, 83}},
        {IDC_BTN_ADD, "添加命令", {260, 60, 331, 85}},  // the strip's height
        {IDC_BTN_ADD_SELF, "添加本程序为 run 命令", {110, 210, 241, 230}},
    };
    for (const Expected& c : controls) {
        HWND hControl = dlg.GetDlgItem(static_cast<int>(c.id));
        ASSERT_NE(hControl, nullptr) << c.id;
        char text[128] = {};
        ::GetWindowTextA(hControl, text, sizeof(text));
        EXPECT_STREQ(text, c.text) << c.id;
        const RECT rect = ChildRect(hControl);
        EXPECT_EQ(rect.left, c.rect.left) << c.id;
        EXPECT_EQ(rect.top, c.rect.top) << c.id;
        EXPECT_EQ(rect.right, c.rect.right) << c.id;
        EXPECT_EQ(rect.bottom, c.rect.bottom) << c.id;
        EXPECT_TRUE(::IsWindowVisible(hControl)) << c.id;
    }
    // The template's controls are bound to the dialog's controls of this layer.
    EXPECT_NO_THROW(BoundControl<CEdit>(dlg, IDC_EDIT_COMMAND_NAME));
    EXPECT_NO_THROW(BoundControl<CQebTransButton>(dlg, IDC_BTN_ADD));
    EXPECT_NO_THROW(BoundControl<CQebTransButton>(dlg, IDC_BTN_ADD_SELF));
    HWND hField = dlg.GetDlgItem(IDC_EDIT_COMMAND_NAME);
    EXPECT_EQ(::SendMessageW(hField, EM_GETLIMITTEXT, 0, 0), 25);
    for (int i = 0; i < 30; ++i) ::SendMessageW(hField, WM_CHAR, 'a', 1);
    EXPECT_EQ(Name(), CStringW(25, u'a')) << "typing stops at the limit";
}

TEST_F(TarvelDlgTest, BackgroundColourAndDroppedIcon) {
    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, 355, 250);
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);

    EXPECT_EQ(dlg.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hMem)), TRUE);
    EXPECT_EQ(::GetPixel(hMem, 10, 100), kDialogBackground) << "the inner rectangle";
    EXPECT_EQ(::GetPixel(hMem, 168, 154), kDialogBackground) << "no icon before a drop";

    // This test program carries the application icon: dropping it shows it.
    Drop({ModulePath()});
    dlg.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hMem));
    int iconPixels = 0;
    for (int y = 130; y < 178; ++y) {
        for (int x = 144; x < 192; ++x) iconPixels += ::GetPixel(hMem, x, y) != kDialogBackground;
    }
    EXPECT_GT(iconPixels, 48 * 48 / 3);
    EXPECT_EQ(::GetPixel(hMem, 143, 154), kDialogBackground) << "nothing outside the 48 x 48 box";
    EXPECT_EQ(::GetPixel(hMem, 192, 154), kDialogBackground);

    // A later non-executable drop leaves the icon in place.
    const RECT iconBox{144, 130, 192, 178};
    const std::vector<COLORREF> shown = ErasedPixels(dlg, iconBox);
    Drop({"C:\\Data\\report.txt"});
    EXPECT_EQ(ErasedPixels(dlg, iconBox), shown);

    ::SelectObject(hMem, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
}

TEST_F(TarvelDlgTest, DropFillsTheNameAndStoresOnlyExecutables) {
    Type("typed by the user");
    Drop({"C:\\Tools\\my.app.EXE"});
    EXPECT_EQ(Name(), CStringW(u"my.app"));
    EXPECT_EQ(dlg.DroppedProgram(), W("C:\\Tools\\my.app.EXE"));

    Drop({"C:\\Data\\report.txt"});
    EXPECT_EQ(Name(), CStringW(u"report"));
    EXPECT_TRUE(dlg.DroppedProgram().IsEmpty());

    Drop({"C:\\app.data\\tool"});
    EXPECT_EQ(Name(), CStringW());
    EXPECT_TRUE(dlg.DroppedProgram().IsEmpty());

    Drop({"C:\\First\\first.exe", "C:\\Second\\second.exe", "C:\\Third\\third.txt"});
    EXPECT_EQ(Name(), CStringW(u"first"));
    EXPECT_EQ(dlg.DroppedProgram(), W("C:\\First\\first.exe"));

    Drop({"C:\\工具\\编辑器.exe"});
    EXPECT_EQ(Name(), CStringW(u"编辑器"));
    EXPECT_EQ(dlg.DroppedProgram(), W("C:\\工具\\编辑器.exe"));
}

TEST_F(TarvelDlgTest, APathLongerThanTheClassicLimitArrivesWhole) {
    const std::string longPath = "C:\\" + std::string(300, 'd') + "\\long.exe";
    Drop({longPath});
    EXPECT_EQ(dlg.DroppedProgram(), W(longPath));
    EXPECT_EQ(Name(), CStringW(u"long"));
}

TEST_F(TarvelDlgTest, AddRegistersTheTrimmedNameAndConfirms) {
    Drop({"C:\\Tools\\ed.exe"});
    Type("  velmora-test-edit2 \t");
    const std::vector<SeenMessageBox> boxes = Press(IDC_BTN_ADD);
    EXPECT_EQ(DefaultValue(KeyOf("velmora-test-edit2")), "C:\\Tools\\ed.exe");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].hOwner, dlg.m_hWnd);
    EXPECT_EQ(boxes[0].text, "运行命令添加成功！");
    EXPECT_EQ(boxes[0].hIcon, ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_MESSAGE_BOX)));
    EXPECT_EQ(Name(), CStringW(u"  velmora-test-edit2 \t"))
        << "the field keeps the text";

    // The accepted program stays: a second name needs no second drop.
    Type("velmora-test-again");
    EXPECT_EQ(Press(IDC_BTN_ADD).size(), 1u);
    EXPECT_EQ(DefaultValue(KeyOf("velmora-test-again")), "C:\\Tools\\ed.exe");
}

TEST_F(TarvelDlgTest, BackslashInTheNameMakesNestedKeys) {
    Drop({"C:\\Tools\\ed.exe"});
    for (const char* name : {"velmora-test-tools\\ed", "velmora-test-tools\\\\ed"}) {
        DeleteTree((kAppPaths + "velmora-test-tools").c_str());
        Type(name);
        EXPECT_EQ(Press(IDC_BTN_ADD).size(), 1u) << name;
        EXPECT_TRUE(KeyExists((kAppPaths + "velmora-test-tools").c_str())) << name;
        EXPECT_EQ(DefaultValue(kAppPaths + "velmora-test-tools\\ed.exe"), "C:\\Tools\\ed.exe") << name;
    }
}

TEST_F(TarvelDlgTest, ExistingEntryGetsTheNewPathAndKeepsItsOtherValues) {
    WriteValue(KeyOf("velmora-test-edit2").c_str(), "", "C:\\Old\\old.exe");
    WriteValue(KeyOf("velmora-test-edit2").c_str(), "Path", "C:\\Old");
    Drop({"C:\\Tools\\ed.exe"});
    Type("velmora-test-edit2");
    {
        // Replacing another program's entry is asked first.
        MessageBoxWatcher question(kReplaceQuestionCaption, IDYES);
        EXPECT_EQ(Press(IDC_BTN_ADD).size(), 1u);
        EXPECT_EQ(question.Seen().size(), 1u);
    }
    EXPECT_EQ(DefaultValue(KeyOf("velmora-test-edit2")), "C:\\Tools\\ed.exe");
    std::string other;
    ASSERT_TRUE(ReadValue(KeyOf("velmora-test-edit2").c_str(), "Path", &other, nullptr));
    EXPECT_STREQ(other.c_str(), "C:\\Old");
}

TEST_F(TarvelDlgTest, AddDoesNothingWithoutANameOrAnExecutable) {
    // Blanks only.
    Drop({"C:\\Tools\\ed.exe"});
    Type(" \t  \t");
    EXPECT_TRUE(Press(IDC_BTN_ADD).empty());

    // No drop at all (a fresh dialog), then a dropped non-executable.
    CTarvelDlg fresh{services};
    ASSERT_TRUE(fresh.Create());
    TypeInto(fresh, IDC_EDIT_COMMAND_NAME, u"velmora-test-ed");
    {
        MessageBoxWatcher watcher(kBoxCaption);
        fresh.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_ADD, BN_CLICKED), 0);
        fresh.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandle({"C:\\Tools\\ed.txt"})), 0);
        TypeInto(fresh, IDC_EDIT_COMMAND_NAME, u"velmora-test-ed");
        fresh.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_ADD, BN_CLICKED), 0);
        EXPECT_TRUE(watcher.Seen().empty());
    }
    fresh.DestroyWindow();
    EXPECT_FALSE(KeyExists(KeyOf("velmora-test-ed").c_str()));
}

std::vector<std::pair<HWND, UINT>> g_allowed;

BOOL WINAPI RecordAllowed(HWND hWnd, UINT message, DWORD action, void*) {
    if (action == 1) g_allowed.emplace_back(hWnd, message);
    return TRUE;
}

TEST(TarvelDlgElevationTest, DropMessagesAreLetThroughTheMessageFilter) {
    g_allowed.clear();
    AppServices services = ServicesOverScratchKey(kAppPathsKey);
    services.messageFilter = {&RecordAllowed, nullptr};
    CTarvelDlg dlg{services};
    ASSERT_TRUE(dlg.Create());
    const std::vector<std::pair<HWND, UINT>> expected = {
        {dlg.m_hWnd, WM_DROPFILES}, {dlg.m_hWnd, WM_COPYDATA}, {dlg.m_hWnd, 0x0049}};
    EXPECT_EQ(g_allowed, expected);
    dlg.DestroyWindow();
}

TEST(TarvelDlgElevationTest, TheManifestAsksForTheHighestAvailableLevelAndPerMonitorDpiAwareness) {
    HMODULE hModule = ::GetModuleHandleA(nullptr);
    HRSRC hInfo = ::FindResourceA(hModule, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(hInfo, nullptr);
    const char* data = static_cast<const char*>(::LockResource(::LoadResource(hModule, hInfo)));
    const std::string manifest(data, ::SizeofResource(hModule, hInfo));
    EXPECT_NE(manifest.find("level=\"highestAvailable\""), std::string::npos)
        << "an administrator is asked to elevate, a standard user runs as is";
    EXPECT_EQ(manifest.find("requireAdministrator"), std::string::npos);
    EXPECT_NE(manifest.find("supportedOS"), std::string::npos);
    // Per-monitor v2, then v1, where dpiAwareness is read (Windows 10);
    // per-monitor on 8.1 and system-aware before that through dpiAware.
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find("SMI/2016/WindowsSettings\">PerMonitorV2"), std::string::npos);
    EXPECT_NE(manifest.find("SMI/2005/WindowsSettings\">true/pm</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find("<windowsSettings>"), std::string::npos);
    // Windows refuses to start a program whose manifest names another processor.
    const char* processor =
        sizeof(void*) == 8 ? "processorArchitecture=\"amd64\"" : "processorArchitecture=\"x86\"";
    EXPECT_NE(manifest.find(processor), std::string::npos) << processor;
}

class TarvelDlgSelfTest : public testing::Test {
protected:
    void SetUp() override { DeleteTree(kAppPathsRunKey); }
    void TearDown() override { DeleteTree(kAppPathsRunKey); }

    bool LinkVisibleAtStart() const {
        CTarvelDlg dlg{services};
        EXPECT_TRUE(dlg.Create());
        const bool visible = IsControlShown(dlg, IDC_BTN_ADD_SELF);
        dlg.DestroyWindow();
        return visible;
    }

    const AppServices services = ServicesOverScratchKey(kAppPathsKey);
};

TEST_F(TarvelDlgSelfTest, TheLinkRegistersTheToolAsRunAndHides) {
    CTarvelDlg dlg{services};
    ASSERT_TRUE(dlg.Create());
    ASSERT_TRUE(IsControlShown(dlg, IDC_BTN_ADD_SELF));
    MessageBoxWatcher watcher(kBoxCaption);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_ADD_SELF, BN_CLICKED), 0);
    EXPECT_FALSE(IsControlShown(dlg, IDC_BTN_ADD_SELF));
    EXPECT_EQ(DefaultValue(N(kAppPathsRunKey)), ModulePath());
    EXPECT_TRUE(watcher.Seen().empty()) << "no message for the self-registration";
    dlg.DestroyWindow();

    EXPECT_FALSE(LinkVisibleAtStart()) << "a restart keeps it hidden";
}

TEST_F(TarvelDlgSelfTest, PressingTheLinkLeavesTheKeyboardFocusOnAVisibleControl) {
    CTarvelDlg dlg{services};
    ASSERT_TRUE(dlg.Create());
    ::SetFocus(dlg.GetDlgItem(IDC_BTN_ADD_SELF));
    ASSERT_EQ(::GetFocus(), dlg.GetDlgItem(IDC_BTN_ADD_SELF));
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_ADD_SELF, BN_CLICKED), 0);
    EXPECT_EQ(::GetFocus(), dlg.GetDlgItem(IDC_EDIT_COMMAND_NAME));
    dlg.DestroyWindow();
}

TEST_F(TarvelDlgSelfTest, TheStartUpCheckIgnoresLetterCaseOnly) {
    EXPECT_TRUE(LinkVisibleAtStart()) << "no run entry";

    std::string upper = ModulePath();
    for (char& c : upper) c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    ASSERT_NE(upper, ModulePath());
    WriteValue(kAppPathsRunKey, "", upper);
    EXPECT_FALSE(LinkVisibleAtStart()) << "this program in other letter case";

    WriteValue(kAppPathsRunKey, "", "C:\\Other\\run.exe");
    EXPECT_TRUE(LinkVisibleAtStart()) << "another program";

    WriteValue(kAppPathsRunKey, "", ModulePath() + "x");
    EXPECT_TRUE(LinkVisibleAtStart()) << "a longer path";
}

}  // namespace
