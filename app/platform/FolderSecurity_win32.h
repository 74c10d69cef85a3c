// A folder's security descriptor on Windows, read, given at creation and
// set, as SDDL text. The system calls go through FolderSecurityCalls, so
// that a test can see the descriptor each one is handed (Wine keeps none
// for a folder: what it reads back is its own default).
#pragma once

#include <windows.h>

#include <functional>

#include "app/launcher/LauncherFiles.h"

struct FolderSecurityCalls {
    // CreateDirectoryW
    std::function<BOOL(LPCWSTR folder, LPSECURITY_ATTRIBUTES attributes)> createDirectory;
    // SetNamedSecurityInfoW for a file object, with no group and no SACL.
    std::function<DWORD(LPCWSTR folder, SECURITY_INFORMATION what, PSID owner, PACL dacl)> setSecurity;
    // GetNamedSecurityInfoW for a file object: a descriptor to LocalFree.
    std::function<DWORD(LPCWSTR folder, SECURITY_INFORMATION what, PSECURITY_DESCRIPTOR* pDescriptor)>
        getSecurity;
    // GetFileAttributesW
    std::function<DWORD(LPCWSTR path)> getAttributes;
};

// The system's own calls.
FolderSecurityCalls SystemFolderSecurityCalls();

LauncherFiles::FolderSecurityRead ReadFolderSecurity(const FolderSecurityCalls& calls,
                                                     const CStringW& folder);
bool MakeFolderWithSecurity(const FolderSecurityCalls& calls, const CStringW& folder, const CStringW& sddl);
// Gives `folder` the owner of `sddl`, then its DACL, protected from what
// the folder above would pass down. An administrator who is refused the
// owner (the folder's DACL shuts administrators out) takes ownership with
// the privilege every administrator holds, and then sets the DACL as owner.
bool SetFolderSecurity(const FolderSecurityCalls& calls, const CStringW& folder, const CStringW& sddl);

// A descriptor as SDDL (owner and DACL): what the calls were handed.
CStringW DescriptorSddl(PSECURITY_DESCRIPTOR descriptor);
