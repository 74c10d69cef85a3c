#include "app/ui/TarvelDlg_win32.h"

#include <initializer_list>

#include "app/platform/IconMessageBox_win32.h"
#include "app/platform/TargetFile_win32.h"
#include "app/runcmd/CommandText.h"
#include "app/text/ExplorerText.h"
#include "app/text/LanguageChoice.h"
#include "app/ui/RunManagerDlg_win32.h"
#include "app/ui/SkinnedFrame_win32.h"
#include "app/ui/TarvelDlgLayout.h"
#include "res/resource.h"
#include "skin/win32_facts.h"
#include "wnd/DC.h"
#include "wnd/MessageFilter.h"
#include "wnd/WinApp.h"

namespace {

using velmora::skin::ToRect;

// Posted after the first paint: the window's icons are set.
constexpr UINT kSetWindowIconsMessage = WM_APP + 2;
// Posted at start-up when the file the window was started with is not there.
constexpr UINT kStartFileMissingMessage = WM_APP + 3;

void MoveTo(CWnd& control, const velmora::skin::SkinRect& r) {
    control.MoveWindow(r.left, r.top, r.Width(), r.Height(), TRUE);
}

using velmora::Text;

// The words of the main window. The English ones are chosen to fit the
// window's fixed places: the usage line (320 x 20 at 96 DPI), the label (60),
// the add button between its rounded ends and the link (131).
constexpr Text kMainTitle{"添加运行命令", "Add run command"};
constexpr Text kUsageText{"使用说明：拖拽Exe文件到此窗口->填写命令名称->点击添加",
                          "Drop a program here, type a command name, click Add"};
constexpr Text kCommandNameText{"命令名称：", "Name:"};
constexpr Text kAddButtonText{"添加命令", "Add"};
constexpr Text kAddSelfText{"添加本程序为 run 命令", "Add Velmora as \"run\""};
constexpr Text kManagerMenuItem{"管理运行命令…", "Manage run commands..."};
// Reads the same in both languages: found by whoever reads either.
constexpr Text kEnglishMenuItem{"English / 英文", "English / 英文"};

}  // namespace

const velmora::Text kMainNoticeCaption{"温馨提示", "Velmora"};

CTarvelDlg::CTarvelDlg(const AppServices& services, CWnd* pParent)
    : CQebDialog(IDD_TARVEL_DIALOG, pParent),
      m_services(services),
      m_hIcon(::LoadIconW(GetResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

void CTarvelDlg::DoDataExchange(CDataExchange* pDX) {
    CQebDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EDIT_COMMAND_NAME, m_editCommandName);
    DDX_Control(pDX, IDC_BTN_ADD, m_btnAdd);
    DDX_Control(pDX, IDC_BTN_ADD_SELF, m_btnAddSelf);
}

bool CTarvelDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_SYSCOMMAND:
            // The taskbar's window menu sends its items as system commands.
            if ((wParam & 0xFFF0) == IDM_MANAGE_RUN_COMMANDS) {
                OnManageRunCommands();
                return true;
            }
            if ((wParam & 0xFFF0) == IDM_ENGLISH) {
                OnSwitchLanguage();
                return true;
            }
            if ((wParam & 0xFFF0) == IDM_EXPLORER_ENTRIES) {
                OnSwitchExplorerEntries();
                return true;
            }
            OnSysCommand(static_cast<UINT>(wParam), lParam);
            return true;
        case WM_PAINT:
            OnPaint();
            if (!m_windowIconsAsked) {
                m_windowIconsAsked = true;
                PostMessage(kSetWindowIconsMessage);
            }
            return true;
        case kSetWindowIconsMessage:
            SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
            SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
            return true;
        case WM_QUERYDRAGICON:
            result = reinterpret_cast<LRESULT>(OnQueryDragIcon());
            return true;
        case WM_TIMER:
            OnTimer(wParam);
            return true;
        case WM_ERASEBKGND:
            result = OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
            return true;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return true;
        case WM_INITMENUPOPUP:
            OnInitWindowMenu(reinterpret_cast<HMENU>(wParam));
            break;
        case kStartFileMissingMessage:
            ShowIconMessageBox(GetResourceInstance(), m_hWnd, IDI_MESSAGE_BOX,
                               velmora::WideFrom936(kMainNoticeCaption),
                               StartFileMissingText(m_startFile.path));
            return true;
        default:
            break;
    }
    return CQebDialog::ProcessWindowMessage(message, wParam, lParam, result);
}

