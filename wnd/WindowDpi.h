// The DPI a window is shown at. Windows 10 (1607) and later give each
// window the DPI of its monitor (GetDpiForWindow, looked up at run time so
// that the program still starts on older systems); before that every window
// has the screen's DPI.
#pragma once

#include <windows.h>

// WM_DPICHANGED (Windows 8.1): wParam holds the new DPI (x in the low word,
// y in the high word), lParam points at the window rectangle the system
// suggests for it.
constexpr UINT kWmDpiChanged = 0x02E0;

// The window's DPI: GetDpiForWindow where the system has it and answers,
// else the LOGPIXELSY of the screen; 96 when neither can be read.
int WindowDpi(HWND hWnd) noexcept;
// The LOGPIXELSY of the screen, the DPI of every window that is not told
// another; 96 when it cannot be read.
int ScreenDpi() noexcept;

// Tells the system to leave a dialog's font and its controls' places alone
// when the dialog moves to a monitor of another DPI (Windows 10 1703 and
// later scale a dialog of a per-monitor aware program by themselves): the
// dialog lays itself out for every DPI. Without that service nothing is
// done. Returns whether the system took the request.
bool KeepDialogLayoutOnDpiChange(HWND hDialog) noexcept;
