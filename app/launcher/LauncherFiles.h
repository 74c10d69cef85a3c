// The file side of launchers, as a service: each scope's launcher folder,
// the files in it, a program's first bytes, environment expansion, and the
// word to every window that PATH changed. Tests pass one in memory.
#pragma once

#include <vector>

#include "app/launcher/ProgramKind.h"
#include "app/runcmd/RunScope.h"
#include "base/wide_text.h"

class LauncherFiles {
public:
    virtual ~LauncherFiles() = default;
    // The scope's launcher folder, expanded: "C:\Users\x\AppData\Local\Velmora\bin".
    virtual CStringW Folder(RunScope scope) const = 0;
    // Whether `file` is there (and not a folder).
    virtual bool Exists(const CStringW& file) const = 0;
    // Whether `folder` is there (and is a folder).
    virtual bool FolderExists(const CStringW& folder) const = 0;
    // Up to kProgramHeadBytes of `file`; false when it cannot be read.
    virtual bool ReadHead(const CStringW& file, std::vector<unsigned char>* pHead) const = 0;
    // All of `file`, to put it back after a change that failed; false when
    // it cannot be read (or is larger than any launcher could be).
    virtual bool ReadWhole(const CStringW& file, std::vector<unsigned char>* pBytes) const = 0;
    // Writes the launcher of `kind` as `file`, or `bytes` as they are,
    // making its folder and replacing a file there: the whole file or, on
    // failure, what was there.
    virtual bool WriteLauncher(const CStringW& file, ProgramKind kind) = 0;
    virtual bool WriteWhole(const CStringW& file, const std::vector<unsigned char>& bytes) = 0;
    // Removes `file`; true when it is gone (or was never there).
    virtual bool Remove(const CStringW& file) = 0;
    // The names (without ".exe") of the launchers in the scope's folder.
    virtual std::vector<CStringW> LauncherNames(RunScope scope) const = 0;
    // The names of the files (not the folders) in `folder`; none when it
    // cannot be listed.
    virtual std::vector<CStringW> FileNamesIn(const CStringW& folder) const = 0;
    // `text` with %VARIABLES% expanded as the shell expands REG_EXPAND_SZ.
    virtual CStringW Expand(const CStringW& text) const = 0;
    // Tells every top-level window that the environment changed.
    virtual void AnnounceEnvironmentChange() = 0;

    // A folder as its security stands: missing, a plain folder with its
    // owner and DACL as SDDL, not a plain folder (a file, a junction or a
    // link to elsewhere), or one whose descriptor cannot be read.
    struct FolderSecurityRead {
        enum Kind { kMissing, kFolder, kNotPlain, kUnreadable } kind = kMissing;
        CStringW sddl;
    };
    virtual FolderSecurityRead ReadFolderSecurity(const CStringW& folder) const = 0;
    // Makes `folder` (the one above it is there) with the descriptor `sddl`.
    virtual bool MakeFolder(const CStringW& folder, const CStringW& sddl) = 0;
    // Gives the existing `folder` the owner and the protected DACL of `sddl`.
    virtual bool SetFolderSecurity(const CStringW& folder, const CStringW& sddl) = 0;
};
