// The main window opened with a file (Velmora.exe PROGRAM) and given
// shortcuts made with IShellLinkW, dropped and on the command line; the
// window menu's switch of the Explorer entries over a scratch key of the
// user's registry. Under Wine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/platform/Shortcuts_win32.h"
#include "app/platform/TargetFile_win32.h"
#include "app/registry/Registry_win32.h"
#include "dialog_harness.h"
#include "memory_shortcut_files.h"

namespace {

const std::string kKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\velmora-test-start.exe";
const char kBoxCaption[] = "温馨提示";

// A scratch folder below the temporary folder, with a name outside the ANSI code page.
CStringW ScratchFolder() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    CStringW folder = velmora::FromWin(temp) + u"velmora 快捷 한국";
    ::CreateDirectoryW(velmora::WinText(folder), nullptr);
    return folder;
}

class TarvelDlgStartTest : public testing::Test {
protected:
    void TearDown() override {
        if (dlg.m_hWnd != nullptr) dlg.DestroyWindow();
        DeleteTree(kKey.c_str());
    }
    // The window opened as Velmora.exe is started: the command line read
    // as the program reads it, then the dialog made.
    std::vector<SeenMessageBox> Open(const CStringW& commandLine) {
        MessageBoxWatcher watcher(kBoxCaption);
        dlg.OpenWith(StartFileOf(commandLine, &IsExistingFile));
        EXPECT_TRUE(dlg.Create());
        // The message about a missing file is posted: let it come.
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        return watcher.Seen();
    }
    CStringW Name() const { return ControlText(dlg, IDC_EDIT_COMMAND_NAME); }

    AppServices services = ServicesOverScratchKey(kAppPathsKey);
    CTarvelDlg dlg{services};
    const CStringW self = W(ModulePath());
    const CStringW folder = ScratchFolder();
};

TEST_F(TarvelDlgStartTest, StartedWithAProgramItIsTakenAsADropAndRegisters) {
    EXPECT_TRUE(Open(u"\"C:\\V\\Velmora.exe\" \"" + self + u"\" ignored").empty());
    EXPECT_EQ(dlg.DroppedProgram(), self);
    EXPECT_EQ(Name(), GetFileTitleFromPath(self));
    EXPECT_NE(dlg.DroppedProgramIcon(), nullptr) << "the program's icon is shown";

    TypeInto(dlg, IDC_EDIT_COMMAND_NAME, u"velmora-test-start");
    MessageBoxWatcher watcher(kBoxCaption);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_ADD, BN_CLICKED),
                    reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDC_BTN_ADD)));
    EXPECT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(DefaultText(HKEY_LOCAL_MACHINE, kKey), N(self));
}

TEST_F(TarvelDlgStartTest, AMissingFileOpensAnEmptyWindowThatSaysSo) {
    const std::vector<SeenMessageBox> boxes = Open(u"Velmora.exe \"C:\\Gone\\no such.exe\"");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "找不到文件，没有取用任何程序：\nC:\\Gone\\no such.exe");
    EXPECT_TRUE(dlg.DroppedProgram().IsEmpty());
    EXPECT_EQ(Name(), CStringW());
    EXPECT_EQ(dlg.DroppedProgramIcon(), nullptr);
}

TEST_F(TarvelDlgStartTest, AFolderIsTakenAsADropOfItIsWithNoMessage) {
    EXPECT_TRUE(Open(u"Velmora.exe \"" + folder + u"\"").empty());
    EXPECT_TRUE(dlg.DroppedProgram().IsEmpty());
    EXPECT_EQ(Name(), GetFileTitleFromPath(folder));
}

TEST_F(TarvelDlgStartTest, AShortcutToAProgramIsThatProgramUnderTheShortcutsName) {
    const CStringW shortcut = folder + u"\\我的 工具.lnk";
    ASSERT_TRUE(WriteShortcut(shortcut, self, u"--flag"));
    CStringW target;
    ASSERT_TRUE(ReadShortcutTarget(shortcut, &target));
    EXPECT_EQ(target.CompareNoCase(self), 0) << N(target);

    // On the command line, unquoted: blanks and all.
    EXPECT_TRUE(Open(u"Velmora.exe " + shortcut).empty());
    EXPECT_EQ(Name(), CStringW(u"我的 工具"));
    EXPECT_EQ(dlg.DroppedProgram().CompareNoCase(self), 0);
    EXPECT_NE(dlg.DroppedProgramIcon(), nullptr);

    // Dropped: a shortcut to a document is what a document is; one that
    // cannot be read too; a shortcut to a program again takes the program.
    const CStringW document = folder + u"\\notes.lnk";
    ASSERT_TRUE(WriteShortcut(document, folder + u"\\notes.txt"));
    const CStringW damaged = folder + u"\\damaged.lnk";
    const HANDLE file = ::CreateFileW(velmora::WinText(damaged), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, "not a shortcut", 14, &written, nullptr);
    ::CloseHandle(file);
    for (const CStringW& other : {document, damaged}) {
        dlg.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandleW({other})), 0);
        EXPECT_TRUE(dlg.DroppedProgram().IsEmpty()) << N(other);
        EXPECT_EQ(Name(), GetFileTitleFromPath(other));
    }
    dlg.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandleW({shortcut})), 0);
    EXPECT_EQ(Name(), CStringW(u"我的 工具"));
    EXPECT_EQ(dlg.DroppedProgram().CompareNoCase(self), 0);
    for (const CStringW& made : {shortcut, document, damaged}) ::DeleteFileW(velmora::WinText(made));
}

