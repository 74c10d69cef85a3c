// What every verb of the console program is handed: the parsed request, the
// services, the output and the store set to the scope the verb acts in.
// Shared by the verb files only.
#pragma once

#include <vector>

#include "app/cli/CliArguments.h"
#include "app/cli/CliVerbs.h"
#include "app/runcmd/RunCommandStore.h"

// The store's questions on a command line, where nobody is asked: a
// replacement goes ahead when the verb was told so (--force, or a verb whose
// point is the change); the question is kept to tell the user what was not
// replaced. A delete was asked for by naming it.
class CliPrompts final : public RunCommandPrompts {
public:
    explicit CliPrompts(bool replace) : m_replace(replace) {}
    bool ConfirmReplace(const ReplaceQuestion& question) override;
    bool ConfirmDelete(const std::vector<RunEntry>&) override { return true; }
    CStringW lastReplaceQuestion;

private:
    bool m_replace;
};

struct CliVerbContext {
    const CliRequest& request;
    const CliServices& services;
    CliOutput& output;
    RunCommandStore& store;
    CliPrompts& prompts;
    // The scope the verb writes to and looks names up in.
    RunScope scope;
    // Whether --user or --machine narrowed the verb to `scope`.
    bool scopeGiven;

    void Out(const CStringW& line) const { output.Out(line + u"\n"); }
    void Err(const CStringW& line) const { output.Err(line + u"\n"); }
};

// A text of the program (GBK in the source) as UTF-16.
CStringW CliText(const char* text);

// "machine" or "user", as the JSON output names scopes.
const char16_t* ScopeKey(RunScope scope) noexcept;

// The exit code a store outcome gives, when the verb has no word of its own.
CliExitCode ExitCodeOf(ChangeResult result) noexcept;

// The entries named `name` (as typed: trimmed, nested, any ASCII letter
// case), each found alone: of the context's scope when --user or --machine
// narrowed the verb, else of both, the machine's first.
std::vector<RunEntry> EntriesNamed(const CliVerbContext& context, const CStringW& name);

// The entry `name` of the context's scope. When there is none, says so on
// the error stream (naming the other scope when the name is there) and
// gives false.
bool FindEntryToChange(const CliVerbContext& context, const CStringW& name, RunEntry* pEntry);

// The verbs, each one call into the store (their rows: CliVerbTable.cpp).
CliExitCode ListVerb(const CliVerbContext& context);
CliExitCode ShowVerb(const CliVerbContext& context);
CliExitCode CheckVerb(const CliVerbContext& context);
CliExitCode AddVerb(const CliVerbContext& context);
CliExitCode RemoveVerb(const CliVerbContext& context);
CliExitCode RenameVerb(const CliVerbContext& context);
CliExitCode SetTargetVerb(const CliVerbContext& context);
CliExitCode PathVerb(const CliVerbContext& context);
CliExitCode ExportVerb(const CliVerbContext& context);
CliExitCode ImportVerb(const CliVerbContext& context);
CliExitCode TerminalVerb(const CliVerbContext& context);
CliExitCode ExplorerVerb(const CliVerbContext& context);
// The explorer verb's action word and its scope: the refusal, or empty.
CStringW CheckExplorerAction(const CliRequest& request);
CliExitCode SetVerb(const CliVerbContext& context);
CliExitCode ApplyVerb(const CliVerbContext& context);
CliExitCode AddFolderVerb(const CliVerbContext& context);

// Says that `entry` works in terminals now, and what a new terminal would
// start instead when something comes first on PATH.
void TellTerminalUse(const CliVerbContext& context, const RunEntry& entry);

// The help texts: the overview (verbs, scope, exit codes) and one verb's.
CStringW CliOverviewHelp();
CStringW CliVerbHelp(const CStringW& verb);
