#include "app/platform/FolderSecurity_win32.h"

#include <aclapi.h>
#include <sddl.h>

#include "base/win32_handles.h"

namespace {

using velmora::WinText;

constexpr SECURITY_INFORMATION kOwnerAndDacl = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

// `sddl` as a self-relative descriptor to LocalFree; empty when it is not
// valid SDDL.
velmora::OwnedLocalMemory DescriptorOf(const CStringW& sddl) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(WinText(sddl), SDDL_REVISION_1, &descriptor,
                                                                nullptr))
        return velmora::OwnedLocalMemory();
    return velmora::OwnedLocalMemory(descriptor);
}

// Turns on a privilege the process token holds (disabled, as every
// administrator's token holds SeTakeOwnershipPrivilege).
bool EnablePrivilege(const wchar_t* name) {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    const velmora::OwnedKernelHandle owned(token);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueW(nullptr, name, &privileges.Privileges[0].Luid)) return false;
    // Succeeds without enabling anything when the token lacks it.
    return ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
           ::GetLastError() == ERROR_SUCCESS;
}

}  // namespace

FolderSecurityCalls SystemFolderSecurityCalls() {
    FolderSecurityCalls calls;
    calls.createDirectory = [](LPCWSTR folder, LPSECURITY_ATTRIBUTES attributes) {
        return ::CreateDirectoryW(folder, attributes);
    };
    calls.setSecurity = [](LPCWSTR folder, SECURITY_INFORMATION what, PSID owner, PACL dacl) {
        return ::SetNamedSecurityInfoW(const_cast<LPWSTR>(folder), SE_FILE_OBJECT, what, owner, nullptr, dacl,
                                       nullptr);
    };
    calls.getSecurity = [](LPCWSTR folder, SECURITY_INFORMATION what, PSECURITY_DESCRIPTOR* pDescriptor) {
        return ::GetNamedSecurityInfoW(folder, SE_FILE_OBJECT, what, nullptr, nullptr, nullptr, nullptr,
                                       pDescriptor);
    };
    calls.getAttributes = [](LPCWSTR path) { return ::GetFileAttributesW(path); };
    return calls;
}

CStringW DescriptorSddl(PSECURITY_DESCRIPTOR descriptor) {
    LPWSTR text = nullptr;
    if (descriptor == nullptr || !::ConvertSecurityDescriptorToStringSecurityDescriptorW(
                                     descriptor, SDDL_REVISION_1, kOwnerAndDacl, &text, nullptr))
        return CStringW();
    const velmora::OwnedLocalMemory owned(text);
    return velmora::FromWin(text);
}

LauncherFiles::FolderSecurityRead ReadFolderSecurity(const FolderSecurityCalls& calls,
                                                     const CStringW& folder) {
    using Read = LauncherFiles::FolderSecurityRead;
    const DWORD attributes = calls.getAttributes(WinText(folder));
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        return {error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Read::kMissing
                                                                               : Read::kUnreadable,
                CStringW()};
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return {Read::kNotPlain, CStringW()};
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (calls.getSecurity(WinText(folder), kOwnerAndDacl, &descriptor) != ERROR_SUCCESS)
        return {Read::kUnreadable, CStringW()};
    const velmora::OwnedLocalMemory owned(descriptor);
    const CStringW sddl = DescriptorSddl(descriptor);
    return {sddl.IsEmpty() ? Read::kUnreadable : Read::kFolder, sddl};
}

bool MakeFolderWithSecurity(const FolderSecurityCalls& calls, const CStringW& folder, const CStringW& sddl) {
    const velmora::OwnedLocalMemory descriptor = DescriptorOf(sddl);
    if (!descriptor) return false;
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor.Get(), FALSE};
    return calls.createDirectory(WinText(folder), &attributes) != FALSE;
}

bool SetFolderSecurity(const FolderSecurityCalls& calls, const CStringW& folder, const CStringW& sddl) {
    const velmora::OwnedLocalMemory descriptor = DescriptorOf(sddl);
    if (!descriptor) return false;
    PSID owner = nullptr;
    PACL dacl = nullptr;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    if (!::GetSecurityDescriptorOwner(descriptor.Get(), &owner, &defaulted) || owner == nullptr ||
        !::GetSecurityDescriptorDacl(descriptor.Get(), &present, &dacl, &defaulted) || !present ||
        dacl == nullptr)
        return false;
    DWORD result = calls.setSecurity(WinText(folder), OWNER_SECURITY_INFORMATION, owner, nullptr);
    if (result == ERROR_ACCESS_DENIED && EnablePrivilege(L"SeTakeOwnershipPrivilege"))
        result = calls.setSecurity(WinText(folder), OWNER_SECURITY_INFORMATION, owner, nullptr);
    if (result != ERROR_SUCCESS) return false;
    return calls.setSecurity(WinText(folder), DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                             nullptr, dacl) == ERROR_SUCCESS;
}
