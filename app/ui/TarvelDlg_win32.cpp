#include "app/ui/TarvelDlg_win32.h"

#include <initializer_list>

#include "app/platform/IconMessageBox_win32.h"
#include "app/platform/TargetFile_win32.h"
#include "app/runcmd/CommandText.h"
#include "app/text/ExplorerText.h"
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

}  // namespace

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
                               velmora::WideFrom936("温馨提示"), StartFileMissingText(m_startFile.path));
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
    return CQebDialog::OnCommand(wParam, lParam);
}

BOOL CTarvelDlg::OnInitDialog() {
    SetUpFrameSkin();
    SetWindowText(velmora::WideFrom936("添加运行命令"));
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

    const auto createLabel = [this](CQebTransButton& label, const char* text, RECT rect, UINT id) {
        label.Create(velmora::WideFrom936(text), WS_CHILD | WS_VISIBLE, rect, this, id);
        label.SetBkColor(kDialogBackground);
        label.SetStaticIcon(nullptr);
    };
    createLabel(m_lblUsage, "使用说明：拖拽Exe文件到此窗口->填写命令名称->点击添加",
                ToRect(layout.usageLabel), kUsageLabelId);
    createLabel(m_lblCommandName, "命令名称：", ToRect(layout.commandNameLabel), kCommandNameLabelId);

    DragAcceptFiles(TRUE);
    // With administrative rights the window would otherwise never see a drop
    // from the shell.
    AllowDroppedFiles(m_hWnd, m_services.messageFilter);

    m_editCommandName.SetFont(CFont::TextFont(Dpi()));
    m_editCommandName.SetWindowText(CStringW());
    m_editCommandName.LimitText(kCommandNameLimit);
    MoveTo(m_editCommandName, layout.commandNameField);

    // In bitmap mode the button takes the strip's height after the move.
    m_btnAdd.SetWindowText(velmora::WideFrom936("添加命令"));
    MoveTo(m_btnAdd, layout.addButton);

    m_btnAddSelf.SetButtonMode();
    m_btnAddSelf.SetBkColor(kDialogBackground);
    m_btnAddSelf.SetTextColors(0xFF0000, 0xFF0000);
    m_btnAddSelf.m_underlineStates = 7;
    m_btnAddSelf.SetWindowText(velmora::WideFrom936("添加本程序为 run 命令"));
    MoveTo(m_btnAddSelf, layout.addSelfLink);

    m_strSelfPath = RunningProgramPath();

    // The scope the link would write to.
    const CStringW strRegistered = m_services.Store(m_prompts).TargetOf(u"run");
    if (!m_strSelfPath.IsEmpty() && strRegistered.CompareNoCase(m_strSelfPath) == 0) {
        m_btnAddSelf.ShowWindow(SW_HIDE);
    }

    AddManagerMenuItem();

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
    if (m_services.explorer != nullptr) {
        GetSystemMenu(FALSE).AppendMenu(MF_STRING, IDM_EXPLORER_ENTRIES,
                                        velmora::WideFrom936(kExplorerSwitchAction.menuItem));
    }
    GetSystemMenu(FALSE).AppendMenu(MF_STRING, IDM_MANAGE_RUN_COMMANDS,
                                    velmora::WideFrom936("管理运行命令…"));
}

void CTarvelDlg::OnInitWindowMenu(HMENU hMenu) {
    if (m_services.explorer == nullptr || hMenu != ::GetSystemMenu(m_hWnd, FALSE)) return;
    const bool on = m_services.explorer->IsOn(m_services.explorerProgram);
    ::CheckMenuItem(hMenu, IDM_EXPLORER_ENTRIES, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void CTarvelDlg::OnSwitchExplorerEntries() {
    if (m_services.explorer == nullptr) return;
    const CStringW text =
        SwitchExplorerEntries(*m_services.explorer, m_services.explorerProgram, m_services.runsAsShellUser);
    ShowIconMessageBox(GetResourceInstance(), m_hWnd, IDI_MESSAGE_BOX, velmora::WideFrom936("温馨提示"),
                       text);
}

void CTarvelDlg::OnManageRunCommands() {
    CRunManagerDlg manager(m_services, this);
    manager.DoModal();
}
