// Letting dropped files reach an elevated window.
//
// Since Vista a window of a process with administrative rights does not get
// messages from less privileged processes, such as the shell that drags a
// file, unless it lets them through its message filter. Windows 7 and later
// filter per window, with ChangeWindowMessageFilterEx; Vista only for the
// whole process, with ChangeWindowMessageFilter. Both are looked up at run
// time, so that the program still starts where neither exists.
#pragma once

#include <windows.h>

// Not defined by every SDK: the shell's message that carries the drop data.
constexpr UINT kWmCopyGlobalData = 0x0049;

using ChangeWindowMessageFilterExFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
using ChangeWindowMessageFilterFn = BOOL(WINAPI*)(UINT, DWORD);

// The two ways of changing the filter, either null where the system has none.
struct MessageFilter {
    ChangeWindowMessageFilterExFn forWindow = nullptr;
    ChangeWindowMessageFilterFn forProcess = nullptr;
};

// user32's filter functions, where they exist.
MessageFilter SystemMessageFilter();

// Lets WM_DROPFILES, WM_COPYDATA and WM_COPYGLOBALDATA through the window's
// message filter, or where there is no per-window filter (Vista) through the
// process's. Returns how many of the three the system accepted: 0 when there
// is no filter function at all.
int AllowDroppedFiles(HWND hWnd, const MessageFilter& filter);
