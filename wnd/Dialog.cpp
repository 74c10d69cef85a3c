#include "wnd/Dialog.h"

#include "wnd/WinApp.h"

namespace {

// The message filter hook of the modal loops of this thread; nested modal
// dialogs share it.
thread_local HHOOK t_hMsgFilterHook = nullptr;
thread_local int t_modalDepth = 0;

// Offers a message of a modal loop to the bound windows it concerns.
LRESULT CALLBACK MsgFilterHook(int nCode, WPARAM wParam, LPARAM lParam) {
    if (nCode == MSGF_DIALOGBOX && CWnd::WalkPreTranslateTree(reinterpret_cast<MSG*>(lParam))) return 1;
    return ::CallNextHookEx(t_hMsgFilterHook, nCode, wParam, lParam);
}

class ModalFilterScope {
public:
    ModalFilterScope() {
        if (t_modalDepth++ == 0) {
            t_hMsgFilterHook =
                ::SetWindowsHookExW(WH_MSGFILTER, &MsgFilterHook, nullptr, ::GetCurrentThreadId());
        }
    }
    ~ModalFilterScope() {
        if (--t_modalDepth == 0 && t_hMsgFilterHook != nullptr) {
            ::UnhookWindowsHookEx(t_hMsgFilterHook);
            t_hMsgFilterHook = nullptr;
        }
    }
    ModalFilterScope(const ModalFilterScope&) = delete;
    ModalFilterScope& operator=(const ModalFilterScope&) = delete;
};

}  // namespace

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd != nullptr) return;
    rControl.SubclassDlgItem(static_cast<UINT>(nIDC), pDX->m_pDlgWnd);
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) noexcept
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
    if (m_hWnd != nullptr) return -1;
    ModalFilterScope filter;
    m_bModal = true;
    const INT_PTR result =
        ::DialogBoxParamW(GetResourceInstance(), MAKEINTRESOURCEW(m_nIDTemplate), ParentHandle(),
                          &DialogProcTrampoline, reinterpret_cast<LPARAM>(this));
    m_bModal = false;
    return result;
}

BOOL CDialog::Create(CWnd* pParentWnd) {
    if (m_hWnd != nullptr) return FALSE;
    if (pParentWnd != nullptr) m_pParentWnd = pParentWnd;
    m_bModal = false;
    HWND hWnd = ::CreateDialogParamW(GetResourceInstance(), MAKEINTRESOURCEW(m_nIDTemplate), ParentHandle(),
                                     &DialogProcTrampoline, reinterpret_cast<LPARAM>(this));
    return hWnd != nullptr;
}

void CDialog::EndDialog(int nResult) {
    if (m_hWnd == nullptr) return;
    if (m_bModal) {
        ::EndDialog(m_hWnd, nResult);
    } else {
        DestroyWindow();
    }
}

BOOL CDialog::OnInitDialog() {
    CDataExchange dx(this);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

bool CDialog::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_INITDIALOG:
            result = OnInitDialog();
            return true;
        default:
            return CWnd::ProcessWindowMessage(message, wParam, lParam, result);
    }
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
            case IDOK:
                OnOK();
                return TRUE;
            case IDCANCEL:
                OnCancel();
                return TRUE;
            default:
                break;
        }
    }
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CDialog::IsModelessDialogMessage(MSG* pMsg) {
    if (pMsg == nullptr || pMsg->hwnd == nullptr) return FALSE;
    HWND hRoot = ::GetAncestor(pMsg->hwnd, GA_ROOT);
    const CDialog* pDlg = dynamic_cast<const CDialog*>(FromHandlePermanent(hRoot));
    // A modal dialog's keys are its own loop's business.
    if (pDlg == nullptr || pDlg->m_bModal) return FALSE;
    return ::IsDialogMessageW(hRoot, pMsg);
}

INT_PTR CALLBACK CDialog::DialogProcTrampoline(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INITDIALOG) {
        // Everything else reaches the bound dialog through its window
        // procedure; what comes back here wants the system's default handling.
        return FALSE;
    }
    CDialog* pDlg = reinterpret_cast<CDialog*>(lParam);
    if (pDlg == nullptr || !pDlg->SubclassWindow(hWnd)) return TRUE;
    try {
        return pDlg->WindowProc(message, wParam, lParam);
    } catch (...) {
        return TRUE;
    }
}
