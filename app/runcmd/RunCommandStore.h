// RunCommandStore: everything that can be done to run commands, with no
// window in sight. It lists both scopes with their marks, registers, renames,
// points a command at another program, sets its Path value, copies it to the
// other scope, deletes it (and the groups it leaves empty), and exports and
// imports .reg backups. It asks before replacing or deleting through the
// prompts it is given, and every outcome comes back as a value: a failure is
// never a silent partial change (each operation's own contract says what is
// left when the registry refuses a step).
//
// What follows a command outside the registry (its terminal launcher) is
// told of each change and follows in the same step: when it cannot, the
// keys the change touched are put back as they were and the change fails.
//
// The windows and the command line are views over it: they pick what to act
// on, answer its questions and show what it returns.
#pragma once

#include <cstddef>
#include <vector>

#include "app/registry/RegistryAccess.h"
#include "app/registry/RegistryValues.h"
#include "app/runcmd/RunCommandBackup.h"
#include "app/runcmd/RunCommandEdit.h"
#include "app/runcmd/RunCommandFollower.h"
#include "app/runcmd/RunCommandPlace.h"
#include "app/runcmd/RunCommandRegistration.h"
#include "app/runcmd/RunEntries.h"

// The questions the store asks before it changes what the user may want to
// keep. Each gets the whole question text (RunCommandQuestions.h); true goes
// ahead, false changes nothing.
class RunCommandPrompts {
public:
    virtual ~RunCommandPrompts() = default;
    // A command that points at a program would point at another, or its key
    // would be replaced whole.
    virtual bool ConfirmReplace(const CStringW& question) = 0;
    // The listed commands would be deleted.
    virtual bool ConfirmDelete(const CStringW& question) = 0;
};

// Both scopes as listed: the entries marked (broken, shadowed) and how many
// keys could not be read.
struct RunListing {
    std::vector<RunEntry> entries;
    int unreadable = 0;
};

// The outcome of an action on several entries.
struct RunBatchResult {
    std::vector<RunEntry> done;  // as they were before the action
    int declined = 0;            // the user said No (entries of the scope copied to are passed over)
    struct Failure {
        RunEntry entry;
        EditResult result = EditResult::kFailed;
        long status = kRegistrySuccess;  // the registry's code, where it gave one
    };
    std::vector<Failure> failures;
    // Nothing was tried: the user declined the whole action, or it was
    // refused (a copy without administrator rights).
    bool cancelled = false;
};

class RunCommandStore {
public:
    // `writeScope`: where new commands go (the machine's when the tool runs
    // with administrator rights, else the user's); the machine's entries are
    // only changed with those rights. `exists` tells whether a target file is
    // there (the broken mark). `follower` (optional) follows every change.
    // Everything given must outlive the store.
    RunCommandStore(IRegistry& registry, const RunCommandPlace& place, RunScope writeScope,
                    RunCommandPrompts& prompts, TargetFileCheck exists, RunCommandFollower* follower = nullptr);

    RunScope WriteScope() const noexcept { return m_writeScope; }
    bool CanWriteMachine() const noexcept { return m_writeScope == RunScope::kLocalMachine; }
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

    // The target of `name` in the write scope as stored, empty when there is
    // no such entry.
    CStringW TargetOf(const CStringW& name) const;

    // Registers `name` for `target` in the write scope (RegisterRunCommand),
    // asking before it replaces another program.
    RegistrationResult Register(const CStringW& name, const CStringW& target);

    // RenameRunCommand, ChangeRunCommandTarget, ReadRunCommandPath and
    // SetRunCommandPath of RunCommandEdit.h, asking through the prompts. A
    // command that works in terminals is not renamed to a name that cannot
    // (kNotForTerminal, the follower's RefusedName says why).
    EditResult Rename(const RunEntry& entry, const CStringW& newName);
    EditResult ChangeTarget(const RunEntry& entry, const CStringW& newTarget);
    std::vector<CStringW> PathFolders(const RunEntry& entry) const;

    // The entry's key read whole: every value with its type and bytes, every
    // subkey (ReadKeyContents). kRegistrySuccess or the registry's code;
    // *pContents is set only on success.
    long Contents(const RunEntry& entry, RegKeyContents* pContents) const;
    EditResult SetPathFolders(const RunEntry& entry, const std::vector<CStringW>& folders);

    // Copies each of `entries` that is not of scope `to` there, asking
    // before each replacement. Refused whole (cancelled, nothing asked)
    // without administrator rights.
    RunBatchResult CopyToScope(const std::vector<RunEntry>& entries, RunScope to);

    // Asks once (the delete question naming them), then deletes each entry's
    // key with all its values and subkeys, and the groups of a nested name
    // that it leaves empty. Cancelled when the user declines.
    RunBatchResult Delete(const std::vector<RunEntry>& entries);

    // ExportRunCommands, PlanRunCommandImport and ApplyRunCommandImport of
    // RunCommandBackup.h; the machine's entries are planned as writable only
    // with administrator rights.
    RunCommandExport Export(const std::vector<RunEntry>& entries) const;
    ImportPlan PlanImport(const unsigned char* data, std::size_t size) const;
    ImportCounts ApplyImport(const ImportPlan& plan, const std::vector<bool>& replace);

private:
    ReplaceAnswer AskReplace();
    // Lets the follower follow `command` of `scope`; when it cannot, puts
    // `touched` back (keys as they were before the change) and tells it to
    // follow those instead. False when it could not follow.
    struct KeySnapshot;
    bool Followed(RunScope scope, const std::vector<CStringW>& commands, const std::vector<KeySnapshot>& touched);
    KeySnapshot Snapshot(RunScope scope, const CStringW& keyPath) const;
    void Restore(const KeySnapshot& snapshot);

    IRegistry& m_registry;
    RunCommandPlace m_place;
    RunScope m_writeScope;
    RunCommandPrompts& m_prompts;
    TargetFileCheck m_exists;
    RunCommandFollower* m_follower;
};
