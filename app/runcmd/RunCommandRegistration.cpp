#include "app/runcmd/RunCommandRegistration.h"

#include "app/runcmd/CommandText.h"
#include "app/runcmd/ReplaceCheck.h"
#include "app/runcmd/RunCommandQuestions.h"

CStringW CommandKeyPath(const RunCommandPlace& place, const CStringW& name) {
    return NormalizeKeyPath(place.KeyPathOf(name + u".exe"));
}

RegistrationResult RegisterRunCommand(IRegistry& registry, const RunCommandPlace& place, RunScope scope,
                                      const CStringW& name, const CStringW& target, const ReplaceAnswer& ask) {
    const RunCommandRoots& roots = place.roots;
    const bool forUser = scope == RunScope::kCurrentUser;
    const CStringW keyPath = CommandKeyPath(place, name);
    // The user's entry matters only to a write for the user: a machine entry
    // is what the name starts only where the user has none.
    const CStringW userValue =
        forUser ? RegReadString(registry, roots.user, keyPath, CStringW()) : CStringW();
    const CStringW machineValue = RegReadString(registry, roots.machine, keyPath, CStringW());
    const CStringW existing = ExistingTargetForWrite(forUser, userValue, machineValue);
    if (NeedsReplaceQuestion(existing, target) && !ask(ReplaceQuestionText(name, existing, target)))
        return RegistrationResult::kDeclined;

    const RegKey root = roots.Of(scope);
    return RegWriteString(registry, root, keyPath, CStringW(), target) ? RegistrationResult::kWritten
                                                                       : RegistrationResult::kWriteFailed;
}
