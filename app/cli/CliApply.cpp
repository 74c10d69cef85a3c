// apply: makes the run commands match a commands file, one store call per
// command; --dry-run prints the plan, --prune removes what an earlier apply
// made and the file no longer lists.
#include "app/cli/CliVerbContext.h"
#include "app/cli/JsonText.h"
#include "app/runcmd/CommandsApply.h"
#include "app/text/CommandsFileText.h"

namespace {

using velmora::DecimalText;
using velmora::FillIn;

// The JSON words of ApplyAction and ApplySkip, in their order.
constexpr const char16_t* kActionKeys[] = {u"in-step", u"add", u"change", u"remove", u"skip"};
constexpr const char16_t* kSkipKeys[] = {u"", u"program-missing", u"required-program-missing",
                                         u"needs-administrator"};
const char16_t* ActionKey(ApplyAction action) noexcept { return kActionKeys[static_cast<int>(action)]; }
const char16_t* SkipKey(ApplySkip skip) noexcept { return kSkipKeys[static_cast<int>(skip)]; }

bool Writes(const ApplyStep& step) {
    return step.action == ApplyAction::kAdd || step.action == ApplyAction::kChange ||
           step.action == ApplyAction::kRemove;
}

struct Counts {
    int added = 0, changed = 0, removed = 0, skipped = 0, inStep = 0, failed = 0;
};

// What the plan holds, or (carried out) what was done.
Counts CountSteps(const std::vector<ApplyStep>& plan, bool carriedOut) {
    Counts counts;
    for (const ApplyStep& step : plan) {
        if (StepFailed(step)) {
            ++counts.failed;
            continue;
        }
        if (carriedOut && Writes(step) && step.result != ChangeResult::kDone) {
            ++counts.inStep;
            continue;
        }
        switch (step.action) {
            case ApplyAction::kAdd:
                ++counts.added;
                break;
            case ApplyAction::kChange:
                ++counts.changed;
                break;
            case ApplyAction::kRemove:
                ++counts.removed;
                break;
            case ApplyAction::kSkip:
                ++counts.skipped;
                break;
            case ApplyAction::kInStep:
                ++counts.inStep;
                break;
        }
    }
    return counts;
}

CStringW SummaryText(const char* format, const Counts& counts) {
    return FillIn(CliText(format),
                  {DecimalText(counts.added), DecimalText(counts.changed), DecimalText(counts.removed),
                   DecimalText(counts.skipped), DecimalText(counts.inStep)});
}

CStringW StepJson(const ApplyStep& step, bool carriedOut) {
    CStringW fields;
    for (const char16_t* field : step.fields) fields += (fields.IsEmpty() ? u"" : u",") + JsonString(field);
    CStringW result = u"planned";
    if (StepFailed(step)) {
        result = u"failed";
    } else if (carriedOut) {
        result = Writes(step) && step.result == ChangeResult::kDone ? u"done" : u"unchanged";
    }
    const CStringW error = !StepFailed(step)               ? CStringW()
                           : step.skip != ApplySkip::kNone ? ApplySkipText(step.skip)
                                                           : ApplyFailureLine(step);
    return u"{\"action\":\"" + CStringW(ActionKey(step.action)) + u"\",\"name\":" +
           JsonString(step.command.name) + u",\"scope\":\"" + ScopeKey(step.command.scope) +
           u"\",\"program\":" + JsonString(step.command.program) + u",\"fields\":[" + fields +
           u"],\"reason\":\"" + SkipKey(step.skip) + u"\",\"result\":\"" + result + u"\",\"error\":" +
           JsonString(error) + u"}";
}

void WriteJson(const CliVerbContext& context, const std::vector<ApplyStep>& plan, bool carriedOut) {
    const Counts counts = CountSteps(plan, carriedOut);
    CStringW steps;
    for (const ApplyStep& step : plan) steps += (steps.IsEmpty() ? u"" : u",") + StepJson(step, carriedOut);
    context.Out(u"{\"file\":" + JsonString(context.request.operands[0]) + u",\"dryRun\":" +
                (context.request.dryRun ? u"true" : u"false") + u",\"steps\":[" + steps + u"],\"added\":" +
                DecimalText(counts.added) + u",\"changed\":" + DecimalText(counts.changed) +
                u",\"removed\":" + DecimalText(counts.removed) + u",\"skipped\":" +
                DecimalText(counts.skipped) + u",\"inStep\":" + DecimalText(counts.inStep) + u",\"failed\":" +
                DecimalText(counts.failed) + u"}");
}

// The plan as text: every step that is not in step, on the output.
void WritePlan(const CliVerbContext& context, const std::vector<ApplyStep>& plan) {
    for (const ApplyStep& step : plan) {
        const CStringW line = ApplyStepLine(step);
        if (!line.IsEmpty()) context.Out(line);
    }
    context.Out(SummaryText(commands_text::kPlanSummary, CountSteps(plan, false)) +
                CliText(commands_text::kDryRun));
}

// What was done, on the output; skips as warnings and failures on the
// error stream.
void WriteOutcome(const CliVerbContext& context, const std::vector<ApplyStep>& plan) {
    for (const ApplyStep& step : plan) {
        if (step.action == ApplyAction::kSkip) {
            context.Err(ApplyStepLine(step));
        } else if (StepFailed(step)) {
            context.Err(ApplyFailureLine(step));
        } else if (Writes(step) && step.result == ChangeResult::kDone) {
            context.Out(ApplyStepLine(step));
        }
    }
    const Counts counts = CountSteps(plan, true);
    context.Out(SummaryText(commands_text::kDoneSummary, counts));
    if (counts.failed > 0)
        context.Err(FillIn(CliText(commands_text::kFailedSummary), {DecimalText(counts.failed)}));
}

// The scopes --prune looks in: the one named, else the verb's and every
// scope the file names.
std::vector<RunScope> PruneScopes(const CliVerbContext& context, const std::vector<FileCommand>& commands) {
    std::vector<RunScope> scopes{context.scope};
    if (context.scopeGiven) return scopes;
    for (const FileCommand& command : commands) {
        if (command.scope != scopes.front() && scopes.size() == 1) scopes.push_back(command.scope);
    }
    return scopes;
}

}  // namespace

