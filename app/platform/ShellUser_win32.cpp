#include "app/platform/ShellUser_win32.h"

#include <windows.h>

#include <vector>

#include "base/win32_handles.h"

namespace {

// The user SID of `process`'s token, as its bytes; empty when unreadable.
std::vector<unsigned char> TokenUserOf(HANDLE process) {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(process, TOKEN_QUERY, &token)) return {};
    const velmora::OwnedKernelHandle owned(token);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    if (size == 0 || !::GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) return {};
    const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    if (!::IsValidSid(sid)) return {};
    const auto* bytes = static_cast<const unsigned char*>(sid);
    return std::vector<unsigned char>(bytes, bytes + ::GetLengthSid(sid));
}

}  // namespace

bool RunsAsShellUser() {
    const HWND shell = ::GetShellWindow();
    DWORD processId = 0;
    if (shell == nullptr || ::GetWindowThreadProcessId(shell, &processId) == 0 || processId == 0) return true;
    const velmora::OwnedKernelHandle process(
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return true;
    const std::vector<unsigned char> shellUser = TokenUserOf(process.Get());
    const std::vector<unsigned char> ownUser = TokenUserOf(::GetCurrentProcess());
    if (shellUser.empty() || ownUser.empty()) return true;
    return shellUser == ownUser;
}
