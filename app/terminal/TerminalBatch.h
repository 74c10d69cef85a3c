// Turning several commands on or off for terminals at once, as the manager
// does for its selection: each entry on its own, the outcome counted for the
// status line.
#pragma once

#include <vector>

#include "app/runcmd/RunManagerText.h"
#include "app/terminal/TerminalShims.h"

struct TerminalBatch {
    BatchOutcome outcome;
    // Scopes whose launcher folder this left empty (turning off).
    std::vector<RunScope> emptiedScopes;
};

// Every entry of `entries` on (or off). Without administrator rights
// (`canWriteMachine` false) the machine's entries fail with the reason.
TerminalBatch SetTerminal(TerminalShims& shims, const std::vector<RunEntry>& entries, bool on, bool canWriteMachine);

// Why an entry could not be turned on or off (one line).
CStringW TerminalFailureReason(TerminalResult result, const RunEntry& entry);

// True when every entry of `entries` is marked for terminals (and there is one).
bool AllForTerminals(const std::vector<RunEntry>& entries);

// The manager's action and its question when a scope's last launcher went.
extern const RunActionText kTerminalAction;
extern const RunActionText kTerminalOffAction;
CStringW TakeFolderOffPathQuestion(const CStringW& folder);
