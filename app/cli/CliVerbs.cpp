#include "app/cli/CliVerbs.h"

#include <optional>

#include "app/cli/CliVerbContext.h"
#include "app/runcmd/CommandText.h"
#include "app/runcmd/RunCommandQuestions.h"

namespace {

using velmora::FillIn;

// Verbs that write: they need administrator rights for the machine's entries.
bool Writes(const CliRequest& request) {
    const CStringW& verb = request.verb;
    if (verb == u"path") return request.pathChange != PathChange::kShow;
    return verb == u"add" || verb == u"remove" || verb == u"rename" || verb == u"set-target" ||
           verb == u"terminal" || (verb == u"import" && !request.dryRun);
}

using VerbFunction = CliExitCode (*)(const CliVerbContext&);

VerbFunction VerbOf(const CStringW& verb) {
    struct Named {
        const char16_t* name;
        VerbFunction function;
    } static const kVerbs[] = {
        {u"list", &ListVerb},     {u"show", &ShowVerb},         {u"check", &CheckVerb},
        {u"add", &AddVerb},       {u"remove", &RemoveVerb},     {u"rename", &RenameVerb},
        {u"set-target", &SetTargetVerb}, {u"path", &PathVerb}, {u"export", &ExportVerb},
        {u"import", &ImportVerb}, {u"terminal", &TerminalVerb},
    };
    for (const Named& named : kVerbs) {
        if (verb == named.name) return named.function;
    }
    return nullptr;
}

}  // namespace

CStringW CliText(const char* text) { return velmora::WideFrom936(text); }

const char16_t* ScopeKey(RunScope scope) noexcept {
    return scope == RunScope::kCurrentUser ? u"user" : u"machine";
}

std::vector<RunEntry> EntriesNamed(const std::vector<RunEntry>& entries, const CStringW& name, bool oneScope,
                                   RunScope scope) {
    const CStringW keyPath = NormalizeKeyPath(TrimCommandName(name) + u".exe");
    std::vector<RunEntry> named;
    for (const RunEntry& entry : entries) {
        if (oneScope && entry.scope != scope) continue;
        if (velmora::CompareNoCase(NormalizeKeyPath(entry.keyPath), keyPath) == 0) named.push_back(entry);
    }
    return named;
}

bool FindEntryToChange(const CliVerbContext& context, const std::vector<RunEntry>& entries, const CStringW& name,
                       RunEntry* pEntry) {
    const std::vector<RunEntry> mine = EntriesNamed(entries, name, true, context.scope);
    if (!mine.empty()) {
        *pEntry = mine.front();
        return true;
    }
    const RunScope other =
        context.scope == RunScope::kCurrentUser ? RunScope::kLocalMachine : RunScope::kCurrentUser;
    if (!EntriesNamed(entries, name, true, other).empty()) {
        context.Err(FillIn(CliText("%s中没有运行命令“%s”（%s有，可加 %s）"),
                           {CliText(ScopeText(context.scope)), name, CliText(ScopeText(other)),
                            other == RunScope::kCurrentUser ? CStringW(u"--user") : CStringW(u"--machine")}));
    } else {
        context.Err(FillIn(CliText("没有运行命令“%s”"), {name}));
    }
    return false;
}

CliExitCode RunCli(const std::vector<CStringW>& args, const CliServices& services, CliOutput& output) {
    const CliParse parse = ParseCliArguments(args);
    const CliRequest& request = parse.request;
    if (!parse.error.empty()) {
        output.Err(u"velmora: " + parse.error + u"\n");
        output.Err(CliText("用法见 velmora --help") + u"\n");
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
    if (request.machine && !services.elevated && Writes(request)) {
        output.Err(CliText("需要管理员权限才能修改本机（HKEY_LOCAL_MACHINE）的运行命令，未做任何修改。") + u"\n");
        output.Err(CliText("请在以管理员身份运行的命令提示符中重试，或改用 --user。") + u"\n");
        return CliExitCode::kNeedsAdmin;
    }
    const bool scopeGiven = request.user || request.machine;
    const RunScope scope = request.user      ? RunScope::kCurrentUser
                           : request.machine ? RunScope::kLocalMachine
                           : services.elevated ? RunScope::kLocalMachine
                                               : RunScope::kCurrentUser;
    CliPrompts prompts(request.force);
    std::optional<TerminalShims> terminal;
    if (services.shimFiles != nullptr) terminal.emplace(*services.registry, services.place, *services.shimFiles);
    RunCommandStore store(*services.registry, services.place, scope, prompts, services.targetExists,
                          terminal ? &*terminal : nullptr);
    const CliVerbContext context{request, services, output, store, prompts, scope, scopeGiven,
                                 terminal ? &*terminal : nullptr};
    return VerbOf(request.verb)(context);
}