BOOL CTarvelDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_BTN_ADD) {
        OnAddCommand();
        return TRUE;
    }
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_BTN_ADD_SELF) {
        OnAddSelf();
        return TRUE;
    }
    // The frame tracks the window menu with the dialog as owner: its items
    // arrive as menu commands.
    if (HIWORD(wParam) == 0 && lParam == 0 && LOWORD(wParam) == IDM_MANAGE_RUN_COMMANDS) {
        OnManageRunCommands();
        return TRUE;
    }
    if (HIWORD(wParam) == 0 && lParam == 0 && LOWORD(wParam) == IDM_EXPLORER_ENTRIES) {
        OnSwitchExplorerEntries();
        return TRUE;
    }
    if (HIWORD(wParam) == 0 && lParam == 0 && LOWORD(wParam) == IDM_ENGLISH) {
        OnSwitchLanguage();
        return TRUE;
    }
    return CQebDialog::OnCommand(wParam, lParam);
}

BOOL CTarvelDlg::OnInitDialog() {
    SetUpFrameSkin();
    const velmora::app::MainDialogLayout layout = velmora::app::LayOutMainDialog(Dpi());
    // Its size, centred, above other windows: taken with the frameless style.
    RECT place{};
    if (CenteredPlace(layout.window.cx, layout.window.cy, &place)) {
        m_openingPlace = place;
        m_openingInsertAfter = HWND_TOPMOST;
    }
    CQebDialog::OnInitDialog();
    if (!m_openingPlace) {
        SetWindowPos(HWND_TOPMOST, 0, 0, layout.window.cx, layout.window.cy, SWP_NOMOVE);
        CenterWindow();
    }

    m_btnAdd.SetBitmap(&m_bmpAddButton);
    m_btnAdd.SetBkColor(kDialogBackground);

    const auto createLabel = [this](CQebTransButton& label, RECT rect, UINT id) {
        label.Create(CStringW(), WS_CHILD | WS_VISIBLE, rect, this, id);
        label.SetBkColor(kDialogBackground);
        label.SetStaticIcon(nullptr);
    };
    createLabel(m_lblUsage, ToRect(layout.usageLabel), kUsageLabelId);
    createLabel(m_lblCommandName, ToRect(layout.commandNameLabel), kCommandNameLabelId);

    DragAcceptFiles(TRUE);
    // With administrative rights the window would otherwise never see a drop
    // from the shell.
    AllowDroppedFiles(m_hWnd, m_services.messageFilter);

    m_editCommandName.SetFont(CFont::TextFont(Dpi()));
    m_editCommandName.SetWindowText(CStringW());
    m_editCommandName.LimitText(kCommandNameLimit);
    MoveTo(m_editCommandName, layout.commandNameField);

    // In bitmap mode the button takes the strip's height after the move.
    MoveTo(m_btnAdd, layout.addButton);

    m_btnAddSelf.SetButtonMode();
    m_btnAddSelf.SetBkColor(kDialogBackground);
    m_btnAddSelf.SetTextColors(0xFF0000, 0xFF0000);
    m_btnAddSelf.m_underlineStates = 7;
    MoveTo(m_btnAddSelf, layout.addSelfLink);

    m_strSelfPath = RunningProgramPath();

    // The scope the link would write to.
    const CStringW strRegistered = m_services.Store(m_prompts).TargetOf(u"run");
    if (!m_strSelfPath.IsEmpty() && strRegistered.CompareNoCase(m_strSelfPath) == 0) {
        m_btnAddSelf.ShowWindow(SW_HIDE);
    }

    AddManagerMenuItem();
    ShowTexts();

    if (m_startFile.given) {
        // A folder is taken as a drop of it is: a name proposed, no program.
        if (IsExistingFile(m_startFile.path) || IsExistingFolder(m_startFile.path))
            TakeDroppedFile(m_startFile.path);
        else
            PostMessage(kStartFileMissingMessage);
    }
    return TRUE;
}

void CTarvelDlg::OnSysCommand(UINT, LPARAM) { Default(); }

void CTarvelDlg::OnPaint() {
    if (!IsIconic()) {
        CQebDialog::OnPaint();
        return;
    }
    CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    RECT client{};
    GetClientRect(&client);
    const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
}

HCURSOR CTarvelDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CTarvelDlg::OnTimer(UINT_PTR nIDEvent) { CQebDialog::OnTimer(nIDEvent); }

BOOL CTarvelDlg::OnEraseBkgnd(HDC hDC) {
    RECT inner{};
    GetInnerRect(&inner);
    CDCView dc(hDC);
    dc.FillSolidRect(inner, kDialogBackground);
    if (m_hFileIcon48) {
        const velmora::skin::SkinRect at = velmora::app::LayOutMainDialog(Dpi()).droppedFileIcon;
        dc.DrawIcon(at.left, at.top, m_hFileIcon48.Get(), at.Width(), at.Height(), DI_NORMAL);
    }
    return CQebDialog::OnEraseBkgnd(hDC);
}

