// A program under a path that the ANSI code page (936) cannot hold, from the
// drop to the registry, the shell and the manager: every character arrives.
// The registry is read back through its UTF-16 functions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/runcmd/CommandText.h"
#include "app/registry/Registry_win32.h"
#include "app/platform/ShellLaunch_win32.h"
#include "dialog_harness.h"
#include "res/resource.h"

namespace {

// The marker program (it writes "ran PATH" into its own path plus ".ran"),
// as the build placed it, seen from Wine.
CStringW MarkerProgram() {
    CStringW path = u"Z:" + W(VELMORA_MARKER_EXE);
    for (char16_t& ch : path) ch = ch == u'/' ? u'\\' : ch;
    return path;
}

const CStringW kFolder = u"C:\\velmora-tests\\J\u00F6rg \uD55C\uAD6D";
const CStringW kTool = kFolder + u"\\tool.exe";
// A command name outside 936 as well.
const CStringW kName = u"velmora-test-j\u00F6rg";
const CStringW kKey = CStringW(kAppPathsKey) + u"\\" + kName + u".exe";
const char kScratch[] = "SOFTWARE\\Velmora Tests\\App Paths";

bool FileExists(const CStringW& path) {
    return ::GetFileAttributesW(velmora::WinText(path)) != INVALID_FILE_ATTRIBUTES;
}

class UnicodePathTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ::CreateDirectoryW(L"C:\\velmora-tests", nullptr);
        ::CreateDirectoryW(velmora::WinText(kFolder), nullptr);
        ASSERT_TRUE(::CopyFileW(velmora::WinText(MarkerProgram()), velmora::WinText(kTool), FALSE))
            << N(MarkerProgram());
    }
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, velmora::WinText(kKey));
        DeleteTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velmora Tests");
        ::DeleteFileW(velmora::WinText(kTool + u".ran"));
    }
};

TEST_F(UnicodePathTest, DroppedRegisteredStartedByNameWithEveryCharacter) {
    const AppServices services = ServicesOverScratchKey(kAppPathsKey);
    CTarvelDlg dlg{services};
    ASSERT_TRUE(dlg.Create());
    dlg.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandleW({kTool})), 0);
    EXPECT_EQ(dlg.DroppedProgram(), kTool);
    EXPECT_EQ(ControlText(dlg, IDC_EDIT_COMMAND_NAME), u"tool");
    // Shown once the shell's icon and the 48 x 48 one of our own walk are both
    // read by the UTF-16 name.
    const std::vector<COLORREF> icon = ErasedPixels(dlg, RECT{144, 130, 192, 178});
    EXPECT_NE(icon, std::vector<COLORREF>(icon.size(), kDialogBackground)) << "the dropped program's icon";

    TypeInto(dlg, IDC_EDIT_COMMAND_NAME, kName);
    {
        MessageBoxWatcher confirmation("温馨提示");
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_ADD, BN_CLICKED), 0);
        const std::vector<SeenMessageBox> seen = confirmation.Seen();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, "运行命令添加成功！");
    }
    CStringW stored;
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_TRUE(ReadValueW(HKEY_LOCAL_MACHINE, kKey, CStringW(), &stored, &type, &size));
    EXPECT_EQ(stored, kTool);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, (kTool.size() + 1) * sizeof(char16_t));
    dlg.DestroyWindow();

    // Started by its name, as the Run box does (Wine wants the key's whole
    // name, ".exe" included).
    ASSERT_EQ(ShellOpen(&::ShellExecuteExW, nullptr, kName + u".exe", CStringW()),
              static_cast<DWORD>(ERROR_SUCCESS));
    for (int i = 0; i < 200 && !FileExists(kTool + u".ran"); ++i) ::Sleep(50);
    EXPECT_TRUE(FileExists(kTool + u".ran")) << "the program under the path ran";
}

TEST_F(UnicodePathTest, TheManagerListsThePathWholeAndUnmarkedWhoeverWroteIt) {
    // One entry as the tool writes it, one as another program does.
    CWin32Registry win32;
    ASSERT_TRUE(RegWriteString(win32, ToRegKey(HKEY_LOCAL_MACHINE), W(kScratch) + u"\\ours.exe", CStringW(), kTool));
    HKEY hKey = nullptr;
    const CStringW other = W(kScratch) + u"\\" + kName + u".exe";
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, velmora::WinText(other), 0, nullptr, 0, KEY_WRITE, nullptr,
                                &hKey, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kTool.c_str()),
                     static_cast<DWORD>((kTool.size() + 1) * sizeof(char16_t)));
    ::RegCloseKey(hKey);

    const AppServices services = ServicesOverScratchKey(W(kScratch));
    CRunManagerDlg mgr(services);
    ASSERT_TRUE(mgr.Create());
    ASSERT_EQ(CommandList(mgr).GetItemCount(), 2);
    std::vector<CStringW> commands;
    for (int row = 0; row < 2; ++row) {
        commands.push_back(CommandList(mgr).GetItemText(row, 0));
        EXPECT_EQ(CommandList(mgr).GetItemText(row, 1), kTool) << row;
        EXPECT_EQ(CommandList(mgr).GetItemText(row, 3), CStringW()) << "not marked 失效";
        CommandList(mgr).GetItemImage(row);  // asks for the icon
    }
    // Read by its UTF-16 name on the manager's worker.
    ASSERT_TRUE(PumpMessagesUntil([&] { return mgr.IconsBeingRead() == 0; }));
    for (int row = 0; row < 2; ++row)
        EXPECT_GT(CommandList(mgr).GetItemImage(row), 0) << "the program's own icon";
    EXPECT_EQ(commands, (std::vector<CStringW>{u"ours", kName}));
    // Type-ahead with the name's own letters.
    NMLVFINDITEMW find{};
    find.hdr.hwndFrom = CommandList(mgr).m_hWnd;
    find.hdr.idFrom = IDC_RUN_LIST;
    find.hdr.code = LVN_ODFINDITEMW;
    find.iStart = 0;
    find.lvfi.flags = LVFI_STRING | LVFI_PARTIAL;
    const CStringW typed = u"VELMORA-TEST-J\u00F6";
    find.lvfi.psz = velmora::WinText(typed);
    EXPECT_EQ(mgr.SendMessage(WM_NOTIFY, IDC_RUN_LIST, reinterpret_cast<LPARAM>(&find)), 1);
    mgr.DestroyWindow();
}

}  // namespace
