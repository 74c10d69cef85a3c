// The shell's, the common dialogs' and the common controls' functions that
// the tool calls, bound when first called instead of when the program
// starts: calling them through here adds no import of shell32, comdlg32 or
// comctl32 to the program. Each library is loaded from the system folder
// only (comctl32 is no known DLL: imported, it would be searched for beside
// the program first, where anyone who can write to a Downloads folder can
// put one; the manifest's version 6 still comes from the side-by-side store).
//
// Each function here has the system's signature and result; where the
// library or the function cannot be found it fails as the system's would on
// bad input (zero, null, FALSE, or E_NOTIMPL) and sets ERROR_PROC_NOT_FOUND.
#pragma once

#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>
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
BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls);
HIMAGELIST WINAPI ImageList_Create(int width, int height, UINT flags, int initial, int grow);
BOOL WINAPI ImageList_Destroy(HIMAGELIST list);
int WINAPI ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
int WINAPI ImageList_GetImageCount(HIMAGELIST list);
BOOL WINAPI ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);

}  // namespace velmora::shell