TEST_F(TarvelDlgStartTest, TheWindowMenuAndTheManagerSwitchTheExplorerEntriesAndShowTheirState) {
    const char* scratch = "Software\\VelmoraTest\\explorer-switch";
    DeleteTree(HKEY_CURRENT_USER, scratch);
    HKEY root = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, scratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root, nullptr),
              ERROR_SUCCESS);
    MemoryShortcutFiles files;
    files.programs = {N(self)};
    ExplorerIntegration explorer(*services.registry, ToRegKey(root), files);
    services.explorer = &explorer;
    services.explorerProgram = self;
    Open(u"Velmora.exe");

    const HMENU menu = ::GetSystemMenu(dlg.m_hWnd, FALSE);
    const int items = ::GetMenuItemCount(menu);
    EXPECT_EQ(::GetMenuItemID(menu, items - 2), static_cast<UINT>(IDM_EXPLORER_ENTRIES));
    EXPECT_EQ(::GetMenuItemID(menu, items - 1), static_cast<UINT>(IDM_MANAGE_RUN_COMMANDS)) << "still the last";
    const auto checked = [&] {
        dlg.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
        return (::GetMenuState(menu, IDM_EXPLORER_ENTRIES, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    EXPECT_FALSE(checked());
    const auto pick = [&] {
        MessageBoxWatcher watcher(kBoxCaption);
        dlg.SendMessage(WM_SYSCOMMAND, IDM_EXPLORER_ENTRIES, 0);
        const std::vector<SeenMessageBox> seen = watcher.Seen();
        return seen.empty() ? std::string() : seen[0].text;
    };
    EXPECT_NE(pick().find("已在资源管理器"), std::string::npos);
    EXPECT_TRUE(checked());
    const std::string command = "Software\\Classes\\SystemFileAssociations\\.lnk\\shell\\VelmoraAddRunCommand\\command";
    EXPECT_EQ(DefaultText(root, command), "\"" + N(self) + "\" \"%1\"");
    EXPECT_EQ(files.shortcuts.size(), 1u);

    // Another user's elevated token writes nothing.
    services.runsAsShellUser = false;
    EXPECT_NE(pick().find("另一个账户"), std::string::npos);
    EXPECT_TRUE(checked());
    services.runsAsShellUser = true;
    EXPECT_NE(pick().find("已从资源管理器"), std::string::npos);
    EXPECT_FALSE(checked());
    EXPECT_FALSE(KeyExists(root, "Software\\Classes\\SystemFileAssociations"));
    EXPECT_TRUE(files.shortcuts.empty());

    // The manager's context menu has the same switch, its outcome on the status line.
    CRunManagerDlg manager{services};
    ASSERT_TRUE(manager.Create());
    const auto managerChecked = [&] {
        CMenu popup;
        popup.CreatePopupMenu();
        manager.FillContextMenu(popup);
        return (popup.GetMenuState(IDM_EXPLORER_ENTRIES) & MF_CHECKED) != 0;
    };
    EXPECT_FALSE(managerChecked());
    manager.SendMessage(WM_COMMAND, IDM_EXPLORER_ENTRIES, 0);
    EXPECT_NE(N(ControlText(manager, IDC_RUN_STATUS)).find("已在资源管理器"), std::string::npos);
    EXPECT_TRUE(managerChecked());
    EXPECT_TRUE(checked()) << "the main window's item follows";
    manager.SendMessage(WM_COMMAND, IDM_EXPLORER_ENTRIES, 0);
    EXPECT_FALSE(managerChecked());
    manager.DestroyWindow();
    ::RegCloseKey(root);
    DeleteTree(HKEY_CURRENT_USER, scratch);
}

}  // namespace
