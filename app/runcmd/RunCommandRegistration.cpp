#include "app/runcmd/RunCommandRegistration.h"

#include "app/runcmd/CommandText.h"
#include "app/runcmd/ReplaceCheck.h"
#include "app/runcmd/RunCommandOptions.h"

ChangeResult RegisterRunCommand(IRegistry& registry, const RunCommandPlace& place, RunScope scope,
                                const CStringW& name, const CStringW& target, const ReplaceAnswer& ask,
                                ChangeJournal& journal) {
    const RunCommandRoots& roots = place.roots;
    const bool forUser = scope == RunScope::kCurrentUser;
    const CStringW entryKey = KeyPathOfCommand(name);
    const CStringW keyPath = place.KeyPathOf(entryKey);
    // The user's entry matters only to a write for the user: a machine entry
    // is what the name starts only where the user has none.
    const CStringW userValue = forUser ? ReadCommandTarget(registry, roots.user, keyPath) : CStringW();
    const CStringW machineValue = ReadCommandTarget(registry, roots.machine, keyPath);
    const CStringW existing = ExistingTargetForWrite(forUser, userValue, machineValue);
    if (NeedsReplaceQuestion(existing, target) && !ask({name, existing, target}))
        return ChangeResult::kDeclined;

    const RegKey root = roots.Of(scope);
    if (!journal.NoteKey(root, place.appPathsKey, entryKey) ||
        !RegWriteString(registry, root, keyPath, CStringW(), target)) {
        journal.Restore();
        return ChangeResult::kRegistryFailed;
    }
    return ChangeResult::kDone;
}
