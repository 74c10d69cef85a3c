// The run-command manager in this process under Wine, listing scratch trees
// of its own below HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER: the frame, the
// list with its marks and icons, sorting, deleting one and several entries
// (and a delete that fails), and running and showing entries through the
// shell function put in place of the real one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/registry/Registry_win32.h"
#include "base/win32_handles.h"
#include "app/ui/RunManagerLayout.h"
#include "app/text/OutcomeText.h"
#include "app/text/ViewText.h"
#include "app/platform/ShellLaunch_win32.h"
#include "app/platform/TargetFile_win32.h"
#include "memory_registry.h"
#include "dialog_harness.h"
#include "res/resource.h"

namespace {

const char kScratchRoot[] = "SOFTWARE\\Velmora Tests";
const char kScratch[] = "SOFTWARE\\Velmora Tests\\App Paths";
const char kMissing[] = "C:\\velmora-missing\\";

std::string Key(const char* name) { return std::string(kScratch) + "\\" + name; }

bool RunsUnderWow64() {
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

std::string SystemWindowsFolder() {
    char folder[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemWindowsDirectoryA(folder, sizeof folder);
    return length > 0 && length < sizeof folder ? folder : "";
}

struct Row {
    std::string command, target, scope, state;
    friend bool operator==(const Row&, const Row&) = default;
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.command << " | " << row.target << " | " << row.scope << " | " << row.state;
}

// Shell calls seen instead of made.
struct ShellCall {
    std::string file, parameters;
};
std::vector<ShellCall> g_shellCalls;
DWORD g_shellError = ERROR_SUCCESS;

BOOL WINAPI RecordShellExecute(SHELLEXECUTEINFOW* info) {
    g_shellCalls.push_back({N(velmora::FromWin(info->lpFile)), N(velmora::FromWin(info->lpParameters))});
    ::SetLastError(g_shellError);
    return g_shellError == ERROR_SUCCESS;
}

class RunManagerDlgTest : public testing::Test {
protected:
    void SetUp() override {
        Clean();
        WriteValue(HKEY_LOCAL_MACHINE, Key("ed.exe").c_str(), "", ModulePath());
        WriteValue(HKEY_LOCAL_MACHINE, Key("ed.exe").c_str(), "Path", "C:\\Tools");
        WriteValue(HKEY_LOCAL_MACHINE, Key("tools\\nested.exe").c_str(), "", ModulePath());
        WriteValue(HKEY_LOCAL_MACHINE, Key("gone.exe").c_str(), "", std::string(kMissing) + "gone.exe");
        WriteValue(HKEY_LOCAL_MACHINE, Key("shared.exe").c_str(), "", ModulePath());
        WriteValue(HKEY_LOCAL_MACHINE, Key("readme.txt\\note").c_str(), "", "no entry");
        WriteValue(HKEY_CURRENT_USER, Key("shared.exe").c_str(), "", ModulePath());
        WriteValue(HKEY_CURRENT_USER, Key("mine.exe").c_str(), "", std::string(kMissing) + "mine.exe");
        services.shellExecute = &RecordShellExecute;
        g_shellCalls.clear();
        g_shellError = ERROR_SUCCESS;
        ASSERT_TRUE(mgr.Create());
    }
    void TearDown() override {
        mgr.DestroyWindow();
        Clean();
    }
    static void Clean() {
        DeleteTree(HKEY_LOCAL_MACHINE, kScratchRoot);
        DeleteTree(HKEY_CURRENT_USER, kScratchRoot);
    }

    std::vector<Row> Rows() const {
        std::vector<Row> rows;
        for (int i = 0; i < CommandList(mgr).GetItemCount(); ++i) {
            rows.push_back({velmora::NarrowTo936(CommandList(mgr).GetItemText(i, 0)),
                            velmora::NarrowTo936(CommandList(mgr).GetItemText(i, 1)),
                            velmora::NarrowTo936(CommandList(mgr).GetItemText(i, 2)),
                            velmora::NarrowTo936(CommandList(mgr).GetItemText(i, 3))});
        }
        return rows;
    }
    std::vector<std::string> Commands() const {
        std::vector<std::string> commands;
        for (const Row& row : Rows()) commands.push_back(row.command + (row.scope == "本机" ? "/m" : "/u"));
        return commands;
    }
    int RowOf(const std::string& commandAndScope) const {
        const std::vector<std::string> commands = Commands();
        for (std::size_t i = 0; i < commands.size(); ++i) {
            if (commands[i] == commandAndScope) return static_cast<int>(i);
        }
        return -1;
    }
    void Select(std::initializer_list<const char*> rows) {
        CommandList(mgr).SetItemState(-1, 0, LVIS_SELECTED);
        for (const char* row : rows) {
            const int index = RowOf(row);
            ASSERT_GE(index, 0) << row;
            CommandList(mgr).SetItemState(index, LVIS_SELECTED, LVIS_SELECTED);
        }
    }
    void Press(UINT nID) { mgr.SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), 0); }
    std::vector<SeenMessageBox> PressAnswering(UINT nID, const char* caption, int answer) {
        MessageBoxWatcher watcher(caption, answer);
        Press(nID);
        return watcher.Seen();
    }
    // A notification of the list, as the list sends it.
    void Notify(UINT code, int item, int subItem = 0) {
        NMITEMACTIVATE nm{};
        nm.hdr.hwndFrom = CommandList(mgr).m_hWnd;
        nm.hdr.idFrom = IDC_RUN_LIST;
        nm.hdr.code = code;
        nm.iItem = item;
        nm.iSubItem = subItem;
        mgr.SendMessage(WM_NOTIFY, IDC_RUN_LIST, reinterpret_cast<LPARAM>(&nm));
    }
    std::string Status() const { return velmora::NarrowTo936(ControlText(mgr, IDC_RUN_STATUS)); }

    AppServices services = ServicesOverScratchKey(W(kScratch));
    CRunManagerDlg mgr{services};
};

TEST_F(RunManagerDlgTest, ListsBothScopesWithNestedNamesMarksAndIcons) {
    const std::string self = ModulePath();
    const std::vector<Row> expected = {
        {"ed", self, "本机", ""},
        {"gone", std::string(kMissing) + "gone.exe", "本机", "失效"},
        {"mine", std::string(kMissing) + "mine.exe", "当前用户", "失效"},
        {"shared", self, "本机", "被覆盖"},
        {"shared", self, "当前用户", ""},
        {"tools\\nested", self, "本机", ""},
    };
    // Listed by their keys: a row's values are read as it is drawn, its
    // broken mark with them; the rest, and the count of broken entries,
    // follow while the window is idle.
    EXPECT_TRUE(mgr.ValuesBeingRead());
    // The frame's resize timer is its own: its tick reads nothing.
    mgr.SendMessage(WM_TIMER, CQebDialog::RESIZE_TIMER_ID, 0);
    EXPECT_TRUE(mgr.ValuesBeingRead());
    EXPECT_EQ(Rows(), expected);
    EXPECT_TRUE(PumpMessagesUntil([&] { return !mgr.ValuesBeingRead(); }));
    EXPECT_EQ(Status(), "共 6 个运行命令，2 个失效，1 个被覆盖");

    // The rows show the stand-in, image 0, at once: the icons are read on
    // the worker and come in as the window's messages are handled.
    for (int row = 0; row < CommandList(mgr).GetItemCount(); ++row)
        EXPECT_EQ(CommandList(mgr).GetItemImage(row), 0) << row;
    ASSERT_TRUE(PumpMessagesUntil([&] { return mgr.IconsBeingRead() == 0; }));
    // This test program carries the application icon; a missing target
    // keeps the stand-in. One file is read once for its three rows.
    const int own = CommandList(mgr).GetItemImage(RowOf("ed/m"));
    EXPECT_GT(own, 0);
    EXPECT_EQ(CommandList(mgr).GetItemImage(RowOf("tools\\nested/m")), own);
    EXPECT_EQ(CommandList(mgr).GetItemImage(RowOf("gone/m")), 0);
    EXPECT_EQ(CommandList(mgr).GetItemImage(RowOf("shared/u")), own);
    EXPECT_EQ(ImageList_GetImageCount(RowImages(mgr)), 2);
    int cx = 0;
    int cy = 0;
    ::ImageList_GetIconSize(RowImages(mgr), &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
}

TEST_F(RunManagerDlgTest, IconsComeAfterTheFirstPaintAndNotIntoANewerImageList) {
    // The first paint asks for the rows' icons and shows the stand-in.
    mgr.ShowWindow(SW_SHOW);
    CommandList(mgr).UpdateWindow();
    const int row = RowOf("ed/m");
    EXPECT_EQ(CommandList(mgr).GetItemImage(row), 0);
    EXPECT_EQ(mgr.IconsBeingRead(), 1u) << "one file for the four rows of this program";

    // Another DPI before the icon came: the read for the old image list is
    // dropped, and the file read again at the new size.
    RECT window{};
    mgr.GetWindowRect(&window);
    const RECT suggested{window.left, window.top, window.left + 1050, window.top + 630};
    mgr.SendMessage(0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(CommandList(mgr).GetItemImage(row), 0);
    ASSERT_TRUE(PumpMessagesUntil([&] { return mgr.IconsBeingRead() == 0; }));
    EXPECT_GT(CommandList(mgr).GetItemImage(row), 0);
    EXPECT_EQ(ImageList_GetImageCount(RowImages(mgr)), 2) << "the stand-in and this program's icon, once";
    int cx = 0;
    int cy = 0;
    ::ImageList_GetIconSize(RowImages(mgr), &cx, &cy);
    EXPECT_EQ(cx, 24);

    // Closed while a file is being read: the worker is stopped and joined,
    // and what it read goes with it.
    mgr.SendMessage(WM_COMMAND, IDC_BTN_REFRESH);
    mgr.SendMessage(0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&window));
    CommandList(mgr).UpdateWindow();
    EXPECT_EQ(mgr.IconsBeingRead(), 1u);
    mgr.DestroyWindow();
    EXPECT_EQ(mgr.m_hWnd, nullptr);
    ASSERT_TRUE(PumpMessagesUntil([] { return true; }));
}

// A watch the test speaks for: whether the keys changed, and how many
// listings the manager began.
struct ScriptedWatch final : ListingChangeWatch {
    struct State {
        bool changed = false;
        int listings = 0;
    };
    explicit ScriptedWatch(State& state) : state(state) {}
    void Rearm() override {
        ++state.listings;
        state.changed = false;
    }
    bool MayHaveChanged() override { return state.changed; }
    State& state;
};

TEST_F(RunManagerDlgTest, ARefreshListsAgainOnlyAfterAChangeAndKeepsTheIconsRead) {
    ScriptedWatch::State watch;
    AppServices watched = services;
    watched.watchListing = [&watch](const RunCommandPlace&) { return std::make_unique<ScriptedWatch>(watch); };
    CRunManagerDlg manager{watched};
    ASSERT_TRUE(manager.Create());
    EXPECT_EQ(watch.listings, 1);
    manager.ShowWindow(SW_SHOW);
    CommandList(manager).UpdateWindow();
    ASSERT_TRUE(PumpMessagesUntil([&] { return manager.IconsBeingRead() == 0; }));
    CommandList(manager).SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    const auto shown = [&manager] {
        std::vector<std::string> commands;
        for (const RunEntry& entry : manager.ShownEntries()) commands.push_back(N(entry.command));
        return commands;
    };
    const std::vector<std::string> before = shown();

    // Written behind the watch's back: nothing is read again, the selection
    // stays, the status line is the listing's.
    WriteValue(HKEY_CURRENT_USER, Key("added.exe").c_str(), "", ModulePath());
    manager.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_REFRESH, BN_CLICKED), 0);
    EXPECT_EQ(watch.listings, 1);
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(CommandList(manager).GetSelectedCount(), 1);
    EXPECT_EQ(velmora::NarrowTo936(ControlText(manager, IDC_RUN_STATUS)), "共 6 个运行命令，2 个失效，1 个被覆盖");

