// The manager on the screen under Wine, reached as a user reaches it
// (controls by id, commands by WM_COMMAND): it opens wholly on the screen
// from a main window at the screen's edge, its columns fill the list at any
// size, Tab shows a focus mark on the skin buttons, it remembers its place
// for the user, and the Path editor closed with 确定 and no change leaves
// the stored value's bytes and type alone.
#include <gtest/gtest.h>

#include <numeric>
#include <string>

#include "app/ui/RunManagerChoices_win32.h"
#include "app/ui/RunManagerDlg_win32.h"
#include "app/text/OutcomeText.h"
#include "app/text/ViewText.h"
#include "dialog_harness.h"
#include "res/resource.h"

namespace {

const char kScratchRoot[] = "SOFTWARE\\Velmora Screen Tests";
const char kScratch[] = "SOFTWARE\\Velmora Screen Tests\\App Paths";
const char16_t kSettings[] = u"SOFTWARE\\Velmora Screen Tests\\Settings";

std::string Key(const char* name) { return std::string(kScratch) + "\\" + name; }

RECT WorkArea() {
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

RECT WindowRect(HWND hWnd) {
    RECT r{};
    ::GetWindowRect(hWnd, &r);
    return r;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// What a control draws of itself now (WM_PRINTCLIENT into a bitmap).
std::vector<COLORREF> DrawnPixels(HWND hControl) {
    RECT client{};
    ::GetClientRect(hControl, &client);
    const HDC hScreen = ::GetDC(nullptr);
    const HDC hMem = ::CreateCompatibleDC(hScreen);
    const HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, client.right, client.bottom);
    const HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
    ::SendMessageW(hControl, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hMem), PRF_CLIENT);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) pixels.push_back(::GetPixel(hMem, x, y));
    }
    ::SelectObject(hMem, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMem);
    ::ReleaseDC(nullptr, hScreen);
    return pixels;
}

class RunManagerScreenTest : public testing::Test {
protected:
    void SetUp() override {
        Clean();
        WriteValue(HKEY_LOCAL_MACHINE, Key("ed.exe").c_str(), "", ModulePath());
        WriteValue(HKEY_LOCAL_MACHINE, Key("deep.exe").c_str(), "",
                   "C:\\Program Files\\Some Vendor\\Some Product\\a rather long folder name\\bin\\deep.exe");
    }
    void TearDown() override { Clean(); }
    static void Clean() {
        DeleteTree(HKEY_LOCAL_MACHINE, kScratchRoot);
        DeleteTree(HKEY_CURRENT_USER, kScratchRoot);
    }
    // The sum of the list's column widths and its client width.
    static void ColumnsAndWidth(const CWnd& mgr, int* pColumns, int* pWidth) {
        auto& list = BoundControl<CListCtrl>(mgr, IDC_RUN_LIST);
        *pColumns = 0;
        for (int column = 0; column < kRunColumnCount; ++column) *pColumns += list.GetColumnWidth(column);
        RECT client{};
        list.GetClientRect(&client);
        *pWidth = client.right;
    }

    AppServices services = ServicesOverScratchKey(velmora::WideFrom936(kScratch));
};

TEST_F(RunManagerScreenTest, OpensWhollyOnScreenFromAMainWindowAtTheRightEdge) {
    const RECT work = WorkArea();
    // The main window's size, its right edge at the work area's, and at the
    // bottom right corner.
    for (const POINT corner : {POINT{work.right - 355, 200}, POINT{work.right - 355, work.bottom - 250}}) {
        CWnd owner;
        ASSERT_TRUE(owner.CreateEx(0, L"STATIC", CStringW(), WS_POPUP | WS_VISIBLE,
                                   RECT{corner.x, corner.y, corner.x + 355, corner.y + 250}, nullptr, 0));
        {
            CRunManagerDlg mgr(services, &owner);
            ASSERT_TRUE(mgr.Create(&owner));
            const RECT placed = WindowRect(mgr.m_hWnd);
            EXPECT_TRUE(Inside(placed, work)) << Text(placed) << " in " << Text(work);
            // As near the owner as the screen allows: against the right edge.
            EXPECT_EQ(placed.right, work.right);
            mgr.DestroyWindow();
        }
        owner.DestroyWindow();
    }
}

