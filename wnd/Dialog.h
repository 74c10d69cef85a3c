// CDialog: a dialog box built from a dialog template resource.
//
// DoModal runs the dialog in the system's modal loop (DialogBoxParam) and
// returns the value given to EndDialog, or -1 when the dialog could not be
// created. Create makes the same dialog modeless; EndDialog then destroys it.
// While the dialog runs, every message of the loop is first offered to
// PreTranslateMessage of the top-level window it is for. A modeless dialog
// runs in the application's loop (CWinApp::Run), which then gives it its
// dialog keys (Tab, Enter, Escape, arrows, mnemonics) through
// IsModelessDialogMessage.
//
// The dialog is bound to its window when WM_INITDIALOG arrives; from then on
// its message map sees every message, and OnInitDialog binds the template's
// controls through DoDataExchange. IDOK and IDCANCEL end the dialog through
// OnOK and OnCancel unless a derived class handles them.
#pragma once

#include "wnd/Wnd.h"

class CDialog;

// Passed to DoDataExchange: the dialog whose controls are being bound.
class CDataExchange {
public:
    explicit CDataExchange(CDialog* pDlgWnd) noexcept : m_pDlgWnd(pDlgWnd) {}
    CDialog* m_pDlgWnd;
};

// Binds control nIDC of the dialog to rControl by subclassing the template's
// window; a control that is already bound is left as it is.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr) noexcept;
    ~CDialog() override;

    INT_PTR DoModal();
    BOOL Create(CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    // Offers a message of an application loop to the modeless dialog of this
    // layer that its window belongs to, through IsDialogMessage. TRUE when
    // the dialog took it (the message is then processed); FALSE for a
    // message of any other window.
    static BOOL IsModelessDialogMessage(MSG* pMsg);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);

    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProcTrampoline(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND ParentHandle() const noexcept { return m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr; }

    bool m_bModal = false;
};
