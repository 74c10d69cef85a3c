// CTarvelDlg: the main dialog. The user drops a program on it, types a
// command name and presses the add button; the dialog registers the name
// below App Paths. A link registers the tool itself as "run".
#pragma once

#include "base/win32_handles.h"
#include "velmora/CString.h"
#include "wnd/Controls.h"
#include "wnd/Dialog.h"

// The dialog's base class; the skinned frame takes this place.
using CTarvelDlgBase = CDialog;
// The labels' and buttons' classes; the skin's image buttons take their place.
using CTarvelLabel = CStatic;
using CTarvelButton = CButton;

// Identifiers of the labels created at run time.
constexpr UINT kUsageLabelId = 6500;
constexpr UINT kCommandNameLabelId = 6610;
// Longest command name the field accepts, in bytes.
constexpr int kCommandNameLimit = 25;
// Background of the dialog's interior, 0x00BBGGRR.
constexpr COLORREF kDialogBackground = 0xEFD9C1;

class CTarvelDlg : public CTarvelDlgBase {
public:
    explicit CTarvelDlg(CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnTimer(UINT_PTR nIDEvent);
    BOOL OnEraseBkgnd(HDC hDC);
    HBRUSH OnCtlColorStatic(HDC hDC, HWND hWndControl);
    void OnDropFiles(HDROP hDropInfo);
    void OnAddCommand();
    void OnAddSelf();

    // Shows the icon of an accepted dropped executable (m_hFileIcon,
    // m_hFileIcon48) and has the window redrawn.
    void ShowDroppedFileIcon(const CString& strPath);

    HICON m_hIcon;
    velmora::OwnedIcon m_hFileIcon;
    velmora::OwnedIcon m_hFileIcon48;
    CEdit m_editCommandName;
    CTarvelLabel m_lblUsage;
    CTarvelButton m_btnAdd;
    CTarvelButton m_btnAddSelf;
    CTarvelLabel m_lblCommandName;
    CString m_strSelfPath;
    CString m_strExePath;
};