TEST_F(RunManagerScreenTest, ColumnsFillTheListAtEverySize) {
    CRunManagerDlg mgr(services);
    ASSERT_TRUE(mgr.Create());
    int columns = 0;
    int width = 0;
    for (const SIZE size : {SIZE{1000, 740}, SIZE{520, 320}, SIZE{700, 420}, SIZE{900, 500}}) {
        mgr.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
        ColumnsAndWidth(mgr, &columns, &width);
        EXPECT_EQ(columns, width) << size.cx << " x " << size.cy;
    }
    // Widening the target column by hand: the Path column gives up the
    // difference and the columns still end at the list's edge.
    auto& list = BoundControl<CListCtrl>(mgr, IDC_RUN_LIST);
    const int target = list.GetColumnWidth(static_cast<int>(RunColumn::kTarget));
    list.SetColumnWidth(static_cast<int>(RunColumn::kTarget), target + 40);
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    item.cxy = target + 40;
    NMHEADERW notice{};
    notice.hdr.hwndFrom = reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER));
    notice.hdr.code = HDN_ENDTRACKW;
    notice.iItem = static_cast<int>(RunColumn::kTarget);
    notice.pitem = &item;
    mgr.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notice));
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    EXPECT_EQ(list.GetColumnWidth(static_cast<int>(RunColumn::kTarget)), target + 40);
    ColumnsAndWidth(mgr, &columns, &width);
    EXPECT_EQ(columns, width);

    // A double click on the divider after 目标 (as the heading tells the
    // list): the column fits its longest text, and 附加路径 takes up the rest.
    const HWND hHeader = reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER));
    NMHEADERW twice{};
    twice.hdr.hwndFrom = hHeader;
    twice.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(hHeader));
    twice.hdr.code = HDN_DIVIDERDBLCLICKW;
    twice.iItem = static_cast<int>(RunColumn::kTarget);
    list.SendMessage(WM_NOTIFY, twice.hdr.idFrom, reinterpret_cast<LPARAM>(&twice));
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    const int fitted = list.GetColumnWidth(static_cast<int>(RunColumn::kTarget));
    ColumnsAndWidth(mgr, &columns, &width);
    EXPECT_EQ(columns, width);
    list.SetColumnWidth(static_cast<int>(RunColumn::kTarget), LVSCW_AUTOSIZE);
    EXPECT_EQ(fitted, list.GetColumnWidth(static_cast<int>(RunColumn::kTarget)));
    EXPECT_NE(fitted, target + 40);
    mgr.DestroyWindow();
}

TEST_F(RunManagerScreenTest, ARowsTipHoldsItsCellsWhole) {
    CRunManagerDlg mgr(services);
    ASSERT_TRUE(mgr.Create());
    TypeInto(mgr, IDC_RUN_FILTER, u"deep");
    auto& list = BoundControl<CListCtrl>(mgr, IDC_RUN_LIST);
    ASSERT_EQ(list.GetItemCount(), 1);
    wchar_t text[1024] = {};
    NMLVGETINFOTIPW tip{};
    tip.hdr.hwndFrom = list.m_hWnd;
    tip.hdr.idFrom = IDC_RUN_LIST;
    tip.hdr.code = LVN_GETINFOTIPW;
    tip.pszText = text;
    tip.cchTextMax = 1024;
    tip.iItem = 0;
    mgr.SendMessage(WM_NOTIFY, IDC_RUN_LIST, reinterpret_cast<LPARAM>(&tip));
    EXPECT_EQ(N(velmora::FromWin(text)),
              "命令：deep\r\n目标：C:\\Program Files\\Some Vendor\\Some Product\\a rather long folder name\\bin\\deep.exe");
    // A short buffer gets what fits, ended.
    tip.cchTextMax = 5;
    mgr.SendMessage(WM_NOTIFY, IDC_RUN_LIST, reinterpret_cast<LPARAM>(&tip));
    EXPECT_EQ(std::wstring(text).size(), 4u);
    mgr.DestroyWindow();
}

