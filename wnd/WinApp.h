// CWinApp: the one application object of a program.
//
// The program defines exactly one global object of a class derived from
// CWinApp. The process entry (AppEntry.cpp, linked into the executable) sets
// its module instance and calls InitInstance; when that returns FALSE the
// process ends with ExitInstance's code, otherwise Run pumps messages until
// WM_QUIT: each is offered to PreTranslateMessage of the windows it concerns,
// then to the modeless dialog it belongs to, and is dispatched when neither
// took it.
#pragma once

#include <windows.h>

class CWnd;

class CWinApp {
public:
    CWinApp() noexcept;
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    // Initialises OLE for this thread; ExitInstance uninitialises it.
    BOOL InitOle();

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

private:
    bool m_bOleInitialized = false;
};

// The application object, or null in a program without one (tests).
CWinApp* GetApp() noexcept;

// The module that holds the program's resources: the application's instance,
// or the executable's when there is no application object.
HINSTANCE GetResourceInstance() noexcept;

// The process entry's work: runs the application object's start-up.
int RunApplication(HINSTANCE hInstance);
