#include "app/cli/CliVerbs.h"

#include <optional>

#include "app/cli/CliVerbContext.h"
#include "app/cli/CliVerbTable.h"
#include "app/launcher/Launchers.h"
#include "app/text/QuestionText.h"

using velmora::FillIn;

bool CliPrompts::ConfirmReplace(const ReplaceQuestion& question) {
    lastReplaceQuestion = ReplaceQuestionText(question);
    return m_replace;
}

CStringW CliText(const char* text) { return velmora::WideFrom936(text); }

const char16_t* ScopeKey(RunScope scope) noexcept {
    return scope == RunScope::kCurrentUser ? u"user" : u"machine";
}

CliExitCode ExitCodeOf(ChangeResult result) noexcept {
    switch (result) {
        case ChangeResult::kDone:
        case ChangeResult::kUnchanged:
            return CliExitCode::kSuccess;
        case ChangeResult::kDeclined:
            return CliExitCode::kExists;
        case ChangeResult::kNotFound:
            return CliExitCode::kNotFound;
        case ChangeResult::kInvalidName:
        case ChangeResult::kNotForTerminal:
        case ChangeResult::kNotAProgram:
            return CliExitCode::kUsage;
        case ChangeResult::kNeedsAdministrator:
            return CliExitCode::kNeedsAdmin;
        case ChangeResult::kRegistryFailed:
        case ChangeResult::kLauncherFailed:
        case ChangeResult::kFolderUnsafe:
            break;
    }
    return CliExitCode::kFailed;
}

std::vector<RunEntry> EntriesNamed(const CliVerbContext& context, const CStringW& name) {
    std::vector<RunEntry> named;
    for (const RunScope scope : {RunScope::kLocalMachine, RunScope::kCurrentUser}) {
        if (context.scopeGiven && scope != context.scope) continue;
        if (std::optional<RunEntry> entry = context.store.Find(scope, name))
            named.push_back(std::move(*entry));
    }
    return named;
}

bool FindEntryToChange(const CliVerbContext& context, const CStringW& name, RunEntry* pEntry) {
    if (std::optional<RunEntry> entry = context.store.Find(context.scope, name)) {
        *pEntry = std::move(*entry);
        return true;
    }
    const RunScope other =
        context.scope == RunScope::kCurrentUser ? RunScope::kLocalMachine : RunScope::kCurrentUser;
    if (context.store.Find(other, name)) {
        context.Err(FillIn(CliText(velmora::Text{"%s中没有运行命令“%s”（%s有，可加 %s）",
                                                 "%s: there is no run command \"%s\" (%s has it; add %s)"}),
                           {CliText(ScopeText(context.scope)), name, CliText(ScopeText(other)),
                            other == RunScope::kCurrentUser ? CStringW(u"--user") : CStringW(u"--machine")}));
    } else {
        context.Err(
            FillIn(CliText(velmora::Text{"没有运行命令“%s”", "There is no run command \"%s\""}), {name}));
    }
    return false;
}

CliExitCode RunCli(const std::vector<CStringW>& args, const CliServices& services, CliOutput& output) {
    const CliParse parse = ParseCliArguments(args);
    const CliRequest& request = parse.request;
    if (!parse.error.empty()) {
        output.Err(u"velmora: " + parse.error + u"\n");
        output.Err(CliText(velmora::Text{"用法见 velmora --help", "For usage see velmora --help"}) + u"\n");
        return CliExitCode::kUsage;
    }
    if (request.help) {
        output.Out(request.verb.empty() ? CliOverviewHelp() : CliVerbHelp(request.verb));
        return CliExitCode::kSuccess;
    }
    if (request.version) {
        output.Out(u"Velmora " + services.version + u"\n");
        return CliExitCode::kSuccess;
    }
    const CliVerbRow& verb = *FindCliVerb(request.verb);
    if (request.machine && !services.elevated && Writes(verb, request)) {
        output.Err(CliText(velmora::Text{
                       "需要管理员权限才能修改本机（HKEY_LOCAL_MACHINE）的运行命令，未做任何修改。",
                       "Changing this computer's run commands (HKEY_LOCAL_MACHINE) requires administrator "
                       "rights; nothing was changed."}) +
                   u"\n");
        output.Err(
            CliText(velmora::Text{"请在以管理员身份运行的命令提示符中重试，或改用 --user。",
                                  "Try again in a Command Prompt run as administrator, or use --user."}) +
            u"\n");
        return CliExitCode::kNeedsAdmin;
    }
    const bool scopeGiven = request.user || request.machine;
    const RunScope scope = request.user        ? RunScope::kCurrentUser
                           : request.machine   ? RunScope::kLocalMachine
                           : services.elevated ? RunScope::kLocalMachine
                                               : RunScope::kCurrentUser;
    CliPrompts prompts(request.force || !verb.replacesOnlyWithForce);
    std::optional<Launchers> launchers;
    if (services.launcherFiles != nullptr)
        launchers.emplace(*services.registry, services.place, *services.launcherFiles);
    RunCommandStore store(*services.registry, services.place, {scope, services.elevated}, prompts,
                          services.targetExists, launchers ? &*launchers : nullptr);
    const CliVerbContext context{request, services, output, store, prompts, scope, scopeGiven};
    return verb.run(context);
}
