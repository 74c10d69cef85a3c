// The shell's and the common dialogs' functions that the tool calls, bound
// when first called instead of when the program starts: calling them
// through here adds no import of shell32 or comdlg32 to the program.
//
// Each function here has the system's signature and result; where the
// library or the function cannot be found it fails as the system's would on
// bad input (zero, null, FALSE, or E_NOTIMPL) and sets ERROR_PROC_NOT_FOUND.
#pragma once

#include <windows.h>
// after windows.h, which they need
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

namespace velmora::shell {

UINT WINAPI DragQueryFileW(HDROP hDrop, UINT index, LPWSTR buffer, UINT units);
BOOL WINAPI DragQueryPoint(HDROP hDrop, POINT* point);
void WINAPI DragFinish(HDROP hDrop);
UINT WINAPI ExtractIconExW(LPCWSTR file, int index, HICON* large, HICON* small, UINT icons);
BOOL WINAPI ShellExecuteExW(SHELLEXECUTEINFOW* info);
PIDLIST_ABSOLUTE WINAPI SHBrowseForFolderW(BROWSEINFOW* info);
HRESULT WINAPI SHGetNameFromIDList(PCIDLIST_ABSOLUTE pidl, SIGDN form, PWSTR* name);
BOOL WINAPI GetOpenFileNameW(OPENFILENAMEW* ofn);
BOOL WINAPI GetSaveFileNameW(OPENFILENAMEW* ofn);

}  // namespace velmora::shell
