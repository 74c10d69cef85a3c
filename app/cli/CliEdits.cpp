// The verbs that change run commands: add, remove, rename, set-target, path.
#include "app/cli/CliVerbContext.h"
#include "app/cli/JsonText.h"
#include "app/runcmd/CommandText.h"
#include "app/runcmd/PathList.h"
#include "app/runcmd/RunCommandQuestions.h"
#include "app/runcmd/RunManagerText.h"
#include "app/terminal/TerminalName.h"

namespace {

using velmora::DecimalText;
using velmora::FillIn;

// A command name as typed, refused (usage) when it is empty or longer than
// the windows take.
bool AcceptName(const CliVerbContext& context, const CStringW& typed, CStringW* pName) {
    const CStringW name = TrimCommandName(typed);
    if (SplitKeyPath(name).empty()) {
        context.Err(CliText("命令名不能为空"));
        return false;
    }
    if (name.GetLength() > kCommandNameLimit) {
        context.Err(FillIn(CliText("命令名“%s”太长：最多 %s 个字符"), {name, DecimalText(kCommandNameLimit)}));
        return false;
    }
    *pName = name;
    return true;
}

// The program as it is registered: an existing .exe file, its path made
// absolute. The exit code of the refusal, or kSuccess.
CliExitCode AcceptProgram(const CliVerbContext& context, const CStringW& typed, CStringW* pProgram) {
    const CStringW program = context.services.fullPath(CStringW(typed).Trim());
    if (!HasExeExtension(program)) {
        context.Err(FillIn(CliText("“%s”不是程序：只能注册程序（.exe）文件"), {typed}));
        return CliExitCode::kUsage;
    }
    if (!context.services.programExists(program)) {
        context.Err(FillIn(CliText("找不到程序：%s"), {program}));
        return CliExitCode::kNotFound;
    }
    *pProgram = program;
    return CliExitCode::kSuccess;
}

// Tells what a declined replacement left alone, and how to go ahead.
void TellNotReplaced(const CliVerbContext& context) {
    context.Err(context.prompts.lastReplaceQuestion);
    context.Err(CliText("未做修改；要替换请加 --force"));
}

// An edit's outcome: its status line (the manager's) on the output when it
// is done or nothing changed, else on the error stream; and its exit code.
CliExitCode ReportEdit(const CliVerbContext& context, const RunActionText& action, const CStringW& command,
                       EditResult result, const CStringW& detail) {
    const CStringW text = EditStatusText(action, command, result, detail);
    switch (result) {
        case EditResult::kDone:
        case EditResult::kUnchanged:
            context.Out(text);
            return CliExitCode::kSuccess;
        case EditResult::kDeclined:
            TellNotReplaced(context);
            return CliExitCode::kExists;
        case EditResult::kNotFound:
            context.Err(text);
            return CliExitCode::kNotFound;
        case EditResult::kInvalidName:
        case EditResult::kNotForTerminal:
            context.Err(text);
            return CliExitCode::kUsage;
        case EditResult::kFailed:
            break;
    }
    context.Err(text);
    return CliExitCode::kFailed;
}

}  // namespace

CliExitCode AddVerb(const CliVerbContext& context) {
    CStringW name, program;
    if (!AcceptName(context, context.request.operands[0], &name)) return CliExitCode::kUsage;
    const CliExitCode programCheck = AcceptProgram(context, context.request.operands[1], &program);
    if (programCheck != CliExitCode::kSuccess) return programCheck;
    if (context.request.terminal) {
        // Refused before anything is written.
        const TerminalResult fit =
            context.terminal != nullptr ? context.terminal->CheckFit(name, program) : TerminalResult::kFileFailed;
        if (fit == TerminalResult::kBadName) context.Err(TerminalNameProblem(name));
        if (fit == TerminalResult::kNotAProgram) context.Err(FillIn(CliText("“%s”不是可以启动的程序，不能在终端中使用"), {program}));
        if (fit == TerminalResult::kFileFailed) context.Err(CliText("此程序不能制作终端启动文件"));
        if (fit != TerminalResult::kDone) return fit == TerminalResult::kFileFailed ? CliExitCode::kFailed : CliExitCode::kUsage;
    }
    const CStringW previousTarget = context.store.TargetOf(name);
    switch (context.store.Register(name, program)) {
        case RegistrationResult::kWritten:
            break;
        case RegistrationResult::kDeclined:
            TellNotReplaced(context);
            return CliExitCode::kExists;
        case RegistrationResult::kWriteFailed:
            context.Err(FillIn(CliText("未能添加“%s”：注册表拒绝了写入"), {name}));
            return CliExitCode::kFailed;
    }
    context.Out(FillIn(CliText("运行命令添加成功！“%s”（%s）：%s"),
                       {name, CliText(ScopeText(context.scope)), program}));
    if (!context.request.hasPathList && !context.request.terminal) return CliExitCode::kSuccess;
    RunEntry entry;
    if (!FindEntryToChange(context, context.store.List().entries, name, &entry)) return CliExitCode::kFailed;
    CliExitCode code = CliExitCode::kSuccess;
    if (context.request.hasPathList) {
        const EditResult result = context.store.SetPathFolders(entry, SplitPathList(context.request.pathList));
        code = ReportEdit(context, kEditPathAction, name, result, CStringW());
    }
    if (code == CliExitCode::kSuccess && context.request.terminal) code = TurnOnTerminal(context, entry);
    if (code != CliExitCode::kSuccess && context.request.terminal) {
        // Not half done: the command goes again, or points where it did.
        if (previousTarget.IsEmpty()) {
            context.store.Delete({entry});
        } else {
            context.store.ChangeTarget(entry, previousTarget);
        }
        context.Err(FillIn(CliText("已撤销添加“%s”"), {name}));
    }
    return code;
}

