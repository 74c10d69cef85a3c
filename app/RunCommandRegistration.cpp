#include "app/RunCommandRegistration.h"

#include "app/CommandText.h"
#include "app/ReplaceCheck.h"

RegistrationResult RegisterRunCommand(IRegistry& registry, RunCommandRoots roots, RunScope scope,
                                      const CStringW& name, const CStringW& target,
                                      const ReplaceAnswer& ask) {
    const bool forUser = scope == RunScope::kCurrentUser;
    const CStringW keyPath = NormalizeKeyPath(BuildCommandKeyPath(name));
    // The user's entry matters only to a write for the user: a machine entry
    // is what the name starts only where the user has none.
    const CStringW userValue =
        forUser ? RegReadString(registry, roots.user, keyPath, CStringW()) : CStringW();
    const CStringW machineValue = RegReadString(registry, roots.machine, keyPath, CStringW());
    const CStringW existing = ExistingTargetForWrite(forUser, userValue, machineValue);
    if (NeedsReplaceQuestion(existing, target) && !ask(ReplaceQuestionText(name, existing, target)))
        return RegistrationResult::kDeclined;

    const RegKey root = forUser ? roots.user : roots.machine;
    return RegWriteString(registry, root, keyPath, CStringW(), target) ? RegistrationResult::kWritten
                                                                       : RegistrationResult::kWriteFailed;
}