    // Seen: listed again, and the program whose icon is in is not read again.
    watch.changed = true;
    manager.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_REFRESH, BN_CLICKED), 0);
    CommandList(manager).UpdateWindow();
    EXPECT_EQ(watch.listings, 2);
    EXPECT_EQ(shown().size(), before.size() + 1);
    EXPECT_EQ(manager.IconsBeingRead(), 0u);
    EXPECT_EQ(ImageList_GetImageCount(RowImages(manager)), 2);

    // The manager's own changes are listed whatever the watch says.
    CommandList(manager).SetItemState(-1, 0, LVIS_SELECTED);
    const std::vector<std::string> rows = shown();
    const auto added = std::find(rows.begin(), rows.end(), "added") - rows.begin();
    ASSERT_LT(added, static_cast<std::ptrdiff_t>(rows.size()));
    CommandList(manager).SetItemState(static_cast<int>(added), LVIS_SELECTED, LVIS_SELECTED);
    {
        MessageBoxWatcher yes(kDeleteQuestionCaption, IDYES);
        manager.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_DELETE, BN_CLICKED), 0);
    }
    EXPECT_EQ(watch.listings, 3);
    EXPECT_EQ(shown(), before);
    manager.DestroyWindow();
}

TEST_F(RunManagerDlgTest, TheFilterAnswersWhileTheIconsAreStillBeingRead) {
    // The icon reader holds every file until the test lets it go.
    velmora::OwnedKernelHandle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    AppServices slow = services;
    slow.iconReader = [&release](const CStringW& file, int side, HANDLE stop) {
        const HANDLE either[] = {release.Get(), stop};
        ::WaitForMultipleObjects(2, either, FALSE, 30000);
        return FileIconLoader::ReadTargetFileIcon(file, side, stop);
    };
    CRunManagerDlg manager{slow};
    ASSERT_TRUE(manager.Create());
    manager.ShowWindow(SW_SHOW);
    CommandList(manager).UpdateWindow();
    ASSERT_EQ(manager.IconsBeingRead(), 1u);

    TypeInto(manager, IDC_RUN_FILTER, u"gone");
    CommandList(manager).UpdateWindow();
    EXPECT_EQ(CommandList(manager).GetItemCount(), 1);
    EXPECT_EQ(manager.IconsBeingRead(), 1u) << "answered while the icon is still being read";
    TypeInto(manager, IDC_RUN_FILTER, CStringW());
    EXPECT_EQ(CommandList(manager).GetItemCount(), 6);

    ::SetEvent(release.Get());
    ASSERT_TRUE(PumpMessagesUntil([&] { return manager.IconsBeingRead() == 0; }));
    EXPECT_GT(CommandList(manager).GetItemImage(0), 0) << "ed, the first row, points at this program";
    EXPECT_EQ(ImageList_GetImageCount(RowImages(manager)), 2);
    manager.DestroyWindow();
}