void CTarvelDlg::OnFrameDpiChanged(int, int) {
    SetUpFrameSkin();
    PlaceControls();
    // The dropped file's icon is read again at the new size, never stretched.
    if (m_hFileIcon48 && !m_strExePath.IsEmpty()) ShowDroppedFileIcon(m_strExePath);
}

void CTarvelDlg::PlaceControls() {
    const int dpi = Dpi();
    const velmora::app::MainDialogLayout layout = velmora::app::LayOutMainDialog(dpi);
    m_editCommandName.SetFont(CFont::TextFont(dpi));
    for (CQebTransButton* control : {&m_lblUsage, &m_lblCommandName, &m_btnAdd, &m_btnAddSelf}) {
        control->SetDpi(dpi);
    }
    MoveTo(m_lblUsage, layout.usageLabel);
    MoveTo(m_lblCommandName, layout.commandNameLabel);
    MoveTo(m_editCommandName, layout.commandNameField);
    MoveTo(m_btnAdd, layout.addButton);
    MoveTo(m_btnAddSelf, layout.addSelfLink);
}

// The tool's shared frame, with bitmap 132 kept for the add button, all at
// the window's DPI.
void CTarvelDlg::SetUpFrameSkin() {
    SetUpSkinnedFrame(*this, m_bmpCaptionButtons, m_bmpFrame, m_bmpAddButton, Dpi());
}

// The way to the run-command manager: one item of the window menu, which the
// caption icon, Alt+Space and the taskbar open.
void CTarvelDlg::AddManagerMenuItem() {
    // The Explorer entries' switch first: the manager's item stays the last.
    // Their words are ShowTexts'.
    GetSystemMenu(FALSE).AppendMenu(MF_STRING, IDM_ENGLISH, u" ");
    if (m_services.explorer != nullptr)
        GetSystemMenu(FALSE).AppendMenu(MF_STRING, IDM_EXPLORER_ENTRIES, u" ");
    GetSystemMenu(FALSE).AppendMenu(MF_STRING, IDM_MANAGE_RUN_COMMANDS, u" ");
}

void CTarvelDlg::ShowTexts() {
    SetWindowText(velmora::WideFrom936(kMainTitle));
    m_lblUsage.SetWindowText(velmora::WideFrom936(kUsageText));
    m_lblCommandName.SetWindowText(velmora::WideFrom936(kCommandNameText));
    m_btnAdd.SetWindowText(velmora::WideFrom936(kAddButtonText));
    m_btnAddSelf.SetWindowText(velmora::WideFrom936(kAddSelfText));
    const HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE);
    const auto retext = [hMenu](UINT id, const char* text) {
        ::ModifyMenuW(hMenu, id, MF_BYCOMMAND | MF_STRING, id, velmora::WinText(velmora::WideFrom936(text)));
    };
    if (m_services.explorer != nullptr) retext(IDM_EXPLORER_ENTRIES, kExplorerSwitchAction.menuItem);
    retext(IDM_ENGLISH, kEnglishMenuItem);
    retext(IDM_MANAGE_RUN_COMMANDS, kManagerMenuItem);
    ShowCaptionButtonTips();
    // The caption is the frame's drawing: all of it again.
    Invalidate(TRUE);
}

void CTarvelDlg::OnInitWindowMenu(HMENU hMenu) {
    if (hMenu != ::GetSystemMenu(m_hWnd, FALSE)) return;
    const bool english = velmora::CurrentLanguage() == velmora::Language::kEnglish;
    ::CheckMenuItem(hMenu, IDM_ENGLISH, MF_BYCOMMAND | (english ? MF_CHECKED : MF_UNCHECKED));
    if (m_services.explorer == nullptr) return;
    const bool on = m_services.explorer->IsOn(m_services.explorerProgram);
    ::CheckMenuItem(hMenu, IDM_EXPLORER_ENTRIES, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void CTarvelDlg::OnSwitchLanguage() {
    const velmora::Language language = velmora::CurrentLanguage() == velmora::Language::kEnglish
                                           ? velmora::Language::kChinese
                                           : velmora::Language::kEnglish;
    velmora::UseLanguage(language);
    // Remembered for the user; a registry that refuses it leaves the choice
    // to this run.
    RememberLanguage(*m_services.registry, m_services.place.roots.user, language);
    ShowTexts();
}

void CTarvelDlg::OnSwitchExplorerEntries() {
    if (m_services.explorer == nullptr) return;
    const CStringW text =
        SwitchExplorerEntries(*m_services.explorer, m_services.explorerProgram, m_services.runsAsShellUser);
    ShowIconMessageBox(GetResourceInstance(), m_hWnd, IDI_MESSAGE_BOX,
                       velmora::WideFrom936(kMainNoticeCaption), text);
}

void CTarvelDlg::OnManageRunCommands() {
    CRunManagerDlg manager(m_services, this);
    manager.DoModal();
}