TEST_F(RunManagerScreenTest, TabShowsAFocusMarkOnTheSkinButtons) {
    CRunManagerDlg mgr(services);
    ASSERT_TRUE(mgr.Create());
    mgr.ShowWindow(SW_SHOW);
    // Two skin buttons next to each other in the tab order.
    const HWND hFrom = ::GetDlgItem(mgr.m_hWnd, IDC_BTN_DELETE);
    const HWND hTo = ::GetNextDlgTabItem(mgr.m_hWnd, hFrom, FALSE);
    ASSERT_NE(hTo, nullptr);
    wchar_t className[32] = {};
    ::GetClassNameW(hTo, className, 32);
    ASSERT_EQ(std::wstring(className), L"Button");
    ::SetFocus(hFrom);
    const std::vector<COLORREF> plain = DrawnPixels(hTo);
    // Opened with the mouse, a window shows no keyboard cues: no mark on a
    // focused button. Wine 8 keeps no such state (WM_QUERYUISTATE always
    // answers 0, so its cues are always on): checked where the system has it.
    mgr.SendMessage(WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    if ((mgr.SendMessage(WM_QUERYUISTATE) & UISF_HIDEFOCUS) != 0) {
        ::SetFocus(hTo);
        EXPECT_EQ(DrawnPixels(hTo), plain) << "a mark without keyboard cues";
        ::SetFocus(hFrom);
    }
    // Tab goes to the next button and turns the cues on.
    MSG tab{hFrom, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(::IsDialogMessageW(mgr.m_hWnd, &tab));
    ASSERT_EQ(::GetFocus(), hTo);
    EXPECT_EQ(mgr.SendMessage(WM_QUERYUISTATE) & UISF_HIDEFOCUS, 0u);
    const std::vector<COLORREF> marked = DrawnPixels(hTo);
    EXPECT_NE(marked, plain) << "no focus mark after Tab";
    // The mark goes with the focus.
    tab.hwnd = hTo;
    EXPECT_TRUE(::IsDialogMessageW(mgr.m_hWnd, &tab));
    EXPECT_NE(::GetFocus(), hTo);
    EXPECT_EQ(DrawnPixels(hTo), plain);
    mgr.DestroyWindow();
}

TEST_F(RunManagerScreenTest, RemembersItsPlaceForTheUserWhileItsMonitorIsThere) {
    services.settingsKey = kSettings;
    const RECT work = WorkArea();
    const RECT left{work.left + 20, work.top + 30, work.left + 20 + 640, work.top + 30 + 380};
    {
        CRunManagerDlg mgr(services);
        ASSERT_TRUE(mgr.Create());
        mgr.SetWindowPos(nullptr, left.left, left.top, 640, 380, SWP_NOZORDER);
        mgr.DestroyWindow();
    }
    CStringW stored;
    DWORD type = 0;
    DWORD bytes = 0;
    ASSERT_TRUE(ReadValueW(HKEY_CURRENT_USER, kSettings, u"Manager", &stored, &type, &bytes));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    {
        CRunManagerDlg mgr(services);
        ASSERT_TRUE(mgr.Create());
        const RECT placed = WindowRect(mgr.m_hWnd);
        EXPECT_EQ(Text(placed), Text(left)) << N(stored);
        int columns = 0;
        int width = 0;
        ColumnsAndWidth(mgr, &columns, &width);
        EXPECT_EQ(columns, width);
        mgr.DestroyWindow();
    }
    // A place on a monitor that is gone: centred on the screen instead.
    WriteValue(HKEY_CURRENT_USER, kSettings, "Manager", "5000,100,640,380,0;120,200,60,70,130");
    {
        CRunManagerDlg mgr(services);
        ASSERT_TRUE(mgr.Create());
        const RECT placed = WindowRect(mgr.m_hWnd);
        EXPECT_TRUE(Inside(placed, work)) << Text(placed);
        EXPECT_EQ(placed.right - placed.left, 700);  // the size it opens with
        mgr.DestroyWindow();
    }
}

TEST_F(RunManagerScreenTest, ThePathEditorClosedUnchangedWritesNothing) {
    // Values as other tools leave them: a trailing ';', blanks and quotes
    // that are not needed, an expandable one.
    struct Stored {
        const char* command;
        DWORD type;
        std::string text;
    };
    const Stored values[] = {
        {"iexplore", REG_SZ, "C:\\Program Files\\Internet Explorer;"},
        {"quoted", REG_EXPAND_SZ, " \"C:\\a;b\" ;; %SystemRoot%\\x ;"},
    };
    SystemRunManagerChoices system;
    services = ServicesOverScratchKey(velmora::WideFrom936(kScratch), &system);
    for (const Stored& value : values) {
        SCOPED_TRACE(value.command);
        const std::string key = Key((std::string(value.command) + ".exe").c_str());
        WriteValue(HKEY_LOCAL_MACHINE, key.c_str(), "", ModulePath());
        HKEY hKey = nullptr;
        ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_SET_VALUE, &hKey), ERROR_SUCCESS);
        const CStringW wide = velmora::WideFrom936(value.text.c_str());
        ::RegSetValueExW(hKey, L"Path", 0, value.type, reinterpret_cast<const BYTE*>(velmora::WinText(wide)),
                         static_cast<DWORD>((wide.size() + 1) * 2));
        ::RegCloseKey(hKey);
        std::string before;
        DWORD typeBefore = 0;
        ASSERT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, key.c_str(), "Path", &before, &typeBefore));

        CRunManagerDlg mgr(services);
        ASSERT_TRUE(mgr.Create());
        TypeInto(mgr, IDC_RUN_FILTER, velmora::WideFrom936(value.command));
        auto& list = BoundControl<CListCtrl>(mgr, IDC_RUN_LIST);
        ASSERT_EQ(list.GetItemCount(), 1);
        list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        {
            // 确定 in the editor, untouched.
            MessageBoxWatcher editor((std::string(kEditPathAction.name) + "：" + value.command).c_str(), IDOK);
            mgr.SendMessage(WM_COMMAND, MAKEWPARAM(IDM_RUN_EDIT_PATH, 0), 0);
            EXPECT_EQ(editor.Seen().size(), 1u);
        }
        std::string after;
        DWORD typeAfter = 0;
        ASSERT_TRUE(ReadValue(HKEY_LOCAL_MACHINE, key.c_str(), "Path", &after, &typeAfter));
        EXPECT_EQ(after, before);
        EXPECT_EQ(typeAfter, typeBefore);
        EXPECT_EQ(N(ControlText(mgr, IDC_RUN_STATUS)).find("没有变化") != std::string::npos, true)
            << N(ControlText(mgr, IDC_RUN_STATUS));
        mgr.DestroyWindow();
    }
}