TEST_F(RunManagerDlgTest, ALongTargetIsShownWholeOrCutBetweenCharacters) {
    CStringW target = u"C:\\";
    for (int i = 0; i < 200; ++i) target += u"\U0001F600";  // 400 code units: surrogate pairs
    target += u".exe";
    CWin32Registry win32;
    ASSERT_TRUE(RegWriteString(win32, ToRegKey(HKEY_CURRENT_USER), W(Key("long.exe")), CStringW(), target));
    // A pair across the end of the list's first 255 units: the cell is cut
    // before it, one unit short, and must still be read whole.
    const CStringW straddling = u"C:\\x" + target.Mid(3);
    ASSERT_TRUE(RegWriteString(win32, ToRegKey(HKEY_CURRENT_USER), W(Key("straddling.exe")), CStringW(), straddling));
    Press(IDC_BTN_REFRESH);
    const int row = RowOf("long/u");
    ASSERT_GE(row, 0);
    EXPECT_EQ(CommandList(mgr).GetItemText(row, 1), target);
    ASSERT_GE(RowOf("straddling/u"), 0);
    EXPECT_EQ(CommandList(mgr).GetItemText(RowOf("straddling/u"), 1), straddling);

    // Asked with a small buffer, as the list does for painting: the text is
    // cut before a character that would not fit, never inside a pair.
    wchar_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    LVITEMW item{};
    item.iSubItem = 1;
    item.pszText = buffer;
    item.cchTextMax = 7;
    CommandList(mgr).SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                   reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(velmora::FromWin(buffer), u"C:\\\U0001F600")
        << "a second pair would leave no room for the zero";
    EXPECT_EQ(buffer[7], L'#') << "nothing written past the buffer";
}

