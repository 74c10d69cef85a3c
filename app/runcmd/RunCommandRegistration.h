// Registering a run command: what the name points at now in either scope,
// whether the user must be asked before it is replaced, and the write. Plain
// logic over the registry interface; the store makes it one change.
#pragma once

#include "app/registry/RegistryAccess.h"
#include "app/runcmd/ChangeJournal.h"
#include "app/runcmd/ChangeResult.h"
#include "app/runcmd/RunCommandPlace.h"
#include "app/runcmd/RunCommandQuestions.h"
#include "app/runcmd/RunEntries.h"

// Registers the trimmed command name `name` (nested names such as "tools\ed"
// too) as starting `target`, below the App Paths key of `place` in `scope`.
// The entry the name would take over is read first: that scope's, and for
// the user's scope the machine's when the user has none
// (ExistingTargetForWrite). When it names another program
// (NeedsReplaceQuestion: the same program in other letter case is not
// another) `ask` is called once and No writes nothing (kDeclined). The keys
// are read and written as typing the name makes them (KeyPathOfCommand),
// whatever blanks and doubled backslashes it holds. The key is noted in
// `journal` first; when the registry refuses a step, the journal is put back
// (kRegistryFailed): no key made for the entry stays.
ChangeResult RegisterRunCommand(IRegistry& registry, const RunCommandPlace& place, RunScope scope,
                                const CStringW& name, const CStringW& target, const ReplaceAnswer& ask,
                                ChangeJournal& journal);
