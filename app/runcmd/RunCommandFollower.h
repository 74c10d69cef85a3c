// What follows a run command outside its key (its terminal launcher): the
// store tells it of every change it makes, so that both change in one step.
#pragma once

#include <vector>

#include "app/runcmd/RunEntries.h"
#include "base/wide_text.h"

class RunCommandFollower {
public:
    virtual ~RunCommandFollower() = default;
    // Why `entry` may not be renamed to `newName` (one line), empty when it may.
    virtual CStringW RefusedName(const RunEntry& entry, const CStringW& newName) const = 0;
    // Brings what follows command `command` of `scope` in step with its key
    // as it is now: made, swapped for the program's kind, or removed when the
    // key is gone or unmarked. False when that could not be done; what was
    // there is then left as it was.
    virtual bool Follow(RunScope scope, const CStringW& command) = 0;
    // Before `entry` is deleted: removes what follows it. False when it could
    // not; the entry is then kept.
    virtual bool Release(const RunEntry& entry) = 0;
    // Sets what only it knows on the listed entries it follows
    // (terminalLauncherMissing, terminalShadowedBy).
    virtual void MarkListed(std::vector<RunEntry>& entries) const = 0;
};
