// RunCommandStore: the one door to run commands. It lists both scopes with
// their marks, finds one command by name, registers (with Path folders and
// terminal use in the same step), renames, points a command at another
// program, sets its Path value, turns terminal use on and off, copies it to
// the other scope, deletes it (and the groups it leaves empty), and exports
// and imports .reg backups. It asks before replacing or deleting through the
// prompts it is given (RunCommandQuestions.h), and every outcome comes back
// as a value.
//
// Each change is all or nothing: the keys, values and launcher files it
// touches are noted in one journal (ChangeJournal.h) that its steps and its
// follower share, and put back when any step fails.
//
// The windows and the command line are views over it: they pick what to act
// on, answer its questions and show what it returns; none of them writes a
// key or a launcher itself.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "app/registry/RegistryAccess.h"
#include "app/registry/RegistryValues.h"
#include "app/runcmd/ChangeResult.h"
#include "app/runcmd/RunCommandBackup.h"
#include "app/runcmd/RunCommandEdit.h"
#include "app/runcmd/RunCommandFollower.h"
#include "app/runcmd/RunCommandPlace.h"
#include "app/runcmd/RunCommandQuestions.h"
#include "app/runcmd/RunCommandRegistration.h"
#include "app/runcmd/RunEntries.h"

// Whom the store acts for: two facts, not one. `writeScope` is where new
// commands go and where names are looked up first; `elevated` says whether
// the machine's entries may be written (an administrator may well choose the
// user's scope).
struct RunCommandRights {
    RunScope writeScope = RunScope::kCurrentUser;
    bool elevated = false;
};

// Both scopes as listed: the entries marked (broken, shadowed) and how many
// keys could not be read.
struct RunListing {
    std::vector<RunEntry> entries;
    int unreadable = 0;
};

// The outcome of an action on several entries.
struct RunBatchResult {
    std::vector<RunEntry> done;         // as they were before the action
    int declined = 0;                   // the user said No, or there was nothing to do
    std::vector<ChangeResult> results;  // one per entry acted on, in their order
    struct Failure {
        RunEntry entry;
        ChangeResult result = ChangeResult::kRegistryFailed;
        long status = kRegistrySuccess;  // the registry's code, where it gave one
    };
    std::vector<Failure> failures;
    // Nothing was tried: the user declined the whole action, or it was
    // refused (a copy without administrator rights).
    bool cancelled = false;
    // Terminal use turned off: the scopes whose launcher folder it left empty.
    std::vector<RunScope> emptiedScopes;
};

// A command to add: its name and program, and optionally its Path folders,
// terminal use and options, all written in one step.
struct NewRunCommand {
    CStringW name;
    CStringW target;
    std::optional<std::vector<CStringW>> pathFolders;
    bool terminal = false;
    RunCommandOptions options;
};

class RunCommandStore {
public:
    // `exists` tells whether a target file is there (the broken mark).
    // `follower` (optional) follows every change. Everything given must
    // outlive the store.
    RunCommandStore(IRegistry& registry, const RunCommandPlace& place, RunCommandRights rights,
                    RunCommandPrompts& prompts, TargetFileCheck exists,
                    RunCommandFollower* follower = nullptr);

    RunScope WriteScope() const noexcept { return m_rights.writeScope; }
    bool Elevated() const noexcept { return m_rights.elevated; }
    const RunCommandPlace& Place() const noexcept { return m_place; }

    // Both scopes, the machine's first, each in the registry's order, marked.
    RunListing List() const;
    // The same entries, for a window that shows rows before their values:
    // each listed by its key (ListRunEntryKeys), shadowed marked, nothing
    // else. ReadValues reads an entry's values (false when its key cannot
    // be read: List would have skipped and counted it); MarkBroken sets its
    // broken mark alone, for a row shown before the others are read; Mark
    // sets the marks List sets, once every value is in.
    RunListing ListKeys() const;
    bool ReadValues(RunEntry& entry) const;
    void MarkBroken(RunEntry& entry) const { MarkBrokenRunEntry(entry, m_exists); }
    void Mark(std::vector<RunEntry>& entries) const;

    // Command `name` (as typed) of `scope`, read alone (FindRunEntry): no
    // other entry read, no file probed, no PATH searched; no mark set.
    std::optional<RunEntry> Find(RunScope scope, const CStringW& name) const;
    // The target of `name` in the write scope as stored, empty when there is
    // no such entry.
    CStringW TargetOf(const CStringW& name) const;

    // Adds `command` in the write scope (RegisterRunCommand), asking before
    // it replaces another program; its Path folders and its terminal use
    // are written in the same step. Terminal use or options that cannot be
    // (kNotForTerminal for the name, kNotAProgram) are refused before
    // anything is written. Over a command with options, the options stay.
    ChangeResult Add(const NewRunCommand& command);
    ChangeResult Register(const CStringW& name, const CStringW& target) {
        return Add({name, target, {}, false, {}});
    }

