// Registering a run command: what the name points at now in either scope,
// whether the user must be asked before it is replaced, and the write. Plain
// logic over the registry interface; the dialog answers the question it is
// given and shows the outcome.
#pragma once

#include <functional>

#include "app/registry/RegistryAccess.h"
#include "app/runcmd/RunCommandPlace.h"
#include "app/runcmd/RunEntries.h"

enum class RegistrationResult {
    kWritten,      // the entry is stored
    kDeclined,     // the user said No to replacing; nothing was written
    kWriteFailed,  // the registry refused a step; keys made before it stay
};

// Asked with the text of the replace question (ReplaceQuestionText); true
// lets the write go ahead.
using ReplaceAnswer = std::function<bool(const CStringW& question)>;

// The full key path (below a root) of command `name` typed as it is: the
// App Paths key of `place`, the name and ".exe", normalised as RegWriteString
// walks it (NormalizeKeyPath).
CStringW CommandKeyPath(const RunCommandPlace& place, const CStringW& name);

// Registers the trimmed command name `name` (nested names such as "tools\ed"
// too) as starting `target`, below the App Paths key of `place` in `scope`. The entry the name
// would take over is read first: that scope's, and for the user's scope the
// machine's when the user has none (ExistingTargetForWrite). When it names
// another program (NeedsReplaceQuestion: the same program in other letter
// case is not another) `ask` is called once and No writes nothing. The keys
// are read and written as typing the name makes them, whatever blanks and
// doubled backslashes it holds.
RegistrationResult RegisterRunCommand(IRegistry& registry, const RunCommandPlace& place, RunScope scope,
                                      const CStringW& name, const CStringW& target, const ReplaceAnswer& ask);
