// What follows a run command outside its key (its launcher, for a command
// that works in terminals): the store tells it of every change it makes, in
// the same journal, so that both change in one step or neither does.
#pragma once

#include <vector>

#include "app/runcmd/ChangeJournal.h"
#include "app/runcmd/ChangeResult.h"
#include "app/runcmd/FolderSecurity.h"
#include "app/runcmd/RunEntries.h"
#include "base/wide_text.h"

// A launcher out of step with its command: what `check` reports and a
// repair fixes.
struct LauncherProblem {
    enum Kind {
        kOrphanLauncher,
        kMissingLauncher,
        kWrongLauncher,
        // A command with options: its default value no longer names its
        // launcher (another tool rewrote it), its launcher is missing, its
        // working folder is not there (`file` is that folder).
        kOptionsNotApplied,
        kMissingOptionsLauncher,
        kMissingOptionsFolder,
        // A machine launcher folder (`file`, no command) that users other
        // than administrators can change, as `folder` says.
        kUnsafeFolder,
    } kind = kOrphanLauncher;
    RunScope scope = RunScope::kCurrentUser;
    CStringW command;
    CStringW file;  // the launcher's path, or the folder's
    FolderVerdict folder;
};

class RunCommandFollower {
public:
    virtual ~RunCommandFollower() = default;

    // kDone when `command` pointing at `target` can work in terminals; else
    // kNotForTerminal (the name) or kNotAProgram (the target's file).
    virtual ChangeResult CheckFit(const CStringW& command, const CStringW& target) const = 0;
    // Brings what follows `command` of `scope` in step with its key as it is
    // now: made, swapped for the program's kind, or removed when the key is
    // gone or unmarked; the launcher folder put on the scope's PATH when a
    // launcher is there. Every file and value is noted in `journal` before
    // it changes. kDone when something changed, kUnchanged when all was in
    // step; kLauncherFailed or kRegistryFailed when it could not, the
    // journal then put back.
    virtual ChangeResult Follow(RunScope scope, const CStringW& command, ChangeJournal& journal) = 0;
    // Sets what only it knows on the listed entries it follows
    // (terminalLauncherMissing, terminalShadowedBy).
    virtual void MarkListed(std::vector<RunEntry>& entries) const = 0;
    // The launchers out of step with `entries` (both scopes as listed).
    virtual std::vector<LauncherProblem> Problems(const std::vector<RunEntry>& entries) const = 0;

    // Makes the scope's launcher folders safe for what everyone runs from
    // them (the machine's: made, or repaired, with kLauncherFolderSddl):
    // kDone when one was made or repaired, kUnchanged when they were safe or
    // the scope needs none; kFolderUnsafe when one is not and could not be
    // made so (not an administrator, or not a plain folder); kLauncherFailed
    // when one could not be made. The store's journal does not undo it.
    virtual ChangeResult SecureFolder(RunScope scope) = 0;

    // The scope's launcher folder, and the launcher file of a command there;
    // the launcher of a command with options, which its default value names.
    virtual CStringW Folder(RunScope scope) const = 0;
    virtual CStringW LauncherFile(RunScope scope, const CStringW& command) const = 0;
    virtual CStringW OptionsLauncherFile(RunScope scope, const CStringW& command) const = 0;
    // Whether any launcher is left in the scope's folder.
    virtual bool HasLaunchers(RunScope scope) const = 0;
    // Whether the scope's PATH names its launcher folder; taking it off
    // (noted in `journal`): kDone, kUnchanged when it was not there, or
    // kRegistryFailed.
    virtual bool FolderOnPath(RunScope scope) const = 0;
    virtual ChangeResult TakeFolderOffPath(RunScope scope, ChangeJournal& journal) = 0;
};
