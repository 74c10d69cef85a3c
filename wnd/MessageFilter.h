// Letting dropped files reach an elevated window.
//
// Since Vista a window of a process with administrative rights does not get
// messages from less privileged processes, such as the shell that drags a
// file, unless it lets them through its message filter. The filter function,
// ChangeWindowMessageFilterEx, exists from Windows 7 on; it is looked up at
// run time so that the program still starts where it is missing.
#pragma once

#include <windows.h>

// Not defined by every SDK: the shell's message that carries the drop data.
constexpr UINT kWmCopyGlobalData = 0x0049;

using ChangeWindowMessageFilterExFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);

// The filter function used by AllowDroppedFiles: user32's, or null where it
// does not exist. Tests replace it through this reference.
ChangeWindowMessageFilterExFn& MessageFilterFunction();

// Lets WM_DROPFILES, WM_COPYDATA and WM_COPYGLOBALDATA through the window's
// message filter. Returns how many of the three the system accepted: 0 when
// there is no filter function.
int AllowDroppedFiles(HWND hWnd);
