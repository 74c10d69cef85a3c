// The verbs that change run commands: add, remove, rename, set-target, path.
#include "app/cli/CliVerbContext.h"
#include "app/cli/JsonText.h"
#include "app/registry/KeyPath.h"
#include "app/runcmd/CommandText.h"
#include "app/runcmd/PathList.h"
#include "app/text/OutcomeText.h"
#include "app/text/QuestionText.h"

namespace {

using velmora::DecimalText;
using velmora::FillIn;

// A command name as typed, refused (usage) when it is empty or longer than
// the windows take.
bool AcceptName(const CliVerbContext& context, const CStringW& typed, CStringW* pName) {
    const CStringW name = TrimCommandName(typed);
    if (SplitKeyPath(name).empty()) {
        context.Err(CliText(velmora::Text{"命令名不能为空", "The command name cannot be empty"}));
        return false;
    }
    if (name.GetLength() > kCommandNameLimit) {
        context.Err(
            FillIn(CliText(velmora::Text{"命令名“%s”太长：最多 %s 个字符",
                                         "The command name \"%s\" is too long: at most %s characters"}),
                   {name, DecimalText(kCommandNameLimit)}));
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
        context.Err(FillIn(
            CliText(velmora::Text{"“%s”不是程序：只能注册程序（.exe）文件",
                                  "\"%s\" is not a program: only program (.exe) files can be registered"}),
            {typed}));
        return CliExitCode::kUsage;
    }
    if (!context.services.programExists(program)) {
        context.Err(
            FillIn(CliText(velmora::Text{"找不到程序：%s", "Cannot find the program: %s"}), {program}));
        return CliExitCode::kNotFound;
    }
    *pProgram = program;
    return CliExitCode::kSuccess;
}

// Tells what a declined replacement left alone, and how to go ahead.
void TellNotReplaced(const CliVerbContext& context) {
    context.Err(context.prompts.lastReplaceQuestion);
    context.Err(CliText(
        velmora::Text{"未做修改；要替换请加 --force", "Nothing was changed; add --force to replace"}));
}

// An edit's outcome: its status line (the manager's) on the output when it
// is done or nothing changed, else on the error stream; and its exit code.
CliExitCode ReportEdit(const CliVerbContext& context, const RunActionText& action, const CStringW& command,
                       ChangeResult result, const CStringW& detail) {
    if (result == ChangeResult::kDeclined) {
        TellNotReplaced(context);
        return CliExitCode::kExists;
    }
    const CStringW text = EditStatusText(action, command, result, detail);
    if (Succeeded(result))
        context.Out(text);
    else
        context.Err(text);
    return ExitCodeOf(result);
}

// The options the request changes; a folder given without %variables% is
// made absolute, as a program is.
RunCommandOptionsChange OptionsChangeOf(const CliVerbContext& context) {
    const CliRequest& request = context.request;
    RunCommandOptionsChange change;
    if (request.hasArguments) change.arguments = request.arguments;
    if (request.hasFolder) {
        const CStringW folder = CStringW(request.folder).Trim();
        change.folder =
            folder.IsEmpty() || folder.Find(u'%') >= 0 ? folder : context.services.fullPath(folder);
    }
    change.environment = request.environment;
    if (request.administrator) change.administrator = true;
    if (request.noAdministrator) change.administrator = false;
    return change;
}

}  // namespace

CliExitCode AddVerb(const CliVerbContext& context) {
    const CliRequest& request = context.request;
    NewRunCommand command;
    if (!AcceptName(context, request.operands[0], &command.name)) return CliExitCode::kUsage;
    const CliExitCode programCheck = AcceptProgram(context, request.operands[1], &command.target);
    if (programCheck != CliExitCode::kSuccess) return programCheck;
    if (request.hasPathList) command.pathFolders = SplitPathList(request.pathList);
    command.terminal = request.terminal;
    if (!ApplyOptionsChange({}, OptionsChangeOf(context), &command.options)) return CliExitCode::kUsage;
    if ((command.terminal || command.options.Any()) && !context.store.HasLaunchers()) {
        context.Err(CliText(
            velmora::Text{"此程序不能制作终端启动文件", "This program cannot make terminal launchers"}));
        return CliExitCode::kFailed;
    }
    const CStringW& name = command.name;
    const ChangeResult result = context.store.Add(command);
    if (result == ChangeResult::kDeclined) {
        TellNotReplaced(context);
        return CliExitCode::kExists;
    }
    if (!Succeeded(result)) {
        context.Err(result == ChangeResult::kNotForTerminal && !command.terminal
                        ? OptionsOutcomeText(name, command.target, result, CStringW())
                        : AddOutcomeText(name, command.target, result));
        return ExitCodeOf(result);
    }
    context.Out(FillIn(
        CliText(velmora::Text{"运行命令添加成功！“%s”（%s）：%s", "Run command added: \"%s\" (%s): %s"}),
        {name, CliText(ScopeText(context.scope)), command.target}));
    if (command.pathFolders && !command.pathFolders->empty())
        context.Out(EditStatusText(kEditPathAction, name, ChangeResult::kDone, CStringW()));
    if (command.options.Any()) context.Out(OptionsOutcomeText(name, command.target, result, CStringW()));
    if (command.terminal) {
        if (std::optional<RunEntry> entry = context.store.Find(context.scope, name))
            TellTerminalUse(context, *entry);
    }
    return CliExitCode::kSuccess;
}