TEST_F(RunManagerDlgTest, TheSkinnedFrameButtonsAndLayout) {
    EXPECT_EQ(mgr.GetWindowText(), CStringW(u"管理运行命令"));
    EXPECT_EQ(mgr.GetStyle() & (WS_CAPTION | WS_THICKFRAME), 0u) << "the skin draws the frame";
    RECT window{};
    mgr.GetWindowRect(&window);
    EXPECT_EQ(window.right - window.left, 700);
    EXPECT_EQ(window.bottom - window.top, 420);
    for (UINT id : {CQebDialog::ID_CAPTION_CLOSE, CQebDialog::ID_CAPTION_MAXIMIZE, CQebDialog::ID_CAPTION_MINIMIZE})
        EXPECT_NE(::GetWindowLongW(mgr.GetDlgItem(static_cast<int>(id)), GWL_STYLE) & WS_VISIBLE, 0) << id;
    MINMAXINFO info{};
    mgr.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 480);
    EXPECT_EQ(info.ptMinTrackSize.y, 300);

    const velmora::app::RunManagerLayout layout = velmora::app::LayOutRunManager({3, 27, 697, 417});
    const RECT list = ChildRect(CommandList(mgr).m_hWnd);
    EXPECT_EQ(list.left, layout.list.left);
    EXPECT_EQ(list.bottom, layout.list.bottom);
    const struct {
        UINT id;
        const char* text;
    } buttons[] = {{IDC_BTN_RUN, "运行"},
                   {IDC_BTN_OPEN_LOCATION, "打开位置"},
                   {IDM_RUN_CHANGE_TARGET, "修改目标"},
                   {IDC_BTN_DELETE, "删除"},
                   {IDC_BTN_REFRESH, "刷新"}};
    for (int i = 0; i < 5; ++i) {
        HWND hButton = mgr.GetDlgItem(static_cast<int>(buttons[i].id));
        ASSERT_NE(hButton, nullptr);
        char text[32] = {};
        ::GetWindowTextA(hButton, text, sizeof(text));
        EXPECT_STREQ(text, buttons[i].text);
        EXPECT_EQ(ChildRect(hButton).left, layout.buttons[i].left) << buttons[i].text;
        EXPECT_EQ(ChildRect(hButton).bottom - ChildRect(hButton).top, 25) << "the strip's height";
    }

    // A bigger window lays the controls out again.
    mgr.SetWindowPos(nullptr, 0, 0, 800, 500, SWP_NOMOVE | SWP_NOZORDER);
    const velmora::app::RunManagerLayout bigger = velmora::app::LayOutRunManager({3, 27, 797, 497});
    EXPECT_EQ(ChildRect(CommandList(mgr).m_hWnd).right, bigger.list.right);
    EXPECT_EQ(ChildRect(mgr.GetDlgItem(IDC_BTN_REFRESH)).top, bigger.buttons[4].top);

    HDC hScreen = ::GetDC(nullptr);
    HDC hMem = ::CreateCompatibleDC(hScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, 800, 500);
    HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    mgr.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hMem));
    EXPECT_EQ(::GetPixel(hMem, 6, 450), kDialogBackground);
    ::SelectObject(hMem, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
}

