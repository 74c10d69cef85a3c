// The manager's editing under Wine, on a key that holds a value of every
// type (and a subkey): rename by F2 in the list, change target by F4 and by
// a dropped program, the Path editor, copy to the machine, export, delete
// and import again. After each action the key is read back value by value:
// nothing is lost or retyped. The system's file dialogs, the import preview
// and the Path editor are answered in their place; the keys and the menu
// are the real ones.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/launcher/Launchers.h"
#include "app/platform/LauncherFiles_win32.h"
#include "app/platform/WholeFile_win32.h"
#include "app/ui/PathEditDlg_win32.h"
#include "app/runcmd/ReplaceCheck.h"
#include "app/text/QuestionText.h"
#include "app/text/OutcomeText.h"
#include "app/text/ViewText.h"
#include "dialog_harness.h"
#include "res/resource.h"

namespace {

const char kScratchRoot[] = "SOFTWARE\\Velmora Tests";
const char16_t kScratch[] = u"SOFTWARE\\Velmora Tests\\App Paths";

CStringW Key(const char16_t* name) { return CStringW(kScratch) + u"\\" + name; }

// Every value of a key and of its subkeys: "sub\\name" -> type and bytes.
using Snapshot = std::map<std::u16string, std::pair<DWORD, std::vector<unsigned char>>>;

void Read(HKEY hKey, const std::u16string& prefix, Snapshot& out) {
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameLength = 16384;
        DWORD type = 0;
        DWORD size = 0;
        if (::RegEnumValueW(hKey, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        std::vector<unsigned char> data(size);
        nameLength = 16384;
        ::RegEnumValueW(hKey, i, name, &nameLength, nullptr, &type, data.data(), &size);
        data.resize(size);
        out[prefix + velmora::FromWin(name)] = {type, data};
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (::RegEnumKeyExW(hKey, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        HKEY hSub = nullptr;
        if (::RegOpenKeyExW(hKey, name, 0, KEY_READ, &hSub) != ERROR_SUCCESS) continue;
        const std::u16string sub = prefix + velmora::FromWin(name) + u"\\";
        out[sub] = {};  // the subkey itself
        Read(hSub, sub, out);
        ::RegCloseKey(hSub);
    }
}

// Snapshot of a key, or nothing when it does not exist.
std::optional<Snapshot> Take(HKEY hRoot, const CStringW& keyPath) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(hRoot, velmora::WinText(keyPath), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return std::nullopt;
    Snapshot out;
    Read(hKey, u"", out);
    ::RegCloseKey(hKey);
    return out;
}

void Put(HKEY hRoot, const CStringW& keyPath, const char16_t* name, DWORD type, const void* data,
         DWORD size) {
    HKEY hKey = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(hRoot, velmora::WinText(keyPath), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &hKey, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(hKey, velmora::WinText(name), 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    ::RegCloseKey(hKey);
}

void PutText(HKEY hRoot, const CStringW& keyPath, const char16_t* name, DWORD type, const CStringW& text) {
    Put(hRoot, keyPath, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * 2));
}

// A key with a value of every type: the default value REG_EXPAND_SZ, the
// Path value with a %variable%, the shell's own values and unknown ones.
void PutEveryType(HKEY hRoot, const CStringW& keyPath, const CStringW& target) {
    PutText(hRoot, keyPath, u"", REG_EXPAND_SZ, target);
    PutText(hRoot, keyPath, u"Path", REG_EXPAND_SZ, u"%SystemRoot%\\system32;C:\\velmora-missing");
    const DWORD one = 1;
    Put(hRoot, keyPath, u"UseUrl", REG_DWORD, &one, sizeof one);
    PutText(hRoot, keyPath, u"DropTarget", REG_SZ, u"{86C86720-42A0-1069-A2E8-08002B30309D}");
    const char16_t multi[] = u"http\0https\0";
    Put(hRoot, keyPath, u"Protocols", REG_MULTI_SZ, multi, sizeof multi);
    const unsigned char blob[] = {0, 1, 0xFE, 0xFF, 0x22, 0x5C};
    Put(hRoot, keyPath, u"Unknown binary", REG_BINARY, blob, sizeof blob);
    const unsigned long long big = 0x0123456789ABCDEFull;
    Put(hRoot, keyPath, u"Big", REG_QWORD, &big, sizeof big);
    Put(hRoot, keyPath, u"Nothing", REG_NONE, nullptr, 0);
    Put(hRoot, keyPath, u"\u4E2D\u6587 \"quoted\"", REG_SZ, u"a\\b\"c", 12);
    PutText(hRoot, keyPath + u"\\SupportedProtocols", u"http", REG_SZ, u"");
}

class RunManagerEditTest : public testing::Test {
protected:
    void SetUp() override {
        Clean();
        PutEveryType(HKEY_CURRENT_USER, Key(u"all.exe"), W(ModulePath()));
        PutText(HKEY_CURRENT_USER, Key(u"other.exe"), u"", REG_SZ, u"C:\\velmora-missing\\other.exe");
        ASSERT_TRUE(mgr.Create());
        mgr.ShowWindow(SW_SHOW);
        ::SetForegroundWindow(mgr.m_hWnd);
        original = *Take(HKEY_CURRENT_USER, Key(u"all.exe"));
    }
    void TearDown() override {
        mgr.DestroyWindow();
        Clean();
    }
    static void Clean() {
        DeleteTree(HKEY_LOCAL_MACHINE, kScratchRoot);
        DeleteTree(HKEY_CURRENT_USER, kScratchRoot);
    }
    int RowOf(const char16_t* command, RunScope scope = RunScope::kCurrentUser) {
        for (std::size_t i = 0; i < mgr.ShownEntries().size(); ++i) {
            if (mgr.ShownEntries()[i].command == command && mgr.ShownEntries()[i].scope == scope)
                return static_cast<int>(i);
        }
        return -1;
    }
    void Select(const char16_t* command, RunScope scope = RunScope::kCurrentUser) {
        CommandList(mgr).SetItemState(-1, 0, LVIS_SELECTED);
        const int row = RowOf(command, scope);
        ASSERT_GE(row, 0) << N(command);
        CommandList(mgr).SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    // A key pressed in the list, with Ctrl held or not.
    void Press(WORD vKey, bool control = false) {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = control ? 0x80 : 0;
        ::SetKeyboardState(keys);
        CommandList(mgr).SendMessage(WM_KEYDOWN, vKey, 0);
        keys[VK_CONTROL] = 0;
        ::SetKeyboardState(keys);
    }
    std::string Status() const { return velmora::NarrowTo936(ControlText(mgr, IDC_RUN_STATUS)); }
    // The snapshot with the default value's text replaced.
    Snapshot WithDefault(const CStringW& text) const {
        Snapshot expected = original;
        const auto* bytes = reinterpret_cast<const unsigned char*>(text.c_str());
        expected[u""].second.assign(bytes, bytes + (text.size() + 1) * 2);
        return expected;
    }

    ScriptedChoices choices;
    AppServices services = ServicesOverScratchKey(kScratch, &choices);
    CRunManagerDlg mgr{services};
    Snapshot original;
};

TEST_F(RunManagerEditTest, F2RenamesInTheListKeepingEveryValueIntoAndOutOfAGroup) {
    Select(u"all");
    Press(VK_F2);
    const auto hEdit = reinterpret_cast<HWND>(CommandList(mgr).SendMessage(LVM_GETEDITCONTROL));
    ASSERT_NE(hEdit, nullptr) << "F2 edits the name in its row";
    EXPECT_EQ(::SendMessageW(hEdit, EM_GETLIMITTEXT, 0, 0), 25) << "as long as the main dialog's name field";
    ::SetWindowTextW(hEdit, L"  tools\\renamed ");
    ::SendMessageW(hEdit, WM_KEYDOWN, VK_RETURN, 0);

    EXPECT_FALSE(Take(HKEY_CURRENT_USER, Key(u"all.exe"))) << "the old key is gone";
    EXPECT_EQ(Take(HKEY_CURRENT_USER, Key(u"tools\\renamed.exe")), original) << "every value and type kept";
    EXPECT_EQ(Status(), "已将“all”重命名为“tools\\renamed”");
    ASSERT_GE(RowOf(u"tools\\renamed"), 0);
    EXPECT_EQ(CommandList(mgr).GetSelectedItems(), std::vector<int>{RowOf(u"tools\\renamed")});

    // Out of the group again: the emptied group goes, as deletion does.
    const int row = RowOf(u"tools\\renamed");
    NMLVDISPINFOW end{};
    end.hdr.hwndFrom = CommandList(mgr).m_hWnd;
    end.hdr.idFrom = IDC_RUN_LIST;
    end.hdr.code = LVN_ENDLABELEDITW;
    end.item.iItem = row;
    wchar_t name[] = L"back";
    end.item.pszText = name;
    mgr.SendMessage(WM_NOTIFY, IDC_RUN_LIST, reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(Take(HKEY_CURRENT_USER, Key(u"back.exe")), original);
    EXPECT_FALSE(Take(HKEY_CURRENT_USER, Key(u"tools")));

    // Onto an existing name: asked first, No changes nothing.
    end.item.iItem = RowOf(u"back");
    wchar_t taken[] = L"other";
    end.item.pszText = taken;
    {
        MessageBoxWatcher question(kReplaceQuestionCaption, IDNO);
        mgr.SendMessage(WM_NOTIFY, IDC_RUN_LIST, reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(question.Seen().size(), 1u);
    }
    EXPECT_EQ(Take(HKEY_CURRENT_USER, Key(u"back.exe")), original);
    EXPECT_EQ(DefaultText(HKEY_CURRENT_USER, Key(u"other.exe").c_str()), "C:\\velmora-missing\\other.exe");
    EXPECT_EQ(Status(), "未重命名“back”");

    // A cancelled edit (no text) and a name that makes no entry.
    end.item.pszText = nullptr;
    mgr.SendMessage(WM_NOTIFY, IDC_RUN_LIST, reinterpret_cast<LPARAM>(&end));
    wchar_t blank[] = L"  \\ ";
    end.item.pszText = blank;
    mgr.SendMessage(WM_NOTIFY, IDC_RUN_LIST, reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(Take(HKEY_CURRENT_USER, Key(u"back.exe")), original);
    EXPECT_NE(Status().find("未能重命名“back”"), std::string::npos) << Status();
}

TEST_F(RunManagerEditTest, F4AndADroppedProgramChangeTheTargetOnly) {
    Select(u"all");
    choices.programFile = u"C:\\windows\\system32\\notepad.exe";
    {
        MessageBoxWatcher question(kReplaceQuestionCaption, IDYES);
        Press(VK_F4);
        ASSERT_EQ(question.Seen().size(), 1u) << "another program: asked as registration asks";
    }
    EXPECT_EQ(choices.askedTarget, W(ModulePath())) << "the dialog starts at the current target";
    EXPECT_EQ(Take(HKEY_CURRENT_USER, Key(u"all.exe")), WithDefault(u"C:\\windows\\system32\\notepad.exe"))
        << "REG_EXPAND_SZ stays, every other value too";
    EXPECT_EQ(Status(), "已将“all”的目标改为：C:\\windows\\system32\\notepad.exe");

    // Dropped on the manager: the selected entry. A file that is no program
    // changes nothing.
    mgr.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandle({"C:\\readme.txt"})));
    EXPECT_EQ(Status(), kDropProgramText);
    {
        MessageBoxWatcher question(kReplaceQuestionCaption, IDYES);
        mgr.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandle({ModulePath()})));
    }
    EXPECT_EQ(Take(HKEY_CURRENT_USER, Key(u"all.exe")), original);

    // Two selected: which one is meant is not clear.
    CommandList(mgr).SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    mgr.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandle({ModulePath()})));
    EXPECT_EQ(Status(), kSelectOneText);
    EXPECT_EQ(Take(HKEY_CURRENT_USER, Key(u"all.exe")), original);
}

TEST_F(RunManagerEditTest, ThePathEditorsFoldersAreWrittenWithTheirTypeAndCopyKeepsEverything) {
    Select(u"all");
    std::vector<CStringW> seen;
    choices.pathFolders = [&](const RunEntry& entry, std::vector<CStringW>& folders) {
        EXPECT_EQ(entry.command, CStringW(u"all"));
        seen = folders;
        std::swap(folders[0], folders[1]);
        folders.push_back(u"D:\\Tools");
        return true;
    };
    Press('P', true);
    EXPECT_EQ(seen, (std::vector<CStringW>{u"%SystemRoot%\\system32", u"C:\\velmora-missing"}));
    Snapshot expected = original;
    const CStringW path = u"C:\\velmora-missing;%SystemRoot%\\system32;D:\\Tools";
    const auto* bytes = reinterpret_cast<const unsigned char*>(path.c_str());
    expected[u"Path"] = {REG_EXPAND_SZ, std::vector<unsigned char>(bytes, bytes + (path.size() + 1) * 2)};
    EXPECT_EQ(Take(HKEY_CURRENT_USER, Key(u"all.exe")), expected);
    EXPECT_EQ(CommandList(mgr).GetItemText(RowOf(u"all"), 4), path);

    // Cancelled: nothing written.
    choices.pathFolders = [](const RunEntry&, std::vector<CStringW>& folders) {
        folders.clear();
        return false;
    };
    Press('P', true);
    EXPECT_EQ(Take(HKEY_CURRENT_USER, Key(u"all.exe")), expected);

    // To the machine, with administrator rights (the tests' services are).
    Select(u"all");
    Press('M', true);
    EXPECT_EQ(Take(HKEY_LOCAL_MACHINE, Key(u"all.exe")), expected);
    EXPECT_GE(RowOf(u"all", RunScope::kLocalMachine), 0);
    EXPECT_EQ(Status(), "已复制到本机 1 个运行命令");

    // The context menu offers each action; the copy only to the other scope.
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    mgr.FillContextMenu(menu);
    for (UINT id : {IDM_RUN_RENAME, IDM_RUN_CHANGE_TARGET, IDM_RUN_EDIT_PATH, IDM_RUN_PROPERTIES, IDM_RUN_COPY_TO_USER,
                    IDM_RUN_EXPORT, IDM_RUN_IMPORT, IDC_BTN_RUN, IDC_BTN_DELETE, IDC_BTN_REFRESH})
        EXPECT_EQ(menu.GetMenuState(id) & MF_GRAYED, 0u) << id;
    EXPECT_NE(menu.GetMenuState(IDM_RUN_COPY_TO_MACHINE) & MF_GRAYED, 0u) << "the entry is the machine's";
    {
        ScopedElevation user(services, false);
        CMenu plain;
        ASSERT_TRUE(plain.CreatePopupMenu());
        mgr.FillContextMenu(plain);
        EXPECT_EQ(plain.GetMenuState(IDM_RUN_COPY_TO_USER), static_cast<UINT>(-1))
            << "not without the rights";
    }
}

// The menu key on the list (WM_CONTEXTMENU at -1, -1) opens the context menu
// at the focused row; its item, picked by its letter, works on the selection.
TEST_F(RunManagerEditTest, TheMenuKeyOpensTheContextMenuWhoseItemsWorkOnTheSelection) {
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    const std::string file = std::string(folder) + "velmora-manager-menu.reg";
    choices.exportFile = W(file);
    CommandList(mgr).SetFocus();
    Press('A', true);
    ASSERT_EQ(CommandList(mgr).GetSelectedCount(), 2);
    std::atomic<bool> seen{false};
    std::thread picker([&] {
        for (int i = 0; i < 300; ++i) {
            HWND hMenu = ::FindWindowW(L"#32768", nullptr);
            if (hMenu != nullptr && ::IsWindowVisible(hMenu)) {
                seen = true;
                ::PostMessageW(hMenu, WM_CHAR, 'e', 0);  // 导出(&E)
                return;
            }
            ::Sleep(10);
        }
    });
    CommandList(mgr).SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(CommandList(mgr).m_hWnd),
                                   MAKELPARAM(-1, -1));
    picker.join();
    // The picked item's command arrives as a posted message.
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    EXPECT_TRUE(seen);
    EXPECT_EQ(Status(), "已导出 2 个运行命令到：" + file);
    ::DeleteFileA(file.c_str());
}

// Ctrl+T in the list: the selected command gets its launcher (the real one,
// in a scratch folder), its mark and the folder on a scratch PATH; the 终端
// column shows it; Ctrl+T again takes all of it back, the folder off PATH
// when the user says so. A command whose program is gone is refused.
TEST_F(RunManagerEditTest, CtrlTMakesTheSelectionWorkInTerminalsAndBack) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const CStringW folder = W(std::string(temp) + "velmora-manager-bin");
    const CStringW launcher = folder + u"\\all.exe";
    Win32LauncherFiles files({folder, folder + u"-machine"}, [](ProgramKind kind, std::vector<unsigned char>* pBytes) {
        const CStringW file = W(kind == ProgramKind::kWindows ? VELMORA_LAUNCHER_WINDOWS_EXE : VELMORA_LAUNCHER_CONSOLE_EXE);
        return ReadWholeFile(file, 1 << 20, *pBytes) == ERROR_SUCCESS;
    });
    const CStringW environment = W(std::string(kScratchRoot) + "\\Environment");
    Launchers launchers(*services.registry, services.place, files, {environment, environment});
    services.launchers = &launchers;
    PutText(HKEY_CURRENT_USER, environment, u"Path", REG_EXPAND_SZ, u"%SystemRoot%\\keep");
    mgr.SendMessage(WM_COMMAND, IDC_BTN_REFRESH, 0);

    CommandList(mgr).SetFocus();
    Select(u"all");
    Press('T', true);
    EXPECT_EQ(Status(), "已设为终端可用 1 个运行命令");
    EXPECT_NE(::GetFileAttributesW(velmora::WinText(launcher)), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ((*Take(HKEY_CURRENT_USER, Key(u"all.exe")))[u"VelmoraTerminal"].first, static_cast<DWORD>(REG_DWORD));
    CStringW path;
    DWORD type = 0;
    DWORD size = 0;
    ASSERT_TRUE(ReadValueW(HKEY_CURRENT_USER, environment, u"Path", &path, &type, &size));
    EXPECT_EQ(N(path), "%SystemRoot%\\keep;" + N(folder));
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
    const int row = RowOf(u"all");
    ASSERT_GE(row, 0);
    EXPECT_EQ(std::u16string(CommandList(mgr).GetItemText(row, 5)), u"\u2713");

    {
        MessageBoxWatcher watcher("终端命令", IDYES);
        Select(u"all");
        Press('T', true);
        EXPECT_EQ(watcher.Seen().size(), 1u);
    }
    EXPECT_EQ(Status(), "已取消终端可用 1 个运行命令");
    EXPECT_EQ(::GetFileAttributesW(velmora::WinText(launcher)), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Take(HKEY_CURRENT_USER, Key(u"all.exe"))->count(u"VelmoraTerminal"), 0u);
    ASSERT_TRUE(ReadValueW(HKEY_CURRENT_USER, environment, u"Path", &path, &type, &size));
    EXPECT_EQ(N(path), "%SystemRoot%\\keep");

    Select(u"other");
    Press('T', true);
    EXPECT_EQ(Status(), "未能设为终端可用“other”：目标不是可以启动的程序");
    EXPECT_EQ(Take(HKEY_CURRENT_USER, Key(u"other.exe"))->count(u"VelmoraTerminal"), 0u);

    // 属性…: the options given, written with their launcher; then all cleared again.
    const Snapshot plain = *Take(HKEY_CURRENT_USER, Key(u"all.exe"));
    RunCommandOptions seen;
    choices.options = [&](const RunEntry&, RunCommandOptions& options) {
        seen = options;
        options.arguments = u"-x %*";
        options.environment = {u"A=1"};
        return true;
    };
    Select(u"all");
    mgr.SendMessage(WM_COMMAND, IDM_RUN_PROPERTIES, 0);
    EXPECT_EQ(Status(), "已设置“all”的选项");
    const CStringW optionsLauncher = folder + u"\\options\\all.exe";
    EXPECT_NE(::GetFileAttributesW(velmora::WinText(optionsLauncher)), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Take(HKEY_CURRENT_USER, Key(u"all.exe"))->count(u"VelmoraArguments"), 1u);
    choices.options = [&](const RunEntry&, RunCommandOptions& options) {
        seen = options;
        options = RunCommandOptions();
        return true;
    };
    Select(u"all");
    mgr.SendMessage(WM_COMMAND, IDM_RUN_PROPERTIES, 0);
    EXPECT_EQ(N(seen.arguments), "-x %*");
    EXPECT_EQ(Take(HKEY_CURRENT_USER, Key(u"all.exe")), plain);
    EXPECT_EQ(::GetFileAttributesW(velmora::WinText(optionsLauncher)), INVALID_FILE_ATTRIBUTES);
    ::RemoveDirectoryW(velmora::WinText(folder + u"\\options"));
    ::RemoveDirectoryW(velmora::WinText(folder));
}

TEST_F(RunManagerEditTest, ExportDeleteAndImportBringEveryValueBack) {
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    const std::string file = std::string(folder) + "velmora-manager-export.reg";
    choices.exportFile = W(file);
    choices.importFile = W(file);
    CommandList(mgr).SetItemState(-1, 0, LVIS_SELECTED);
    Press('E', true);  // nothing selected: everything shown
    EXPECT_EQ(Status(), "已导出 2 个运行命令到：" + file);
    const Snapshot other = *Take(HKEY_CURRENT_USER, Key(u"other.exe"));

    DeleteTree(HKEY_CURRENT_USER, kScratchRoot);
    PutText(HKEY_CURRENT_USER, Key(u"other.exe"), u"", REG_SZ, u"C:\\changed.exe");
    std::vector<ImportAction> planned;
    choices.importChoices = [&](const ImportPlan& plan, std::vector<bool>&) {
        for (const ImportItem& item : plan.items) planned.push_back(item.action);
        return true;
    };
    {
        // Our own file is never refused.
        MessageBoxWatcher refusal(kImportAction.name, IDOK);
        Press('I', true);
        EXPECT_TRUE(refusal.Seen().empty()) << refusal.Seen()[0].text;
    }
    EXPECT_EQ(planned, (std::vector<ImportAction>{ImportAction::kAdd, ImportAction::kReplace}));
    EXPECT_EQ(Take(HKEY_CURRENT_USER, Key(u"all.exe")), original);
    EXPECT_EQ(Take(HKEY_CURRENT_USER, Key(u"other.exe")), other);
    EXPECT_EQ(Status(), "已添加 1 个，替换 1 个，跳过 0 个运行命令");

    // Unticked, a replacement is skipped.
    PutText(HKEY_CURRENT_USER, Key(u"other.exe"), u"", REG_SZ, u"C:\\changed.exe");
    choices.importChoices = [](const ImportPlan&, std::vector<bool>& replace) {
        replace.assign(replace.size(), false);
        return true;
    };
    {
        MessageBoxWatcher refusal(kImportAction.name, IDOK);
        Press('I', true);
        EXPECT_TRUE(refusal.Seen().empty());
    }
    EXPECT_EQ(DefaultText(HKEY_CURRENT_USER, Key(u"other.exe").c_str()), "C:\\changed.exe");
    EXPECT_EQ(Status(), "已添加 0 个，替换 0 个，跳过 2 个运行命令");

    // A damaged file is refused with its line, before anything is written.
    const char16_t damaged[] =
        u"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n"
        u"[HKEY_CURRENT_USER\\SOFTWARE\\Velmora Tests\\App Paths\\new.exe]\r\n"
        u"@=\"C:\\\\new.exe\"\r\n"
        u"\"Bad\"=\"a\\qb\"\r\n";
    HANDLE hFile = ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(hFile, damaged, sizeof damaged - 2, &written, nullptr);
    ::CloseHandle(hFile);
    {
        MessageBoxWatcher refusal(kImportAction.name, IDOK);
        Press('I', true);
        ASSERT_EQ(refusal.Seen().size(), 1u);
        EXPECT_NE(refusal.Seen()[0].text.find("第 5 行"), std::string::npos) << refusal.Seen()[0].text;
    }
    EXPECT_FALSE(Take(HKEY_CURRENT_USER, Key(u"new.exe")));
    ::DeleteFileA(file.c_str());
}

}  // namespace

namespace {

// The Path editor itself, modeless here, driven through its window as a
// user does: its field, its list and its buttons.
class PathEditorDriver {
public:
    explicit PathEditorDriver(CPathEditDlg& editor) : m_editor(editor) {}
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        const auto count = static_cast<int>(::SendMessageW(List(), LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[512] = {};
            ::SendMessageW(List(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            rows.push_back(N(velmora::FromWin(text)));
        }
        return rows;
    }
    void Type(const CStringW& text) { ::SetWindowTextW(Field(), velmora::WinText(text)); }
    bool FieldIsEmpty() const { return ::GetWindowTextLengthW(Field()) == 0; }
    void Press(UINT nID) { m_editor.SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), 0); }
    void SelectRow(int row) { ::SendMessageW(List(), LB_SETCURSEL, static_cast<WPARAM>(row), 0); }

private:
    HWND Field() const { return ::GetDlgItem(m_editor.m_hWnd, IDC_PATH_FOLDER); }
    HWND List() const { return ::GetDlgItem(m_editor.m_hWnd, IDC_CHOICE_LIST); }

