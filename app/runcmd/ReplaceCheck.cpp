#include "app/runcmd/ReplaceCheck.h"

#include "app/runcmd/RunEntries.h"

CStringW ExistingTargetForWrite(bool writesForCurrentUser, const CStringW& userValue,
                                const CStringW& machineValue) {
    if (!writesForCurrentUser) return machineValue;
    return TargetFileOf(userValue).IsEmpty() ? machineValue : userValue;
}

bool NeedsReplaceQuestion(const CStringW& existing, const CStringW& newPath) {
    const CStringW file = TargetFileOf(existing);
    return !file.IsEmpty() && file.CompareNoCase(newPath) != 0;
}