TEST_F(RunManagerDlgTest, HeaderClicksSortEachColumnAndTheSelectionFollows) {
    Select({"mine/u"});
    Notify(LVN_COLUMNCLICK, -1, 1);  // 目标, ascending: the missing C:\ targets first
    std::vector<std::string> commands = Commands();
    ASSERT_EQ(commands.size(), 6u);
    EXPECT_EQ(commands[0], "gone/m");
    EXPECT_EQ(commands[1], "mine/u");
    EXPECT_EQ(CommandList(mgr).GetSelectedItems(), std::vector<int>{1});
    Notify(LVN_COLUMNCLICK, -1, 1);  // descending
    commands = Commands();
    EXPECT_EQ(commands[4], "mine/u");
    EXPECT_EQ(commands[5], "gone/m");
    EXPECT_EQ(CommandList(mgr).GetSelectedItems(), std::vector<int>{4});
    Notify(LVN_COLUMNCLICK, -1, 2);  // 范围: the machine's first
    EXPECT_EQ(Commands(), (std::vector<std::string>{"ed/m", "gone/m", "shared/m", "tools\\nested/m", "mine/u",
                                                    "shared/u"}));
    Notify(LVN_COLUMNCLICK, -1, 3);  // 状态: fine, shadowed, broken
    EXPECT_EQ(Commands(), (std::vector<std::string>{"ed/m", "shared/u", "tools\\nested/m", "shared/m",
                                                    "gone/m", "mine/u"}));
}