CliExitCode RemoveVerb(const CliVerbContext& context) {
    const std::vector<RunEntry> listed = context.store.List().entries;
    std::vector<RunEntry> entries;
    bool allFound = true;
    for (const CStringW& name : context.request.operands) {
        RunEntry entry;
        if (FindEntryToChange(context, listed, name, &entry)) entries.push_back(entry);
        else allFound = false;
    }
    if (!allFound) {
        context.Err(CliText("未删除任何运行命令"));
        return CliExitCode::kNotFound;
    }
    const RunBatchResult result = context.store.Delete(entries);
    for (const RunEntry& entry : result.done)
        context.Out(EditStatusText(kDeleteAction, entry.command, EditResult::kDone, CStringW()));
    for (const RunBatchResult::Failure& failure : result.failures) {
        if (failure.status == kRegistrySuccess) {
            // The registry was not asked: the command's launcher could not go.
            context.Err(FillIn(CliText("未能删除“%s”：无法删除它的终端启动文件（可能正在运行）"),
                               {failure.entry.command}));
        } else {
            context.Err(FillIn(CliText("未能删除“%s”：注册表错误 %s"),
                               {failure.entry.command, DecimalText(failure.status)}));
        }
    }
    return result.failures.empty() ? CliExitCode::kSuccess : CliExitCode::kFailed;
}

CliExitCode RenameVerb(const CliVerbContext& context) {
    CStringW newName;
    if (!AcceptName(context, context.request.operands[1], &newName)) return CliExitCode::kUsage;
    RunEntry entry;
    if (!FindEntryToChange(context, context.store.List().entries, context.request.operands[0], &entry))
        return CliExitCode::kNotFound;
    return ReportEdit(context, kRenameAction, entry.command, context.store.Rename(entry, newName), newName);
}

CliExitCode SetTargetVerb(const CliVerbContext& context) {
    RunEntry entry;
    if (!FindEntryToChange(context, context.store.List().entries, context.request.operands[0], &entry))
        return CliExitCode::kNotFound;
    CStringW program;
    const CliExitCode programCheck = AcceptProgram(context, context.request.operands[1], &program);
    if (programCheck != CliExitCode::kSuccess) return programCheck;
    return ReportEdit(context, kChangeTargetAction, entry.command, context.store.ChangeTarget(entry, program),
                      program);
}

CliExitCode PathVerb(const CliVerbContext& context) {
    const CliRequest& request = context.request;
    RunEntry entry;
    if (!FindEntryToChange(context, context.store.List().entries, request.operands[0], &entry))
        return CliExitCode::kNotFound;
    if ((request.pathChange == PathChange::kAdd || request.pathChange == PathChange::kRemove) &&
        CStringW(request.pathArgument).Trim().empty()) {
        context.Err(CliText("文件夹不能为空"));
        return CliExitCode::kUsage;
    }
    std::vector<CStringW> folders = context.store.PathFolders(entry);
    switch (request.pathChange) {
        case PathChange::kShow: {
            if (request.json) {
                CStringW json = u"{\"name\":" + JsonString(entry.command) + u",\"scope\":\"" + ScopeKey(entry.scope) +
                                u"\",\"folders\":[";
                for (std::size_t i = 0; i < folders.size(); ++i) json += (i ? u"," : u"") + JsonString(folders[i]);
                context.Out(json + u"]}");
            } else {
                for (const CStringW& folder : folders) context.Out(folder);
            }
            return CliExitCode::kSuccess;
        }
        case PathChange::kAdd:
            if (!AddPathFolder(folders, request.pathArgument)) {
                context.Out(FillIn(CliText("附加路径中已有：%s"), {request.pathArgument}));
                return CliExitCode::kSuccess;
            }
            break;
        case PathChange::kRemove: {
            std::size_t index = 0;
            while (index < folders.size() && !SameFolder(folders[index], request.pathArgument)) ++index;
            if (!RemovePathFolder(folders, index)) {
                context.Err(FillIn(CliText("附加路径中没有：%s"), {request.pathArgument}));
                return CliExitCode::kNotFound;
            }
            break;
        }
        case PathChange::kSet:
            folders = SplitPathList(request.pathArgument);
            break;
        case PathChange::kClear:
            folders.clear();
            break;
    }
    return ReportEdit(context, kEditPathAction, entry.command, context.store.SetPathFolders(entry, folders),
                      CStringW());
}
