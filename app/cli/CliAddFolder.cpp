// add-folder: a run command for each program in a folder, named after its
// file; names that point at another program are skipped unless --force.
#include <algorithm>

#include "app/cli/CliVerbContext.h"
#include "app/registry/KeyPath.h"
#include "app/runcmd/CommandText.h"
#include "app/text/CommandsFileText.h"
#include "app/text/OutcomeText.h"

namespace {

using velmora::DecimalText;
using velmora::FillIn;

char16_t Folded(char16_t ch) {
    return ch >= u'A' && ch <= u'Z' ? static_cast<char16_t>(ch - u'A' + u'a') : ch;
}

// Whether `name` matches `pattern`: * any run of characters, ? one, ASCII
// letter case ignored.
bool MatchesPattern(const CStringW& pattern, const CStringW& name) {
    std::size_t p = 0, n = 0, star = CStringW::npos, starAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || Folded(pattern[p]) == Folded(name[n]))) {
            ++p, ++n;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            star = p++, starAt = n;
        } else if (star != CStringW::npos) {
            p = star + 1, n = ++starAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

enum class FolderStep { kAdd, kInStep, kTaken, kBadName };

}  // namespace

CliExitCode AddFolderVerb(const CliVerbContext& context) {
    const CliRequest& request = context.request;
    CStringW folder = request.operands[0];
    folder.TrimRight(u"\\/");
    if (folder.IsEmpty()) folder = request.operands[0];
    const CStringW pattern = request.hasPattern ? request.pattern : CStringW(u"*.exe");
    std::vector<CStringW> names;
    if (!context.services.listFolder ||
        !context.services.listFolder(context.services.fullPath(folder), &names)) {
        context.Err(FillIn(CliText(commands_text::kNotAFolder), {folder}));
        return CliExitCode::kNotFound;
    }
    folder = context.services.fullPath(folder);
    folder.TrimRight(u"\\");
    std::sort(names.begin(), names.end(),
              [](const CStringW& a, const CStringW& b) { return a.CompareNoCase(b) < 0; });
    int added = 0, taken = 0, badNames = 0, inStep = 0, failed = 0, programs = 0;
    for (const CStringW& file : names) {
        if (!HasExeExtension(file) || !MatchesPattern(pattern, file)) continue;
        ++programs;
        const CStringW program = folder + u"\\" + file;
        const CStringW name = GetFileTitleFromPath(program);
        FolderStep step = FolderStep::kAdd;
        CStringW holder;
        if (SplitKeyPath(name).empty() || name.GetLength() > kCommandNameLimit ||
            TrimCommandName(name) != name) {
            step = FolderStep::kBadName;
        } else if (const std::optional<RunEntry> existing = context.store.Find(context.scope, name)) {
            holder = existing->target;
            if (velmora::CompareNoCase(TargetFileOf(holder), program) == 0) {
                step = FolderStep::kInStep;
            } else if (!request.force) {
                step = FolderStep::kTaken;
            }
        }
        if (step == FolderStep::kBadName) {
            context.Err(FillIn(CliText(commands_text::kFolderBadName), {file}));
            ++badNames;
            continue;
        }
        if (step == FolderStep::kInStep) {
            ++inStep;
            continue;
        }
        if (step == FolderStep::kAdd && !request.dryRun) {
            const ChangeResult result = context.store.Add({name, program, {}, false, {}});
            if (result == ChangeResult::kDeclined) {
                step = FolderStep::kTaken;
                holder = context.store.Find(RunScope::kLocalMachine, name).value_or(RunEntry()).target;
            } else if (!Succeeded(result)) {
                context.Err(
                    FillIn(CliText(commands_text::kFolderFailed), {name, ChangeFailureReason(result)}));
                ++failed;
                continue;
            }
        }
        if (step == FolderStep::kTaken) {
            context.Err(FillIn(CliText(commands_text::kFolderTaken), {name, holder}));
            ++taken;
            continue;
        }
        context.Out(FillIn(CliText(commands_text::kFolderAdd), {name, program}));
        ++added;
    }
    if (programs == 0) {
        context.Err(FillIn(CliText(commands_text::kFolderEmpty), {pattern, folder}));
        return CliExitCode::kNotFound;
    }
    const char* summary = request.dryRun ? commands_text::kFolderPlanSummary : commands_text::kFolderSummary;
    CStringW text =
        FillIn(CliText(summary), {DecimalText(added), DecimalText(taken + badNames), DecimalText(inStep)});
    if (request.dryRun) text += CliText(commands_text::kDryRun);
    if (failed > 0) {
        context.Err(text);
        return CliExitCode::kFailed;
    }
    context.Out(text);
    return taken > 0 ? CliExitCode::kExists : CliExitCode::kSuccess;
}