TEST_F(RunManagerDlgTest, DeletesOneAndSeveralAfterAQuestionThatNamesThem) {
    Select({"gone/m"});
    const std::vector<SeenMessageBox> no = PressAnswering(IDC_BTN_DELETE, kDeleteQuestionCaption, IDNO);
    ASSERT_EQ(no.size(), 1u);
    EXPECT_EQ(no[0].text, std::string("是否删除以下运行命令？\n\n“gone”（本机）：") + kMissing + "gone.exe");
    EXPECT_EQ(no[0].defaultButtonId, IDNO);
    EXPECT_EQ(no[0].hOwner, mgr.m_hWnd);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Key("gone.exe").c_str())) << "No deletes nothing";

    EXPECT_EQ(PressAnswering(IDC_BTN_DELETE, kDeleteQuestionCaption, IDYES).size(), 1u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key("gone.exe").c_str()));
    EXPECT_EQ(Status(), "已删除 1 个运行命令");
    EXPECT_EQ(RowOf("gone/m"), -1);
    EXPECT_EQ(CommandList(mgr).GetItemCount(), 5);

    // Two at once, by the Delete key: a nested one, whose group goes with
    // it, and the user's own.
    Select({"tools\\nested/m", "mine/u"});
    {
        MessageBoxWatcher question(kDeleteQuestionCaption, IDYES);
        CommandList(mgr).SendMessage(WM_KEYDOWN, VK_DELETE, 0);
        ASSERT_EQ(question.Seen().size(), 1u);
        EXPECT_NE(question.Seen()[0].text.find("“tools\\nested”（本机）"), std::string::npos);
        EXPECT_NE(question.Seen()[0].text.find("“mine”（当前用户）"), std::string::npos);
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key("tools").c_str())) << "the emptied group is gone";
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Key("mine.exe").c_str()));
    EXPECT_EQ(Status(), "已删除 2 个运行命令");
    EXPECT_EQ(Commands(), (std::vector<std::string>{"ed/m", "shared/m", "shared/u"}));
    // Everything else as it was.
    EXPECT_EQ(DefaultText(HKEY_LOCAL_MACHINE, Key("ed.exe")), ModulePath());
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Key("readme.txt\\note").c_str()));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Key("shared.exe").c_str()));
}

TEST_F(RunManagerDlgTest, AFailedDeleteIsReportedInTheDialogAndNothingElseChanges) {
    CWin32Registry win32;
    memreg::WatchedRegistry registry(win32);
    registry.RefuseDelete(ToRegKey(HKEY_LOCAL_MACHINE), W(Key("shared.exe")));
    IRegistry* const saved = services.registry;
    services.registry = &registry;
    Select({"ed/m", "shared/m"});
    EXPECT_EQ(PressAnswering(IDC_BTN_DELETE, kDeleteQuestionCaption, IDYES).size(), 1u);
    services.registry = saved;

    EXPECT_TRUE(registry.Balanced()) << registry.OpenKeys() << " keys left open";
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key("ed.exe").c_str()));
    EXPECT_EQ(DefaultText(HKEY_LOCAL_MACHINE, Key("shared.exe")), ModulePath()) << "the refused one stays";
    EXPECT_EQ(Status(), "已删除 1 个，1 个未能删除；“shared”：" + N(SystemErrorText(ERROR_ACCESS_DENIED)));
    EXPECT_EQ(Commands(),
              (std::vector<std::string>{"gone/m", "mine/u", "shared/m", "shared/u", "tools\\nested/m"}));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, Key("shared.exe").c_str()));
}

