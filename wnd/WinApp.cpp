#include "wnd/WinApp.h"

#include <ole2.h>

#include "wnd/Dialog.h"

namespace {

CWinApp* g_pApp = nullptr;

}  // namespace

CWinApp::CWinApp() noexcept { g_pApp = this; }

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run() {
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (CWnd::WalkPreTranslateTree(&msg)) continue;
        if (CDialog::IsModelessDialogMessage(&msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return ExitInstance();
}

int CWinApp::ExitInstance() {
    if (m_bOleInitialized) {
        ::OleUninitialize();
        m_bOleInitialized = false;
    }
    return 0;
}

BOOL CWinApp::InitOle() {
    if (m_bOleInitialized) return TRUE;
    m_bOleInitialized = SUCCEEDED(::OleInitialize(nullptr));
    return m_bOleInitialized ? TRUE : FALSE;
}

CWinApp* GetApp() noexcept { return g_pApp; }

HINSTANCE GetResourceInstance() noexcept {
    if (g_pApp != nullptr && g_pApp->m_hInstance != nullptr) return g_pApp->m_hInstance;
    return ::GetModuleHandleW(nullptr);
}

int RunApplication(HINSTANCE hInstance) {
    CWinApp* pApp = GetApp();
    if (pApp == nullptr) return 1;
    pApp->m_hInstance = hInstance;
    try {
        if (!pApp->InitInstance()) return pApp->ExitInstance();
        return pApp->Run();
    } catch (...) {
        return 1;
    }
}
