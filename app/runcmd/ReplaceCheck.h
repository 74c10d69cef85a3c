// The rule that no run command is replaced silently: when the add button or
// the self-registration link would write a name that already points at
// another program, the user is asked first.
#pragma once

#include "base/wide_text.h"

// What the command points at now, for a write into one scope: the value of
// that scope's entry; when the tool writes for the current user and the user
// has no entry of the name, the machine's, because that is what the name
// starts today and the new entry would hide it.
CStringW ExistingTargetForWrite(bool writesForCurrentUser, const CStringW& userValue,
                                const CStringW& machineValue);

// True when `existing` names a program (it is not empty once blanks and
// quotes are taken off) and that is not `newPath`, letter case of ASCII
// letters ignored.
bool NeedsReplaceQuestion(const CStringW& existing, const CStringW& newPath);