    CPathEditDlg& m_editor;
};

TEST(PathEditDlgTest, AddsRemovesAndMovesFoldersMarkingMissingOnesAndKeepsThemOnlyOnOk) {
    std::vector<CStringW> folders = {u"%SystemRoot%", u"C:\\velmora-missing"};
    CPathEditDlg dialog(u"ed", folders, nullptr);
    ASSERT_TRUE(dialog.Create());
    PathEditorDriver editor(dialog);
    EXPECT_EQ(dialog.GetWindowText(), CStringW(u"编辑附加路径：ed"));
    EXPECT_EQ(editor.Rows(), (std::vector<std::string>{"%SystemRoot%", "C:\\velmora-missing    （不存在）"}));

    editor.Type(u"  C:\\windows  ");
    editor.Press(IDC_BTN_PATH_ADD);
    EXPECT_TRUE(editor.FieldIsEmpty()) << "the field is emptied for the next one";
    editor.Type(u"c:\\WINDOWS\\");  // the same folder again: not added twice
    editor.Press(IDC_BTN_PATH_ADD);
    EXPECT_EQ(editor.Rows().size(), 3u);
    EXPECT_TRUE(editor.FieldIsEmpty());
    editor.Press(IDC_BTN_PATH_UP);  // the added row is selected
    EXPECT_EQ(editor.Rows(),
              (std::vector<std::string>{"%SystemRoot%", "C:\\windows", "C:\\velmora-missing    （不存在）"}));
    editor.SelectRow(0);
    editor.Press(IDC_BTN_PATH_UP);  // at the top already
    editor.Press(IDC_BTN_PATH_DOWN);
    editor.SelectRow(2);
    editor.Press(IDC_BTN_PATH_REMOVE);
    EXPECT_EQ(editor.Rows(), (std::vector<std::string>{"C:\\windows", "%SystemRoot%"}));
    EXPECT_EQ(folders.size(), 2u) << "nothing kept before 确定";
    EXPECT_EQ(folders[0], CStringW(u"%SystemRoot%"));

    editor.Press(IDOK);
    EXPECT_EQ(folders, (std::vector<CStringW>{u"C:\\windows", u"%SystemRoot%"}));
    EXPECT_FALSE(::IsWindow(dialog.m_hWnd));
}

}  // namespace
