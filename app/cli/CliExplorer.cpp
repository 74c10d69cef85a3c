// The explorer verb: the current user's Explorer entries.
//   explorer on    explorer off    explorer status    explorer repair
#include "app/cli/CliVerbContext.h"
#include "app/cli/TextTable.h"
#include "app/text/ExplorerText.h"

namespace {

CliExitCode Status(const CliVerbContext& context, ExplorerIntegration& explorer) {
    const CStringW& program = context.services.windowProgram;
    std::vector<std::vector<CStringW>> rows;
    for (const ExplorerEntryState& state : explorer.Status()) {
        const bool other = state.present && !state.Stale() && state.program.CompareNoCase(program) != 0;
        rows.push_back({ExplorerEntryText(static_cast<int>(state.entry)),
                        ExplorerStateText(state.present, state.Stale(), other, state.program)});
    }
    context.output.Out(AlignedTable(rows));
    return CliExitCode::kSuccess;
}

}  // namespace

CStringW CheckExplorerAction(const CliRequest& request) {
    const CStringW& action = request.operands[0];
    if (action != u"on" && action != u"off" && action != u"status" && action != u"repair")
        return velmora::FillIn(
            CliText(velmora::Text{"explorer 后应为 on、off、status 或 repair，而不是 %s",
                                  "explorer must be followed by on, off, status or repair, not %s"}),
            {action});
    if (request.machine)
        return CliText(velmora::Text{"explorer 只作用于当前用户，不接受 --machine",
                                     "explorer works for the current user only and does not take --machine"});
    return CStringW();
}

CliExitCode ExplorerVerb(const CliVerbContext& context) {
    ExplorerIntegration* explorer = context.services.explorer;
    const CStringW& action = context.request.operands[0];
    if (explorer == nullptr) {
        context.Err(ExplorerFailedText(action != u"off"));
        return CliExitCode::kFailed;
    }
    if (action == u"status") return Status(context, *explorer);
    // Written for the user who is logged on, or not at all.
    if (!context.services.runsAsShellUser) {
        context.Err(ExplorerOtherUserText());
        return CliExitCode::kFailed;
    }
    const CStringW& program = context.services.windowProgram;
    if (action == u"off") {
        if (!explorer->TurnOff()) {
            context.Err(ExplorerFailedText(false));
            return CliExitCode::kFailed;
        }
        context.Out(ExplorerOffText());
        return CliExitCode::kSuccess;
    }
    if (action == u"repair") {
        const ExplorerIntegration::RepairCount count = explorer->Repair(program);
        context.Out(ExplorerRepairText(count.mended, count.removed, program));
        if (!count.failed) return CliExitCode::kSuccess;
        context.Err(ExplorerFailedText(false));
        return CliExitCode::kFailed;
    }
    if (program.empty() || !context.services.programExists(program)) {
        context.Err(velmora::FillIn(CliText(velmora::Text{"找不到 Velmora 的窗口程序：%s",
                                                          "Cannot find Velmora's window program: %s"}),
                                    {program}));
        return CliExitCode::kNotFound;
    }
    if (!explorer->TurnOn(program)) {
        context.Err(ExplorerFailedText(true));
        return CliExitCode::kFailed;
    }
    context.Out(ExplorerOnText(program));
    return CliExitCode::kSuccess;
}
