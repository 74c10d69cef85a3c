// The launcher files of terminal commands on Windows: the folders
// %LOCALAPPDATA%\Velmora\bin and %ProgramData%\Velmora\bin, the launchers
// this program carries as resources, and the broadcast that tells running
// programs (Explorer, and the terminals it starts next) that PATH changed.
#pragma once

#include <functional>
#include <vector>

#include "app/launcher/LauncherFiles.h"
#include "app/platform/FolderSecurity_win32.h"

// The resources holding the two launchers (RCDATA), as the build numbers
// them (app/CMakeLists.txt).
constexpr int kConsoleLauncherResource = VELMORA_CONSOLE_LAUNCHER_RESOURCE;
constexpr int kWindowsLauncherResource = VELMORA_WINDOWS_LAUNCHER_RESOURCE;

// The launcher folder of each scope as the launchers themselves find it.
struct LauncherFolders {
    CStringW user;
    CStringW machine;
};
LauncherFolders DefaultLauncherFolders();

class Win32LauncherFiles final : public LauncherFiles {
public:
    // The launcher of a kind as bytes; false when there is none.
    using LauncherBytes = std::function<bool(ProgramKind kind, std::vector<unsigned char>* pBytes)>;
    // The launchers come from this program's resources when none are given.
    // The system's own security calls when none are given.
    explicit Win32LauncherFiles(LauncherFolders folders = DefaultLauncherFolders(),
                                LauncherBytes launchers = {}, FolderSecurityCalls security = {});

    CStringW Folder(RunScope scope) const override;
    bool Exists(const CStringW& file) const override;
    bool FolderExists(const CStringW& folder) const override;
    bool ReadHead(const CStringW& file, std::vector<unsigned char>* pHead) const override;
    bool ReadWhole(const CStringW& file, std::vector<unsigned char>* pBytes) const override;
    bool WriteLauncher(const CStringW& file, ProgramKind kind) override;
    bool WriteWhole(const CStringW& file, const std::vector<unsigned char>& bytes) override;
    bool Remove(const CStringW& file) override;
    std::vector<CStringW> LauncherNames(RunScope scope) const override;
    std::vector<CStringW> FileNamesIn(const CStringW& folder) const override;
    CStringW Expand(const CStringW& text) const override;
    void AnnounceEnvironmentChange() override;
    FolderSecurityRead ReadFolderSecurity(const CStringW& folder) const override;
    bool MakeFolder(const CStringW& folder, const CStringW& sddl) override;
    bool SetFolderSecurity(const CStringW& folder, const CStringW& sddl) override;

private:
    LauncherFolders m_folders;
    LauncherBytes m_launchers;
    FolderSecurityCalls m_security;
};
