#include "app/TarvelDlg.h"

#include "app/CommandText.h"
#include "app/Registry.h"
#include "res/resource.h"
#include "wnd/MessageFilter.h"
#include "wnd/DC.h"
#include "wnd/WinApp.h"

namespace {

// Full path of the running executable. The path buffer starts at the
// platform's 260 bytes and grows while the name does not fit, so a long
// installation path is never cut short (a cut path would be registered as a
// command that starts nothing).
CString ReadModulePath() {
    CString strPath;
    for (DWORD capacity = MAX_PATH; capacity <= 32768; capacity *= 2) {
        char* buffer = strPath.GetBufferSetLength(static_cast<int>(capacity));
        ZeroMemory(buffer, capacity);
        const DWORD length = ::GetModuleFileNameA(nullptr, buffer, capacity);
        if (length == 0) break;
        if (length < capacity) {
            strPath.ReleaseBuffer(static_cast<int>(length));
            return strPath;
        }
    }
    strPath.ReleaseBuffer(0);
    return strPath;
}

RECT MakeRect(int left, int top, int width, int height) {
    return RECT{left, top, left + width, top + height};
}

}  // namespace

CTarvelDlg::CTarvelDlg(CWnd* pParent)
    : CTarvelDlgBase(IDD_TARVEL_DIALOG, pParent),
      m_hIcon(::LoadIconA(GetResourceInstance(), MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

void CTarvelDlg::DoDataExchange(CDataExchange* pDX) {
    CTarvelDlgBase::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EDIT_COMMAND_NAME, m_editCommandName);
    DDX_Control(pDX, IDC_BTN_ADD, m_btnAdd);
    DDX_Control(pDX, IDC_BTN_ADD_SELF, m_btnAddSelf);
}

bool CTarvelDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_SYSCOMMAND:
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
        case WM_CTLCOLORSTATIC:
            result = reinterpret_cast<LRESULT>(
                OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
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
            break;
        default:
            break;
    }
    return CTarvelDlgBase::ProcessWindowMessage(message, wParam, lParam, result);
}

BOOL CTarvelDlg::OnInitDialog() {
    SetWindowText("添加运行命令");
    CTarvelDlgBase::OnInitDialog();

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    m_lblUsage.Create("使用说明：拖拽Exe文件到此窗口->填写命令名称->点击添加", WS_CHILD | WS_VISIBLE,
                      MakeRect(20, 38, 320, 20), this, kUsageLabelId);
    m_lblCommandName.Create("命令名称：", WS_CHILD | WS_VISIBLE, MakeRect(30, 63, 60, 20), this,
                            kCommandNameLabelId);

    SetWindowPos(nullptr, 0, 0, 355, 250, SWP_NOMOVE | SWP_NOZORDER);
    CenterWindow();

    DragAcceptFiles(TRUE);
    // With administrative rights the window would otherwise never see a drop
    // from the shell.
    AllowDroppedFiles(m_hWnd);

    m_editCommandName.SetWindowText("");
    m_editCommandName.LimitText(kCommandNameLimit);
    m_editCommandName.MoveWindow(92, 63, 150, 20);

    m_btnAdd.SetWindowText("添加命令");
    m_btnAdd.MoveWindow(260, 60, 71, 20);

    m_btnAddSelf.SetWindowText("添加本程序为 run 命令");
    m_btnAddSelf.MoveWindow(110, 210, 131, 20);

    m_strSelfPath = ReadModulePath();

    const CString strRegistered = RegReadString(HKEY_LOCAL_MACHINE, kAppPathsRunKey, "");
    if (!m_strSelfPath.IsEmpty() && strRegistered.CompareNoCase(m_strSelfPath) == 0) {
        m_btnAddSelf.ShowWindow(SW_HIDE);
    }

    ModifyStyle(0, WS_CLIPCHILDREN);
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return TRUE;
}

void CTarvelDlg::OnSysCommand(UINT, LPARAM) { Default(); }

void CTarvelDlg::OnPaint() {
    if (!IsIconic()) {
        CTarvelDlgBase::OnPaint();
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

void CTarvelDlg::OnTimer(UINT_PTR nIDEvent) { CTarvelDlgBase::OnTimer(nIDEvent); }

BOOL CTarvelDlg::OnEraseBkgnd(HDC hDC) {
    RECT inner{};
    GetClientRect(&inner);
    // A solid fill without a brush object: an opaque empty text run paints
    // the rectangle in the background colour.
    const COLORREF previous = ::SetBkColor(hDC, kDialogBackground);
    ::ExtTextOutA(hDC, 0, 0, ETO_OPAQUE, &inner, nullptr, 0, nullptr);
    ::SetBkColor(hDC, previous);
    if (m_hFileIcon48) ::DrawIconEx(hDC, 144, 130, m_hFileIcon48.Get(), 48, 48, 0, nullptr, DI_NORMAL);
    return CTarvelDlgBase::OnEraseBkgnd(hDC);
}

HBRUSH CTarvelDlg::OnCtlColorStatic(HDC hDC, HWND) {
    // The plain labels sit on the dialog's own background colour.
    ::SetBkColor(hDC, kDialogBackground);
    ::SetDCBrushColor(hDC, kDialogBackground);
    return static_cast<HBRUSH>(::GetStockObject(DC_BRUSH));
}
