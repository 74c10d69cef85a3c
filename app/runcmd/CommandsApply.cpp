#include "app/runcmd/CommandsApply.h"

#include <algorithm>

#include "app/runcmd/CommandText.h"
#include "app/runcmd/PathList.h"

namespace {

// Variables in any order: the launcher sets them all before the program starts.
bool SameVariables(std::vector<CStringW> a, std::vector<CStringW> b) {
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

}  // namespace

std::vector<const char16_t*> DifferingFields(const RunEntry& entry, const FileCommand& wanted) {
    std::vector<const char16_t*> fields;
    if (entry.target != wanted.program) fields.push_back(u"program");
    if (!SamePathList(entry.path, wanted.folders)) fields.push_back(u"path");
    if (entry.options.arguments != wanted.options.arguments) fields.push_back(u"options.arguments");
    if (entry.options.folder != wanted.options.folder) fields.push_back(u"options.workingFolder");
    if (!SameVariables(entry.options.environment, wanted.options.environment))
        fields.push_back(u"options.environment");
    if (entry.options.administrator != wanted.options.administrator)
        fields.push_back(u"options.administrator");
    if (entry.terminal != wanted.terminal) fields.push_back(u"terminal");
    return fields;
}

std::vector<ApplyStep> PlanApply(const RunCommandStore& store, const std::vector<FileCommand>& commands,
                                 const ProgramCheck& programExists, bool prune,
                                 const std::vector<RunScope>& pruneScopes) {
    std::vector<ApplyStep> plan;
    for (const FileCommand& command : commands) {
        ApplyStep step;
        step.command = command;
        const std::optional<RunEntry> existing = store.Find(command.scope, command.name);
        if (existing) {
            step.existing = *existing;
            step.fields = DifferingFields(*existing, command);
        }
        if (existing && step.fields.empty()) {
            step.action = ApplyAction::kInStep;
        } else if (!programExists(command.program)) {
            step.action = ApplyAction::kSkip;
            step.skip = command.required ? ApplySkip::kRequiredMissing : ApplySkip::kProgramMissing;
        } else if (command.scope == RunScope::kLocalMachine && !store.Elevated()) {
            step.action = ApplyAction::kSkip;
            step.skip = ApplySkip::kNeedsAdministrator;
        } else {
            step.action = existing ? ApplyAction::kChange : ApplyAction::kAdd;
        }
        plan.push_back(std::move(step));
    }
    if (!prune) return plan;
    const auto listed = [&commands](const RunEntry& entry) {
        return std::any_of(commands.begin(), commands.end(), [&entry](const FileCommand& command) {
            return command.scope == entry.scope &&
                   KeyPathOfCommand(command.name).CompareNoCase(entry.keyPath) == 0;
        });
    };
    for (const RunEntry& entry : store.List().entries) {
        if (!entry.applied || listed(entry) ||
            std::find(pruneScopes.begin(), pruneScopes.end(), entry.scope) == pruneScopes.end())
            continue;
        ApplyStep step;
        step.existing = entry;
        step.command.name = entry.command;
        step.command.scope = entry.scope;
        step.command.program = entry.target;
        if (entry.scope == RunScope::kLocalMachine && !store.Elevated()) {
            step.action = ApplyAction::kSkip;
            step.skip = ApplySkip::kNeedsAdministrator;
        } else {
            step.action = ApplyAction::kRemove;
        }
        plan.push_back(std::move(step));
    }
    return plan;
}

bool PlanRefused(const std::vector<ApplyStep>& plan) {
    return std::any_of(plan.begin(), plan.end(),
                       [](const ApplyStep& step) { return step.skip == ApplySkip::kRequiredMissing; });
}

void CarryOutPlan(RunCommandStore& store, std::vector<ApplyStep>& plan) {
    for (ApplyStep& step : plan) {
        if (step.action == ApplyAction::kAdd || step.action == ApplyAction::kChange) {
            const FileCommand& command = step.command;
            NewRunCommand wanted{command.name, command.program, command.folders, command.terminal,
                                 command.options};
            step.result = store.Apply(command.scope, wanted);
        } else if (step.action == ApplyAction::kRemove) {
            const RunBatchResult removed = store.Delete({step.existing});
            step.result = removed.results.empty() ? ChangeResult::kDeclined : removed.results.front();
        }
    }
}

bool StepFailed(const ApplyStep& step) {
    return step.skip == ApplySkip::kNeedsAdministrator || step.skip == ApplySkip::kRequiredMissing ||
           !Succeeded(step.result);
}