TEST_F(RunManagerDlgTest, RunAndOpenLocationGoThroughTheShell) {
    Press(IDC_BTN_RUN);
    EXPECT_TRUE(g_shellCalls.empty());
    EXPECT_EQ(Status(), kNothingSelectedText);

    Select({"tools\\nested/m"});
    Press(IDC_BTN_RUN);
    ASSERT_EQ(g_shellCalls.size(), 1u);
    EXPECT_EQ(g_shellCalls[0].file, "tools\\nested.exe") << "by its key's name, as the Run box";
    EXPECT_EQ(g_shellCalls[0].parameters, "");
    EXPECT_EQ(Status(), "已启动 1 个运行命令");

    g_shellCalls.clear();
    Notify(NM_DBLCLK, RowOf("ed/m"));  // a double click shows the target
    ASSERT_EQ(g_shellCalls.size(), 1u);
    EXPECT_EQ(g_shellCalls[0].file, "explorer.exe");
    EXPECT_EQ(g_shellCalls[0].parameters, "/select,\"" + ModulePath() + "\"");
    g_shellCalls.clear();
    Notify(NM_DBLCLK, -1);  // on no row
    EXPECT_TRUE(g_shellCalls.empty());

    // A missing target in an existing folder opens the folder; with the
    // folder gone too there is nothing to show.
    WriteValue(HKEY_LOCAL_MACHINE, Key("moved.exe").c_str(), "", "C:\\windows\\velmora-moved.exe");
    Press(IDC_BTN_REFRESH);
    EXPECT_EQ(CommandList(mgr).GetItemCount(), 7);
    Select({"moved/m"});
    Press(IDC_BTN_OPEN_LOCATION);
    ASSERT_EQ(g_shellCalls.size(), 1u);
    EXPECT_EQ(g_shellCalls[0].parameters, "\"C:\\windows\"");
    g_shellCalls.clear();
    Select({"gone/m"});
    Press(IDC_BTN_OPEN_LOCATION);
    EXPECT_TRUE(g_shellCalls.empty());
    EXPECT_EQ(Status(), std::string("未能打开位置“gone”：") + kTargetMissingReason);

    // A failure of the shell is reported.
    g_shellError = ERROR_FILE_NOT_FOUND;
    Select({"ed/m"});
    Press(IDC_BTN_RUN);
    EXPECT_EQ(Status(), "未能启动“ed”：" + N(SystemErrorText(ERROR_FILE_NOT_FOUND)));

    // Many at once are asked about first.
    g_shellError = ERROR_SUCCESS;
    g_shellCalls.clear();
    Select({"ed/m", "gone/m", "mine/u", "moved/m", "shared/m", "shared/u"});
    EXPECT_EQ(PressAnswering(IDC_BTN_RUN, "运行", IDNO).size(), 1u);
    EXPECT_TRUE(g_shellCalls.empty());
    EXPECT_EQ(PressAnswering(IDC_BTN_RUN, "运行", IDYES).size(), 1u);
    EXPECT_EQ(g_shellCalls.size(), 6u);
}

TEST(PathToReadHereTest, WithoutWow64EveryPathIsReadAsItIs) {
    if (RunsUnderWow64()) GTEST_SKIP() << "a 32-bit process under WOW64 reads System32 through Sysnative";
    const std::string system32 = SystemWindowsFolder() + "\\System32";
    ASSERT_NE(system32, "\\System32");
    for (const std::string& path : {system32, system32 + "\\notepad.exe", ModulePath()})
        EXPECT_EQ(PathToReadHere(W(path)), W(path));
}

// A program only in the real System32, as 64-bit Windows has OpenSSH\ssh.exe:
// put there through Sysnative, invisible under its own name to this process.
TEST_F(RunManagerDlgTest, UnderWow64AProgramOnlyInTheRealSystem32IsThereWithItsIcon) {
    if (!RunsUnderWow64()) GTEST_SKIP() << "not a 32-bit process under WOW64: System32 is not redirected";
    const std::string windows = SystemWindowsFolder();
    ASSERT_FALSE(windows.empty());
    const std::string named = windows + "\\System32\\velmora-wow64-only.exe";
    const std::string real = windows + "\\Sysnative\\velmora-wow64-only.exe";
    if (!::CopyFileA(ModulePath().c_str(), real.c_str(), FALSE))
        GTEST_SKIP() << "cannot write into the real System32: error " << ::GetLastError();
    const struct Removed {
        const std::string& path;
        ~Removed() { ::DeleteFileA(path.c_str()); }
    } removed{real};
    ASSERT_EQ(::GetFileAttributesA(named.c_str()), INVALID_FILE_ATTRIBUTES) << "SysWOW64 has no such file";

    EXPECT_EQ(PathToReadHere(W(named)), W(real));
    WriteValue(HKEY_CURRENT_USER, Key("native.exe").c_str(), "", named);
    Press(IDC_BTN_REFRESH);
    const int row = RowOf("native/u");
    ASSERT_GE(row, 0);
    EXPECT_EQ(Rows()[static_cast<std::size_t>(row)], (Row{"native", named, "当前用户", ""}))
        << "not marked gone";
    // The icon comes in from the worker as the window's messages are handled.
    EXPECT_TRUE(PumpMessagesUntil([&] { return CommandList(mgr).GetItemImage(row) > 0; }))
        << "the icon read through Sysnative";
    Select({"native/u"});
    Press(IDC_BTN_OPEN_LOCATION);
    ASSERT_EQ(g_shellCalls.size(), 1u);
    EXPECT_EQ(g_shellCalls[0].parameters, "/select,\"" + named + "\"") << "the 64-bit Explorer sees System32";
}