TEST_F(RunManagerScreenTest, TheStatusLineShortensAPathAndKeepsTheWholeTextForItsTip) {
    ScriptedChoices choices;
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "velmora screen test with a long folder name";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string file = folder + "\\exported-run-commands.reg";
    choices.exportFile = velmora::WideFrom936(file.c_str());
    services = ServicesOverScratchKey(velmora::WideFrom936(kScratch), &choices);
    CRunManagerDlg mgr(services);
    ASSERT_TRUE(mgr.Create());
    mgr.SetWindowPos(nullptr, 0, 0, 520, 320, SWP_NOMOVE | SWP_NOZORDER);
    mgr.SendMessage(WM_COMMAND, MAKEWPARAM(IDM_RUN_EXPORT, 0), 0);
    // The line draws the path without its middle; its text, and the tip,
    // hold the whole message.
    auto& status = BoundControl<CQebTransButton>(mgr, IDC_RUN_STATUS);
    const std::string shown = N(status.m_shownText);
    EXPECT_NE(shown.find("…"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\\exported-run-commands.reg"), std::string::npos) << shown;
    EXPECT_NE(N(ControlText(mgr, IDC_RUN_STATUS)).find(file), std::string::npos);
    // Wider, the whole text is drawn.
    mgr.SetWindowPos(nullptr, 0, 0, 1200, 400, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(status.m_shownText, CStringW());
    mgr.DestroyWindow();
    ::DeleteFileA(file.c_str());
    ::RemoveDirectoryA(folder.c_str());
}

}  // namespace