    // Makes command `command.name` of `scope` what `command` says, as a
    // commands file gives it: its program (REG_EXPAND_SZ when it holds
    // %variables%), its Path (none without folders), terminal use and
    // options, marked as applied (kAppliedMarkValue); one step, replacing
    // without asking; a part that matches already is not written, other
    // values of the key stay. Refused before anything is written: the
    // machine's without administrator rights (kNeedsAdministrator), terminal
    // use or options that cannot be (as Add).
    ChangeResult Apply(RunScope scope, const NewRunCommand& command);

    // RenameRunCommand, ChangeRunCommandTarget, ReadRunCommandPath and
    // SetRunCommandPath of RunCommandEdit.h, asking through the prompts. A
    // command that works in terminals is not renamed to a name that cannot
    // (kNotForTerminal).
    ChangeResult Rename(const RunEntry& entry, const CStringW& newName);
    ChangeResult ChangeTarget(const RunEntry& entry, const CStringW& newTarget);
    std::vector<CStringW> PathFolders(const RunEntry& entry) const;
    ChangeResult SetPathFolders(const RunEntry& entry, const std::vector<CStringW>& folders);

    // The entry's key read whole: every value with its type and bytes, every
    // subkey (ReadKeyContents). kRegistrySuccess or the registry's code;
    // *pContents is set only on success.
    long Contents(const RunEntry& entry, RegKeyContents* pContents) const;

    // Changes the entry's options (SetRunCommandOptions) with its launcher
    // and default value in the same step: a command with options gets its
    // launcher, one whose last option goes is a plain entry again. Refused
    // before anything is written: the machine's entries without
    // administrator rights (kNeedsAdministrator), options for a name that
    // cannot name a launcher file (kNotForTerminal) or a program that is not
    // one (kNotAProgram), a variable without a name (kInvalidName).
    ChangeResult SetOptions(const RunEntry& entry, const RunCommandOptionsChange& change);

    // Makes each of `entries` work in terminals too (`on`), or no longer:
    // its mark and its launcher, each entry in one step. The machine's
    // entries need administrator rights (kNeedsAdministrator). Entries it
    // was so for already count as done.
    RunBatchResult SetTerminal(const std::vector<RunEntry>& entries, bool on);

    // Copies each of `entries` that is not of scope `to` there, asking
    // before each replacement. Refused whole (cancelled, nothing asked)
    // without administrator rights.
    RunBatchResult CopyToScope(const std::vector<RunEntry>& entries, RunScope to);

    // Asks once (the delete question naming them), then deletes each entry's
    // key with all its values and subkeys, and the groups of a nested name
    // that it leaves empty, with its launcher. Cancelled when the user
    // declines.
    RunBatchResult Delete(const std::vector<RunEntry>& entries);

    // ExportRunCommands and PlanRunCommandImport of RunCommandBackup.h; the
    // machine's entries are planned as writable only with administrator
    // rights, whatever the write scope. ApplyImport writes each kept item in
    // a step of its own.
    RunCommandExport Export(const std::vector<RunEntry>& entries) const;
    ImportPlan PlanImport(const unsigned char* data, std::size_t size) const;
    ImportCounts ApplyImport(const ImportPlan& plan, const std::vector<bool>& replace);

    // The launchers of commands that work in terminals, through the
    // follower; without one there are none: no problems, empty paths.
    bool HasLaunchers() const noexcept { return m_follower != nullptr; }
    CStringW LauncherFolder(RunScope scope) const;
    CStringW LauncherFile(RunScope scope, const CStringW& command) const;
    CStringW OptionsLauncherFile(RunScope scope, const CStringW& command) const;
    std::vector<LauncherProblem> LauncherProblems(const std::vector<RunEntry>& entries) const;
    // Fixes each problem in a step of its own; those left are returned.
    std::vector<LauncherProblem> RepairLaunchers(const std::vector<LauncherProblem>& problems);
    bool LauncherFolderOnPath(RunScope scope) const;
    ChangeResult TakeLauncherFolderOffPath(RunScope scope);

private:
    ReplaceAnswer AskReplace();
    // Whether `command`'s terminal use and options can be for `entry`:
    // kDone, or the refusal (kLauncherFailed without a follower).
    ChangeResult CheckFit(const RunEntry& entry, const NewRunCommand& command) const;
    // The follower's part of a change whose registry steps gave `result`:
    // when they succeeded, `commands` of `scope` are followed; when anything
    // failed, the journal is put back.
    ChangeResult Finish(ChangeResult result, ChangeJournal& journal, RunScope scope,
                        const std::vector<CStringW>& commands);
    ChangeResult SetTerminalOf(const RunEntry& entry, bool on);

    IRegistry& m_registry;
    RunCommandPlace m_place;
    RunCommandRights m_rights;
    RunCommandPrompts& m_prompts;
    TargetFileCheck m_exists;
    RunCommandFollower* m_follower;
};
