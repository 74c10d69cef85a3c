#include "base/shell_on_demand_win32.h"

#include "base/system_library_win32.h"

// Why: shell32 and comdlg32 bring shcore, shlwapi, winspool and compstui
// with them, and nothing the window shows before its first paint needs any
// of them; loaded at start-up they would add to the time to the first paint
// (the start-up benchmark of `make bench`).

namespace velmora::shell {
namespace {

// The function `name` of `library`, loaded on first use and kept for the
// life of the process (never freed: a bound pointer must stay valid). Each
// caller keeps what it found in a static of its own, so the lookup is
// made once per function.
template <typename Function>
Function Bind(const wchar_t* library, const char* name) {
    HMODULE hModule = LoadSystemLibrary(library);
    if (hModule == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(hModule, name)));
}

#define VELMORA_BIND(library, name) static const auto bound = Bind<decltype(&::name)>(library, #name)

// What a call that found no function returns, with the reason set.
template <typename Result>
Result NotFound(Result failed) {
    ::SetLastError(ERROR_PROC_NOT_FOUND);
    return failed;
}

constexpr const wchar_t* kShell = L"shell32.dll";
constexpr const wchar_t* kDialogs = L"comdlg32.dll";
constexpr const wchar_t* kControls = L"comctl32.dll";

}  // namespace

UINT WINAPI DragQueryFileW(HDROP hDrop, UINT index, LPWSTR buffer, UINT units) {
    VELMORA_BIND(kShell, DragQueryFileW);
    return bound != nullptr ? bound(hDrop, index, buffer, units) : NotFound(0u);
}

BOOL WINAPI DragQueryPoint(HDROP hDrop, POINT* point) {
    VELMORA_BIND(kShell, DragQueryPoint);
    return bound != nullptr ? bound(hDrop, point) : NotFound(FALSE);
}

void WINAPI DragFinish(HDROP hDrop) {
    VELMORA_BIND(kShell, DragFinish);
    if (bound != nullptr) bound(hDrop);
}

UINT WINAPI ExtractIconExW(LPCWSTR file, int index, HICON* large, HICON* small, UINT icons) {
    VELMORA_BIND(kShell, ExtractIconExW);
    return bound != nullptr ? bound(file, index, large, small, icons) : NotFound(0u);
}

BOOL WINAPI ShellExecuteExW(SHELLEXECUTEINFOW* info) {
    VELMORA_BIND(kShell, ShellExecuteExW);
    return bound != nullptr ? bound(info) : NotFound(FALSE);
}

PIDLIST_ABSOLUTE WINAPI SHBrowseForFolderW(BROWSEINFOW* info) {
    VELMORA_BIND(kShell, SHBrowseForFolderW);
    return bound != nullptr ? bound(info) : NotFound<PIDLIST_ABSOLUTE>(nullptr);
}

HRESULT WINAPI SHGetNameFromIDList(PCIDLIST_ABSOLUTE pidl, SIGDN form, PWSTR* name) {
    VELMORA_BIND(kShell, SHGetNameFromIDList);
    return bound != nullptr ? bound(pidl, form, name) : NotFound(E_NOTIMPL);
}

BOOL WINAPI GetOpenFileNameW(OPENFILENAMEW* ofn) {
    VELMORA_BIND(kDialogs, GetOpenFileNameW);
    return bound != nullptr ? bound(ofn) : NotFound(FALSE);
}

BOOL WINAPI GetSaveFileNameW(OPENFILENAMEW* ofn) {
    VELMORA_BIND(kDialogs, GetSaveFileNameW);
    return bound != nullptr ? bound(ofn) : NotFound(FALSE);
}

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* controls) {
    VELMORA_BIND(kControls, InitCommonControlsEx);
    return bound != nullptr ? bound(controls) : NotFound(FALSE);
}

HIMAGELIST WINAPI ImageList_Create(int width, int height, UINT flags, int initial, int grow) {
    VELMORA_BIND(kControls, ImageList_Create);
    return bound != nullptr ? bound(width, height, flags, initial, grow) : NotFound<HIMAGELIST>(nullptr);
}

BOOL WINAPI ImageList_Destroy(HIMAGELIST list) {
    VELMORA_BIND(kControls, ImageList_Destroy);
    return bound != nullptr ? bound(list) : NotFound(FALSE);
}

int WINAPI ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) {
    VELMORA_BIND(kControls, ImageList_ReplaceIcon);
    return bound != nullptr ? bound(list, index, icon) : NotFound(-1);
}

int WINAPI ImageList_GetImageCount(HIMAGELIST list) {
    VELMORA_BIND(kControls, ImageList_GetImageCount);
    return bound != nullptr ? bound(list) : NotFound(0);
}

BOOL WINAPI ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style) {
    VELMORA_BIND(kControls, ImageList_Draw);
    return bound != nullptr ? bound(list, index, dc, x, y, style) : NotFound(FALSE);
}

}  // namespace velmora::shell
