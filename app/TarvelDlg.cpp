#include "app/TarvelDlg.h"

#include "app/CommandText.h"
#include "app/Elevation.h"
#include "app/Registry.h"
#include "res/resource.h"
#include "wnd/DC.h"
#include "wnd/MessageFilter.h"
#include "wnd/WinApp.h"

namespace {

// Full path of the running executable, in UTF-16. The buffer grows while
// the name does not fit, so a long installation path is never cut short (a
// cut path would be registered as a command that starts nothing).
CStringW ReadModulePath() {
    return velmora::ReadGrowingText([](char16_t* buffer, std::size_t capacity) -> std::size_t {
        // The capacity itself when the name was cut.
        return ::GetModuleFileNameW(nullptr, velmora::WinBuffer(buffer), static_cast<DWORD>(capacity));
    });
}

RECT MakeRect(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}

}  // namespace

CTarvelDlg::CTarvelDlg(const DialogServices& services, CWnd* pParent)
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
            OnSysCommand(static_cast<UINT>(wParam), lParam);
            return true;
        case WM_PAINT:
            OnPaint();
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
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_BTN_ADD) {
                OnAddCommand();
                return true;
            }
            if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_BTN_ADD_SELF) {
                OnAddSelf();
                return true;
            }
            // The frame tracks the window menu with the dialog as owner: its
            // items arrive as menu commands.
            if (HIWORD(wParam) == 0 && lParam == 0 && LOWORD(wParam) == IDM_MANAGE_RUN_COMMANDS) {
                OnManageRunCommands();
                return true;
            }
            break;
        default:
            break;
    }
    return CQebDialog::ProcessWindowMessage(message, wParam, lParam, result);
}

BOOL CTarvelDlg::OnInitDialog() {
    SetUpFrameSkin();
    SetWindowText(velmora::WideFrom936("添加运行命令"));
    CQebDialog::OnInitDialog();

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    m_btnAdd.SetBitmap(&m_bmpAddButton);
    m_btnAdd.SetBkColor(kDialogBackground);

    const auto createLabel = [this](CQebTransButton& label, const char* text, RECT rect, UINT id) {
        label.Create(velmora::WideFrom936(text), WS_CHILD | WS_VISIBLE, rect, this, id);
        label.SetBkColor(kDialogBackground);
        label.SetStaticIcon(nullptr);
    };
    createLabel(m_lblUsage, "使用说明：拖拽Exe文件到此窗口->填写命令名称->点击添加",
                MakeRect(20, 38, 320, 20), kUsageLabelId);
    createLabel(m_lblCommandName, "命令名称：", MakeRect(30, 63, 60, 20), kCommandNameLabelId);

    SetWindowPos(nullptr, 0, 0, 355, 250, SWP_NOMOVE | SWP_NOZORDER);
    CenterWindow();

    DragAcceptFiles(TRUE);
    // With administrative rights the window would otherwise never see a drop
    // from the shell.
    AllowDroppedFiles(m_hWnd);

    m_editCommandName.SetFont(CFont::TextFont());
    m_editCommandName.SetWindowText(CStringW());
    m_editCommandName.LimitText(kCommandNameLimit);
    m_editCommandName.MoveWindow(92, 63, 150, 20);

    // In bitmap mode the button takes the strip's height after the move.
    m_btnAdd.SetWindowText(velmora::WideFrom936("添加命令"));
    m_btnAdd.MoveWindow(260, 60, 71, 20);

    m_btnAddSelf.SetButtonMode();
    m_btnAddSelf.SetBkColor(kDialogBackground);
    m_btnAddSelf.SetTextColors(0xFF0000, 0xFF0000);
    m_btnAddSelf.m_underlineStates = 7;
    m_btnAddSelf.SetWindowText(velmora::WideFrom936("添加本程序为 run 命令"));
    m_btnAddSelf.MoveWindow(110, 210, 131, 20);

    m_strSelfPath = ReadModulePath();

    // The scope the link would write to.
    const CStringW strRegistered = RegReadString(*m_services.registry, ToRegKey(RootKeyOf(m_services.scope)),
                                                 kAppPathsRunKey, CStringW());
    if (!m_strSelfPath.IsEmpty() && strRegistered.CompareNoCase(m_strSelfPath) == 0) {
        m_btnAddSelf.ShowWindow(SW_HIDE);
    }

    AddManagerMenuItem();

    ModifyStyle(0, WS_CLIPCHILDREN);
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
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
    if (m_hFileIcon48) dc.DrawIcon(144, 130, m_hFileIcon48.Get(), 48, 48, DI_NORMAL);
    return CQebDialog::OnEraseBkgnd(hDC);
}
