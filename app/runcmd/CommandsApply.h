// Applying a commands file (CommandsFile.h): the plan that makes the
// machine match it, and carrying it out through the store, one store call
// per command, each all or nothing. The plan reads and writes nothing but
// what the store finds by name (and, with prune, its listing).
#pragma once

#include <functional>
#include <vector>

#include "app/runcmd/CommandsFile.h"
#include "app/runcmd/RunCommandStore.h"

enum class ApplyAction {
    kInStep,  // the command is as the file says: not touched
    kAdd,     // +
    kChange,  // ~ with the fields that differ
    kRemove,  // - (prune): made by an earlier apply, no longer in the file
    kSkip,    // ! with why
};

enum class ApplySkip {
    kNone,
    kProgramMissing,      // not on this machine: a warning
    kRequiredMissing,     // the file requires it: a failure, nothing written
    kNeedsAdministrator,  // the machine's without administrator rights: a failure
};

struct ApplyStep {
    ApplyAction action = ApplyAction::kInStep;
    ApplySkip skip = ApplySkip::kNone;
    FileCommand command;  // kRemove: name and scope of the entry, its program
    RunEntry existing;    // kChange, kRemove: the entry as it is
    // kChange: the fields that differ, as the file names them
    // ("program", "path", "options.arguments", ..., "terminal").
    std::vector<const char16_t*> fields;
    // After Carry: what the store said (kDone for a removal done).
    ChangeResult result = ChangeResult::kUnchanged;
};

// The fields of `wanted` that `entry` differs in; none when in step.
std::vector<const char16_t*> DifferingFields(const RunEntry& entry, const FileCommand& wanted);

// Whether a program exists on this machine (its %variables% expanded).
using ProgramCheck = std::function<bool(const CStringW& program)>;

// The plan for `commands`: one step per command in their order, then with
// `prune` a kRemove for each entry of `pruneScopes` that carries the applied
// mark and that the file does not list (of that scope).
std::vector<ApplyStep> PlanApply(const RunCommandStore& store, const std::vector<FileCommand>& commands,
                                 const ProgramCheck& programExists, bool prune,
                                 const std::vector<RunScope>& pruneScopes);

// Whether the plan fails before anything is written: a required program
// missing.
bool PlanRefused(const std::vector<ApplyStep>& plan);

// Carries out every kAdd, kChange and kRemove step, one store call each,
// setting its result; a step that fails is as it was and the rest go on.
void CarryOutPlan(RunCommandStore& store, std::vector<ApplyStep>& plan);

// The steps that failed when carried out, or kNeedsAdministrator skips.
bool StepFailed(const ApplyStep& step);
