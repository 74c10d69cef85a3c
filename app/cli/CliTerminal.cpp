// The terminal verb: commands that work in cmd and PowerShell too.
//   terminal on NAME...    terminal off NAME...    terminal off --all
//   terminal repair
#include "app/cli/CliVerbContext.h"
#include "app/runcmd/RunManagerText.h"
#include "app/terminal/TerminalName.h"

namespace {

using velmora::DecimalText;
using velmora::FillIn;

// The worse of two exit codes: the first failure is kept.
CliExitCode Worse(CliExitCode so, CliExitCode now) { return so != CliExitCode::kSuccess ? so : now; }

CliExitCode TurnOff(const CliVerbContext& context, const RunEntry& entry, bool* pLast) {
    switch (context.terminal->TurnOff(entry, pLast)) {
        case TerminalResult::kDone:
            context.Out(FillIn(CliText("“%s”不再在终端中可用"), {entry.command}));
            return CliExitCode::kSuccess;
        case TerminalResult::kUnchanged:
            context.Out(FillIn(CliText("“%s”本来就不在终端中可用"), {entry.command}));
            return CliExitCode::kSuccess;
        case TerminalResult::kFileFailed:
            context.Err(FillIn(CliText("无法删除“%s”的终端启动文件（可能正在运行）：%s，未做修改"),
                               {entry.command, context.terminal->LauncherFile(entry.scope, entry.command)}));
            return CliExitCode::kFailed;
        default:
            context.Err(FillIn(CliText("未能修改“%s”：注册表拒绝了修改，一切保持原样"), {entry.command}));
            return CliExitCode::kFailed;
    }
}

CliExitCode AllOff(const CliVerbContext& context) {
    CliExitCode code = CliExitCode::kSuccess;
    for (const RunEntry& entry : context.store.List().entries) {
        if (entry.scope != context.scope || !entry.terminal) continue;
        code = Worse(code, TurnOff(context, entry, nullptr));
    }
    if (code != CliExitCode::kSuccess) return code;
    const CStringW shown = context.terminal->Folder(context.scope);
    switch (context.terminal->TakeFolderOffPath(context.scope)) {
        case TerminalResult::kDone:
            context.Out(FillIn(CliText("已把 %s 从%s的 PATH 中去掉；新打开的终端生效"),
                               {shown, CliText(ScopeText(context.scope))}));
            return CliExitCode::kSuccess;
        case TerminalResult::kUnchanged:
            return CliExitCode::kSuccess;
        default:
            context.Err(FillIn(CliText("未能修改%s的 PATH：注册表拒绝了修改"), {CliText(ScopeText(context.scope))}));
            return CliExitCode::kFailed;
    }
}

CliExitCode Repair(const CliVerbContext& context) {
    std::vector<RunEntry> entries;
    for (const RunEntry& entry : context.store.List().entries) {
        if (!context.scopeGiven || entry.scope == context.scope) entries.push_back(entry);
    }
    std::vector<TerminalProblem> problems = context.terminal->Problems(entries);
    if (context.scopeGiven) {
        std::erase_if(problems, [&](const TerminalProblem& problem) { return problem.scope != context.scope; });
    }
    const std::vector<TerminalProblem> left = context.terminal->Repair(problems);
    for (const TerminalProblem& problem : left) {
        context.Err(FillIn(CliText("未能修复“%s”的终端启动文件：%s"), {problem.command, problem.file}));
    }
    context.Out(problems.empty() ? CliText("终端命令没有需要修复的问题")
                                 : FillIn(CliText("修复了 %s 个终端命令的问题"),
                                          {DecimalText(static_cast<long long>(problems.size() - left.size()))}));
    return left.empty() ? CliExitCode::kSuccess : CliExitCode::kFailed;
}

}  // namespace

CliExitCode TurnOnTerminal(const CliVerbContext& context, const RunEntry& entry) {
    const CStringW launcher = context.terminal->LauncherFile(entry.scope, entry.command);
    switch (context.terminal->TurnOn(entry)) {
        case TerminalResult::kDone:
        case TerminalResult::kUnchanged:
            break;
        case TerminalResult::kBadName:
            context.Err(TerminalNameProblem(entry.command));
            return CliExitCode::kUsage;
        case TerminalResult::kNotAProgram:
            context.Err(FillIn(CliText("“%s”的目标不是可以启动的程序，不能在终端中使用：%s"),
                               {entry.command, entry.target}));
            return CliExitCode::kUsage;
        case TerminalResult::kFileFailed:
            context.Err(FillIn(CliText("无法写入终端启动文件：%s，未做修改"), {launcher}));
            return CliExitCode::kFailed;
        case TerminalResult::kRegistryFailed:
            context.Err(FillIn(CliText("未能标记“%s”或修改 PATH：注册表拒绝了修改，未做修改"), {entry.command}));
            return CliExitCode::kFailed;
    }
    context.Out(FillIn(CliText("“%s”可在终端中使用（%s）：%s"),
                       {entry.command, CliText(ScopeText(entry.scope)), launcher}));
    // What a new terminal would start instead, if anything comes first.
    for (const RunEntry& listed : EntriesNamed(context.store.List().entries, entry.command, true, entry.scope)) {
        if (!listed.terminalShadowedBy.IsEmpty()) {
            context.Err(FillIn(CliText("“%s”在终端中被遮蔽：PATH 中排在前面的 %s 会先被找到"),
                               {entry.command, listed.terminalShadowedBy}));
        }
    }
    return CliExitCode::kSuccess;
}

CliExitCode TerminalVerb(const CliVerbContext& context) {
    if (context.terminal == nullptr) {
        context.Err(CliText("此程序不能制作终端启动文件"));
        return CliExitCode::kFailed;
    }
    const CStringW& action = context.request.operands[0];
    if (action == u"repair") return Repair(context);
    if (context.request.all) return AllOff(context);
    const std::vector<RunEntry> listed = context.store.List().entries;
    std::vector<RunEntry> entries;
    for (std::size_t i = 1; i < context.request.operands.size(); ++i) {
        RunEntry entry;
        if (!FindEntryToChange(context, listed, context.request.operands[i], &entry)) return CliExitCode::kNotFound;
        entries.push_back(entry);
    }
    CliExitCode code = CliExitCode::kSuccess;
    bool last = false;
    for (const RunEntry& entry : entries) {
        code = Worse(code, action == u"on" ? TurnOnTerminal(context, entry) : TurnOff(context, entry, &last));
    }
    if (action == u"off" && last) {
        context.Out(FillIn(CliText("%s已没有终端命令；要把启动文件夹从 PATH 中去掉，运行 velmora terminal off --all"),
                           {CliText(ScopeText(context.scope))}));
    }
    return code;
}
