// Run commands that work in terminals too. A command marked for terminals has
// a launcher, a small program named after it, in its scope's folder; that
// folder is on the scope's PATH. The launcher reads the command's key at
// every start, so the key stays the one truth: this object only makes,
// swaps and removes launcher files, keeps the folder on PATH, and tells
// which commands are shadowed by another program of the same name.
//
// A command with options has a launcher of its own in the options folder
// inside the scope's launcher folder (not on PATH): its default value names
// that launcher and its program moves to a value of its own; clearing the
// last option makes it a plain entry again.
//
// It is the store's follower: every change the store makes to a command, it
// follows in the same journal. Nothing else changes a launcher.
#pragma once

#include <optional>
#include <vector>

#include "app/launcher/LauncherFiles.h"
#include "app/launcher/NameSearch.h"
#include "app/registry/RegistryAccess.h"
#include "app/runcmd/RunCommandFollower.h"
#include "app/runcmd/RunCommandPlace.h"

// Where each scope keeps its environment, below the roots of the place.
struct TerminalEnvironmentKeys {
    CStringW user = u"Environment";
    CStringW machine = u"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
};

class Launchers final : public RunCommandFollower {
public:
    Launchers(IRegistry& registry, const RunCommandPlace& place, LauncherFiles& files,
              TerminalEnvironmentKeys environment = {});

    // RunCommandFollower
    ChangeResult CheckFit(const CStringW& command, const CStringW& target) const override;
    ChangeResult Follow(RunScope scope, const CStringW& command, ChangeJournal& journal) override;
    void MarkListed(std::vector<RunEntry>& entries) const override;
    std::vector<LauncherProblem> Problems(const std::vector<RunEntry>& entries) const override;
    ChangeResult SecureFolder(RunScope scope) override;
    CStringW Folder(RunScope scope) const override { return m_files.Folder(scope); }
    CStringW LauncherFile(RunScope scope, const CStringW& command) const override;
    CStringW OptionsLauncherFile(RunScope scope, const CStringW& command) const override;
    bool HasLaunchers(RunScope scope) const override { return !m_files.LauncherNames(scope).empty(); }
    bool FolderOnPath(RunScope scope) const override;
    ChangeResult TakeFolderOffPath(RunScope scope, ChangeJournal& journal) override;

private:
    struct KeyState {
        bool exists = false;
        bool marked = false;
        CStringW target;
    };
    KeyState ReadKey(RunScope scope, const CStringW& command) const;
    // The folders a scope's launchers depend on: for the machine, its
    // launcher folder and Velmora's folder above it (whoever may rename
    // the one above may swap the launcher folder); none for a user.
    std::vector<CStringW> GuardedFolders(RunScope scope) const;
    FolderVerdict JudgeFolder(const CStringW& folder, bool* pMissing) const;
    // Makes each of `folders` safe in turn (SecureFolder's outcomes).
    ChangeResult SecureFolders(const std::vector<CStringW>& folders);
    // The scope's folder of launchers of commands with options (not on PATH).
    CStringW OptionsFolder(RunScope scope) const;
    // The options' part of Follow: the launcher in the options folder, the
    // default value naming it and the program value, or a plain entry again.
    ChangeResult FollowOptions(RunScope scope, const CStringW& command, ChangeJournal& journal);
    // The terminal's part: the launcher on PATH of a marked command.
    ChangeResult FollowTerminal(RunScope scope, const CStringW& command, ChangeJournal& journal);
    void AddOptionsProblems(const RunEntry& entry, std::vector<LauncherProblem>& problems) const;
    ProgramKind KindOfFile(const CStringW& file) const;
    ProgramKind KindOfTarget(const CStringW& target) const;
    ProgramKind LauncherKindFor(const CStringW& target, const CStringW& launcher) const;
    // Notes `file` as it is now (its bytes, or that it is not there).
    bool NoteFile(const CStringW& file, ChangeJournal& journal) const;
    const CStringW& EnvironmentKey(RunScope scope) const;
    bool ReadPath(RunScope scope, std::uint32_t* pType, CStringW* pPath) const;
    bool WritePath(RunScope scope, std::uint32_t type, const CStringW& path, ChangeJournal& journal);
    ChangeResult PutFolderOnPath(RunScope scope, ChangeJournal& journal);
    // The folders a new terminal searches (the machine's PATH, then the
    // user's), and the extensions it tries.
    NameSearch TerminalSearch() const;
    // The Run box's: the Windows folder and System32 first.
    NameSearch RunBoxSearch(const NameSearch& terminal) const;
    CStringW ShadowOf(const NameSearch& terminal, RunScope scope, const CStringW& command,
                      FolderListings& listings) const;

    IRegistry& m_registry;
    RunCommandPlace m_place;
    LauncherFiles& m_files;
    TerminalEnvironmentKeys m_environment;
};
