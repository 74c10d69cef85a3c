// The terminal verb: commands that work in cmd and PowerShell too.
//   terminal on NAME...    terminal off NAME...    terminal off --all
//   terminal repair
#include "app/cli/CliVerbContext.h"
#include "app/text/OutcomeText.h"
#include "app/text/QuestionText.h"

namespace {

using velmora::DecimalText;
using velmora::FillIn;

// The worse of two exit codes: the first failure is kept.
CliExitCode Worse(CliExitCode so, CliExitCode now) { return so != CliExitCode::kSuccess ? so : now; }

// What came of turning `entry` on or off; its exit code.
CliExitCode Report(const CliVerbContext& context, const RunEntry& entry, bool on, ChangeResult result) {
    if (on && Succeeded(result)) {
        TellTerminalUse(context, entry);
    } else {
        const CStringW text =
            TerminalOutcomeText(entry, on, result, context.store.LauncherFile(entry.scope, entry.command));
        if (Succeeded(result))
            context.Out(text);
        else
            context.Err(text);
    }
    return ExitCodeOf(result);
}

CliExitCode AllOff(const CliVerbContext& context) {
    std::vector<RunEntry> marked;
    for (const RunEntry& entry : context.store.List().entries) {
        if (entry.scope == context.scope && entry.terminal) marked.push_back(entry);
    }
    const RunBatchResult batch = context.store.SetTerminal(marked, false);
    CliExitCode code = CliExitCode::kSuccess;
    for (std::size_t i = 0; i < marked.size(); ++i)
        code = Worse(code, Report(context, marked[i], false, batch.results[i]));
    if (code != CliExitCode::kSuccess) return code;
    const CStringW shown = context.store.LauncherFolder(context.scope);
    switch (context.store.TakeLauncherFolderOffPath(context.scope)) {
        case ChangeResult::kDone:
            context.Out(FillIn(
                CliText(velmora::Text{"已把 %s 从%s的 PATH 中去掉；新打开的终端生效",
                                      "Took %s off PATH (%s); terminals opened from now on see the change"}),
                {shown, CliText(ScopeText(context.scope))}));
            return CliExitCode::kSuccess;
        case ChangeResult::kUnchanged:
            return CliExitCode::kSuccess;
        default:
            context.Err(
                FillIn(CliText(velmora::Text{"未能修改%s的 PATH：注册表拒绝了修改",
                                             "Could not change PATH (%s): the registry refused the change"}),
                       {CliText(ScopeText(context.scope))}));
            return CliExitCode::kFailed;
    }
}

CliExitCode Repair(const CliVerbContext& context) {
    std::vector<LauncherProblem> problems = context.store.LauncherProblems(context.store.List().entries);
    if (context.scopeGiven) {
        std::erase_if(problems,
                      [&](const LauncherProblem& problem) { return problem.scope != context.scope; });
    }
    const std::vector<LauncherProblem> left = context.store.RepairLaunchers(problems);
    for (const LauncherProblem& problem : left) {
        if (problem.kind == LauncherProblem::kUnsafeFolder) {
            context.Err(UnsafeFolderText(problem.file, problem.folder) + CliText(velmora::Text{"；", "; "}) +
                        ChangeFailureReason(ChangeResult::kFolderUnsafe));
            continue;
        }
        context.Err(FillIn(CliText(velmora::Text{"未能修复“%s”的终端启动文件：%s",
                                                 "Could not repair the terminal launcher of \"%s\": %s"}),
                           {problem.command, problem.file}));
    }
    context.Out(problems.empty()
                    ? CliText(velmora::Text{"终端命令没有需要修复的问题",
                                            "The terminal commands have nothing to repair"})
                    : FillIn(CliText(velmora::Text{"修复了 %s 个终端命令的问题",
                                                   "Repaired the problems of %s terminal commands"}),
                             {DecimalText(static_cast<long long>(problems.size() - left.size()))}));
    return left.empty() ? CliExitCode::kSuccess : CliExitCode::kFailed;
}

}  // namespace

void TellTerminalUse(const CliVerbContext& context, const RunEntry& entry) {
    context.Out(TerminalOutcomeText(entry, true, ChangeResult::kDone,
                                    context.store.LauncherFile(entry.scope, entry.command)));
    // What a new terminal would start instead, if anything comes first.
    std::vector<RunEntry> marked{entry};
    marked.front().terminal = true;
    context.store.Mark(marked);
    if (!marked.front().terminalShadowedBy.IsEmpty()) {
        context.Err(FillIn(CliText(velmora::Text{
                               "“%s”在终端中被遮蔽：PATH 中排在前面的 %s 会先被找到",
                               "\"%s\" is shadowed in terminals: %s comes first on PATH and is found first"}),
                           {entry.command, marked.front().terminalShadowedBy}));
    }
}

CliExitCode TerminalVerb(const CliVerbContext& context) {
    if (!context.store.HasLaunchers()) {
        context.Err(CliText(
            velmora::Text{"此程序不能制作终端启动文件", "This program cannot make terminal launchers"}));
        return CliExitCode::kFailed;
    }
    const CStringW& action = context.request.operands[0];
    if (action == u"repair") return Repair(context);
    if (context.request.all) return AllOff(context);
    std::vector<RunEntry> entries;
    for (std::size_t i = 1; i < context.request.operands.size(); ++i) {
        RunEntry entry;
        if (!FindEntryToChange(context, context.request.operands[i], &entry)) return CliExitCode::kNotFound;
        entries.push_back(entry);
    }
    const bool on = action == u"on";
    const RunBatchResult batch = context.store.SetTerminal(entries, on);
    CliExitCode code = CliExitCode::kSuccess;
    for (std::size_t i = 0; i < entries.size(); ++i)
        code = Worse(code, Report(context, entries[i], on, batch.results[i]));
    if (!on && !batch.emptiedScopes.empty()) {
        context.Out(
            FillIn(CliText(velmora::Text{
                       "%s已没有终端命令；要把启动文件夹从 PATH 中去掉，运行 velmora terminal off --all",
                       "%s: no terminal commands are left; to take the launcher folder off PATH, run velmora "
                       "terminal off --all"}),
                   {CliText(ScopeText(context.scope))}));
    }
    return code;
}
