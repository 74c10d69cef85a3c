#include "app/platform/ShellLaunch_win32.h"

#include "base/language.h"
#include "base/win32_handles.h"

DWORD ShellOpen(ShellExecuteExFn shellExecute, HWND hOwner, const CStringW& file,
                const CStringW& parameters) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = hOwner;
    info.lpVerb = L"open";
    info.lpFile = velmora::WinText(file);
    info.lpParameters = parameters.IsEmpty() ? nullptr : velmora::WinText(parameters);
    info.nShow = SW_SHOWNORMAL;
    ::SetLastError(ERROR_SUCCESS);
    if (shellExecute(&info)) return ERROR_SUCCESS;
    const DWORD error = ::GetLastError();
    if (error != ERROR_SUCCESS) return error;
    // Some shells report only through the old instance code (2 and up are
    // the error codes of the same numbers).
    const auto code = static_cast<DWORD>(reinterpret_cast<INT_PTR>(info.hInstApp));
    return code >= 2 && code <= 32 ? code : ERROR_GEN_FAILURE;
}

CStringW SystemErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const velmora::OwnedLocalMemory owned(buffer);
    CStringW text;
    if (length > 0 && buffer != nullptr) text = velmora::FromWin(buffer, length);
    text.TrimRight(u" \r\n");
    if (text.IsEmpty())
        text = velmora::FillIn(velmora::WideFrom936(velmora::Text{"错误 %s", "Error %s"}),
                               {velmora::DecimalText(error)});
    return text;
}