CliExitCode SetVerb(const CliVerbContext& context) {
    RunEntry entry;
    if (!FindEntryToChange(context, context.request.operands[0], &entry)) return CliExitCode::kNotFound;
    if (!context.store.HasLaunchers()) {
        context.Err(CliText(velmora::Text{"此程序不能制作启动文件", "This program cannot make launchers"}));
        return CliExitCode::kFailed;
    }
    const ChangeResult result = context.store.SetOptions(entry, OptionsChangeOf(context));
    const CStringW text = OptionsOutcomeText(entry.command, entry.target, result,
                                             context.store.OptionsLauncherFile(entry.scope, entry.command));
    if (!Succeeded(result)) {
        context.Err(text);
        return ExitCodeOf(result);
    }
    context.Out(text);
    if (result == ChangeResult::kDone) {
        const std::optional<RunEntry> changed = context.store.Find(entry.scope, entry.command);
        if (changed && !changed->options.Any())
            context.Out(
                FillIn(CliText(velmora::Text{"“%s”已没有选项，恢复为普通运行命令",
                                             "\"%s\" has no options left and is a plain run command again"}),
                       {entry.command}));
    }
    return CliExitCode::kSuccess;
}

CliExitCode RemoveVerb(const CliVerbContext& context) {
    std::vector<RunEntry> entries;
    bool allFound = true;
    for (const CStringW& name : context.request.operands) {
        RunEntry entry;
        if (FindEntryToChange(context, name, &entry))
            entries.push_back(entry);
        else
            allFound = false;
    }
    if (!allFound) {
        context.Err(CliText(velmora::Text{"未删除任何运行命令", "No run command was deleted"}));
        return CliExitCode::kNotFound;
    }
    const RunBatchResult result = context.store.Delete(entries);
    for (const RunEntry& entry : result.done)
        context.Out(EditStatusText(kDeleteAction, entry.command, ChangeResult::kDone, CStringW()));
    for (const RunBatchResult::Failure& failure : result.failures) context.Err(DeleteFailureText(failure));
    return result.failures.empty() ? CliExitCode::kSuccess : CliExitCode::kFailed;
}

CliExitCode RenameVerb(const CliVerbContext& context) {
    CStringW newName;
    if (!AcceptName(context, context.request.operands[1], &newName)) return CliExitCode::kUsage;
    RunEntry entry;
    if (!FindEntryToChange(context, context.request.operands[0], &entry)) return CliExitCode::kNotFound;
    return ReportEdit(context, kRenameAction, entry.command, context.store.Rename(entry, newName), newName);
}

CliExitCode SetTargetVerb(const CliVerbContext& context) {
    RunEntry entry;
    if (!FindEntryToChange(context, context.request.operands[0], &entry)) return CliExitCode::kNotFound;
    CStringW program;
    const CliExitCode programCheck = AcceptProgram(context, context.request.operands[1], &program);
    if (programCheck != CliExitCode::kSuccess) return programCheck;
    return ReportEdit(context, kChangeTargetAction, entry.command, context.store.ChangeTarget(entry, program),
                      program);
}

CliExitCode PathVerb(const CliVerbContext& context) {
    const CliRequest& request = context.request;
    RunEntry entry;
    if (!FindEntryToChange(context, request.operands[0], &entry)) return CliExitCode::kNotFound;
    if ((request.pathChange == PathChange::kAdd || request.pathChange == PathChange::kRemove) &&
        CStringW(request.pathArgument).Trim().empty()) {
        context.Err(CliText(velmora::Text{"文件夹不能为空", "The folder cannot be empty"}));
        return CliExitCode::kUsage;
    }
    std::vector<CStringW> folders = context.store.PathFolders(entry);
    switch (request.pathChange) {
        case PathChange::kShow: {
            if (request.json) {
                CStringW json = u"{\"name\":" + JsonString(entry.command) + u",\"scope\":\"" +
                                ScopeKey(entry.scope) + u"\",\"folders\":[";
                for (std::size_t i = 0; i < folders.size(); ++i)
                    json += (i ? u"," : u"") + JsonString(folders[i]);
                context.Out(json + u"]}");
            } else {
                for (const CStringW& folder : folders) context.Out(folder);
            }
            return CliExitCode::kSuccess;
        }
        case PathChange::kAdd:
            if (!AddPathFolder(folders, request.pathArgument)) {
                context.Out(FillIn(CliText(velmora::Text{"附加路径中已有：%s", "Already in the Path: %s"}),
                                   {request.pathArgument}));
                return CliExitCode::kSuccess;
            }
            break;
        case PathChange::kRemove: {
            std::size_t index = 0;
            while (index < folders.size() && !SameFolder(folders[index], request.pathArgument)) ++index;
            if (!RemovePathFolder(folders, index)) {
                context.Err(FillIn(CliText(velmora::Text{"附加路径中没有：%s", "Not in the Path: %s"}),
                                   {request.pathArgument}));
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
