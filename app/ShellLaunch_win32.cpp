#include "app/ShellLaunch.h"
#include "base/win32_handles.h"

ShellExecuteExFn& ShellExecuteFunction() {
    static ShellExecuteExFn function = &::ShellExecuteExA;
    return function;
}

DWORD ShellOpen(HWND hOwner, const char* file, const char* parameters) {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = hOwner;
    info.lpVerb = "open";
    info.lpFile = file;
    info.lpParameters = parameters;
    info.nShow = SW_SHOWNORMAL;
    ::SetLastError(ERROR_SUCCESS);
    if (ShellExecuteFunction()(&info)) return ERROR_SUCCESS;
    const DWORD error = ::GetLastError();
    if (error != ERROR_SUCCESS) return error;
    // Some shells report only through the old instance code (2 and up are
    // the error codes of the same numbers).
    const auto code = static_cast<DWORD>(reinterpret_cast<INT_PTR>(info.hInstApp));
    return code >= 2 && code <= 32 ? code : ERROR_GEN_FAILURE;
}

CString SystemErrorText(DWORD error) {
    char* buffer = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    const velmora::OwnedLocalMemory owned(buffer);
    CString text;
    if (length > 0 && buffer != nullptr) text = CString(buffer, static_cast<int>(length));
    text.TrimRight(" \r\n");
    if (text.IsEmpty()) text.Format("错误 %lu", static_cast<unsigned long>(error));
    return text;
}