CliExitCode ApplyVerb(const CliVerbContext& context) {
    const CliRequest& request = context.request;
    const CStringW& file = request.operands[0];
    std::vector<unsigned char> data;
    if (!context.services.readFile(file, &data)) {
        context.Err(FillIn(CliText(commands_text::kCannotRead), {file}));
        return CliExitCode::kApplyFailed;
    }
    CommandsFileScopes scopes{context.scope, std::nullopt};
    if (context.scopeGiven) scopes.forced = context.scope;
    const CommandsFileRead read = ReadCommandsFile(data.data(), data.size(), scopes);
    if (read.error != CommandsFileError::kNone) {
        const CStringW why = CommandsFileErrorText(read);
        if (request.json) {
            context.Out(u"{\"file\":" + JsonString(file) + u",\"error\":{\"line\":" + DecimalText(read.line) +
                        u",\"column\":" + DecimalText(read.column) + u",\"text\":" + JsonString(why) + u"}}");
        }
        context.Err(FillIn(CliText(commands_text::kRefusedFile), {file, why}));
        context.Err(CliText(commands_text::kNothingWritten));
        return CliExitCode::kApplyFailed;
    }
    LauncherFiles* files = context.services.launcherFiles;
    const ProgramCheck programExists = [&context, files](const CStringW& program) {
        return context.services.programExists(files != nullptr ? files->Expand(program) : program);
    };
    std::vector<ApplyStep> plan = PlanApply(context.store, read.commands, programExists, request.prune,
                                            PruneScopes(context, read.commands));
    const bool refused = PlanRefused(plan);
    const bool carryOut = !request.dryRun && !refused;
    if (carryOut) CarryOutPlan(context.store, plan);
    if (request.json) {
        WriteJson(context, plan, carryOut);
    } else if (carryOut) {
        WriteOutcome(context, plan);
    } else {
        WritePlan(context, plan);
        if (refused) context.Err(CliText(commands_text::kNothingWritten));
    }
    const Counts counts = CountSteps(plan, carryOut);
    if (counts.failed > 0) return CliExitCode::kApplyFailed;
    const bool changes = counts.added + counts.changed + counts.removed > 0;
    if (!changes) return CliExitCode::kInStep;
    return request.dryRun ? CliExitCode::kChangesPending : CliExitCode::kChanged;
}