TEST_F(RunManagerDlgTest, TheFilterShowsMatchingRowsKeepsTheSelectionAndEscapeClearsIt) {
    // Typed while values are still to be read: they are all read first.
    EXPECT_TRUE(mgr.ValuesBeingRead());
    EXPECT_EQ(CommandList(mgr).GetItemText(RowOf("ed/m"), 4), CStringW(u"C:\\Tools")) << "the Path column";
    Select({"shared/u", "gone/m"});
    const auto type = [&](const char16_t* text) { FilterField(mgr).SetWindowText(text); };
    const struct {
        const char16_t* typed;
        std::vector<std::string> shown;
        std::string status;
        std::vector<std::string> selected;
    } steps[] = {
        {u"SHARED", {"shared/m", "shared/u"}, "显示 2 / 共 6 个运行命令", {"shared/u"}},
        // gone/m went out of view with "SHARED": it is not brought back.
        {u"velmora-missing", {"gone/m", "mine/u"}, "显示 2 / 共 6 个运行命令", {}},
        {u"c:\\tools", {"ed/m"}, "显示 1 / 共 6 个运行命令", {}},  // by its Path value only
        {u"nothing like it", {}, "显示 0 / 共 6 个运行命令", {}},
        {u"  ",
         {"ed/m", "gone/m", "mine/u", "shared/m", "shared/u", "tools\\nested/m"},
         "共 6 个运行命令，2 个失效，1 个被覆盖",
         {}},
    };
    for (const auto& step : steps) {
        type(step.typed);
        EXPECT_EQ(Commands(), step.shown) << N(step.typed);
        EXPECT_EQ(Status(), step.status) << N(step.typed);
        std::vector<std::string> selected;
        for (int row : CommandList(mgr).GetSelectedItems()) selected.push_back(Commands()[row]);
        EXPECT_EQ(selected, step.selected) << N(step.typed);
    }

    // Actions work on what is shown: a delete while filtering, then a sort.
    type(u"tools");
    Select({"tools\\nested/m"});
    EXPECT_EQ(PressAnswering(IDC_BTN_DELETE, kDeleteQuestionCaption, IDYES).size(), 1u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key("tools\\nested.exe").c_str()));
    EXPECT_EQ(Commands(), (std::vector<std::string>{"ed/m"})) << "the filter stays after the refresh";
    type(u"e");
    Notify(LVN_COLUMNCLICK, -1, 0);
    EXPECT_EQ(Commands(), (std::vector<std::string>{"shared/m", "shared/u", "mine/u", "gone/m", "ed/m"}));

    // Tab order: list, filter, then the buttons; Escape in the field clears
    // it and leaves the manager open, then closes it.
    mgr.ShowWindow(SW_SHOW);
    CommandList(mgr).SetFocus();
    EXPECT_EQ(::GetNextDlgTabItem(mgr.m_hWnd, CommandList(mgr).m_hWnd, FALSE), FilterField(mgr).m_hWnd);
    EXPECT_EQ(::GetNextDlgTabItem(mgr.m_hWnd, FilterField(mgr).m_hWnd, FALSE), mgr.GetDlgItem(IDC_BTN_RUN));
    ::SetForegroundWindow(mgr.m_hWnd);
    FilterField(mgr).SetFocus();
    ASSERT_EQ(::GetFocus(), FilterField(mgr).m_hWnd);
    mgr.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(FilterField(mgr).GetWindowText().IsEmpty());
    EXPECT_TRUE(::IsWindow(mgr.m_hWnd));
    EXPECT_EQ(CommandList(mgr).GetItemCount(), 5);
    EXPECT_EQ(Status(), "共 5 个运行命令，2 个失效，1 个被覆盖");
}

TEST_F(RunManagerDlgTest, TypingSelectsTheNextCommandWithThoseLetters) {
    mgr.ShowWindow(SW_SHOW);
    CommandList(mgr).SetFocus();
    CommandList(mgr).SendMessage(WM_CHAR, 's', 1);
    EXPECT_EQ(CommandList(mgr).GetNextItem(-1, LVNI_FOCUSED), RowOf("shared/m"));
    ::Sleep(1100);  // a new search
    CommandList(mgr).SendMessage(WM_CHAR, 't', 1);
    EXPECT_EQ(CommandList(mgr).GetNextItem(-1, LVNI_FOCUSED), RowOf("tools\\nested/m"));
}

}  // namespace
