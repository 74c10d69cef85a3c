// Run commands that work in terminals too. A command marked for terminals has
// a launcher, a small program named after it, in its scope's folder; that
// folder is on the scope's PATH. The launcher reads the command's key at
// every start, so the key stays the one truth: this object only makes,
// swaps and removes launcher files, keeps the folder on PATH, and tells
// which commands are shadowed by another program of the same name.
//
// As the store's follower it keeps launchers in step with every rename,
// retarget, copy, delete and import.
#pragma once

#include <vector>

#include "app/registry/RegistryAccess.h"
#include "app/runcmd/RunCommandFollower.h"
#include "app/runcmd/RunCommandPlace.h"
#include "app/terminal/ShimFiles.h"

// Where each scope keeps its environment, below the roots of the place.
struct TerminalEnvironmentKeys {
    CStringW user = u"Environment";
    CStringW machine = u"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
};

enum class TerminalResult {
    kDone,
    kUnchanged,       // it was so already
    kBadName,         // the name cannot be a file in a terminal (TerminalName.h)
    kNotAProgram,     // the target is missing or is not a program
    kFileFailed,      // the launcher could not be written or removed; nothing changed
    kRegistryFailed,  // the mark or PATH could not be written; nothing changed
};

// Something `check` reports and `terminal repair` fixes.
struct TerminalProblem {
    enum Kind { kOrphanLauncher, kMissingLauncher, kWrongLauncher } kind = kOrphanLauncher;
    RunScope scope = RunScope::kCurrentUser;
    CStringW command;
    CStringW file;  // the launcher's path
};

class TerminalShims final : public RunCommandFollower {
public:
    TerminalShims(IRegistry& registry, const RunCommandPlace& place, ShimFiles& files,
                  TerminalEnvironmentKeys environment = {});

    // The scope's launcher folder.
    CStringW Folder(RunScope scope) const { return m_files.Folder(scope); }
    // The launcher file of `command` in `scope`.
    CStringW LauncherFile(RunScope scope, const CStringW& command) const;

    // kDone when `command` pointing at `target` can work in terminals, else
    // kBadName or kNotAProgram.
    TerminalResult CheckFit(const CStringW& command, const CStringW& target) const;

    // Marks `entry` for terminals and makes its launcher, putting the folder
    // on PATH when it is not there.
    TerminalResult TurnOn(const RunEntry& entry);
    // Removes the mark and the launcher. *pLastInScope (when given): no
    // launcher is left in the scope's folder.
    TerminalResult TurnOff(const RunEntry& entry, bool* pLastInScope = nullptr);

    // Launchers whose command is gone or unmarked, marked commands without
    // their launcher or with the wrong one, for the listed `entries`.
    std::vector<TerminalProblem> Problems(const std::vector<RunEntry>& entries) const;
    // Fixes each problem; the ones that could not be fixed are returned.
    std::vector<TerminalProblem> Repair(const std::vector<TerminalProblem>& problems);

    // Whether the scope's PATH names its launcher folder; takes it off.
    bool FolderOnPath(RunScope scope) const;
    TerminalResult TakeFolderOffPath(RunScope scope);

    // RunCommandFollower
    CStringW RefusedName(const RunEntry& entry, const CStringW& newName) const override;
    bool Follow(RunScope scope, const CStringW& command) override;
    bool Release(const RunEntry& entry) override;
    void MarkListed(std::vector<RunEntry>& entries) const override;

private:
    struct KeyState {
        bool exists = false;
        bool marked = false;
        CStringW target;
    };
    KeyState ReadKey(RunScope scope, const CStringW& command) const;
    ProgramKind KindOfFile(const CStringW& file) const;
    ProgramKind KindOfTarget(const CStringW& target) const;
    ProgramKind LauncherKindFor(const CStringW& target, const CStringW& launcher) const;
    bool SetMark(const RunEntry& entry, bool marked);
    const CStringW& EnvironmentKey(RunScope scope) const;
    bool ReadPath(RunScope scope, std::uint32_t* pType, CStringW* pPath) const;
    bool WritePath(RunScope scope, std::uint32_t type, const CStringW& path);
    bool PutFolderOnPath(RunScope scope);
    // The folders a new terminal searches, and the extensions it tries.
    struct SearchOrder {
        CStringW path;
        std::vector<CStringW> extensions;
    };
    SearchOrder TerminalSearchOrder() const;
    CStringW ShadowOf(const SearchOrder& order, RunScope scope, const CStringW& command) const;

    IRegistry& m_registry;
    RunCommandPlace m_place;
    ShimFiles& m_files;
    TerminalEnvironmentKeys m_environment;
};
