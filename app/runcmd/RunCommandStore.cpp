#include "app/runcmd/RunCommandStore.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "app/runcmd/CommandText.h"
#include "app/runcmd/TerminalName.h"

RunCommandStore::RunCommandStore(IRegistry& registry, const RunCommandPlace& place, RunCommandRights rights,
                                 RunCommandPrompts& prompts, TargetFileCheck exists,
                                 RunCommandFollower* follower)
    : m_registry(registry),
      m_place(place),
      m_rights(rights),
      m_prompts(prompts),
      m_exists(std::move(exists)),
      m_follower(follower) {}

namespace {

// Both scopes, the machine's first, each listed by `list` (ListRunEntries or
// ListRunEntryKeys).
using ScopeLister = int (*)(IRegistry&, RegKey, const CStringW&, RunScope, std::vector<RunEntry>&);
RunListing ListBothScopes(IRegistry& registry, const RunCommandPlace& place, ScopeLister list) {
    RunListing listing;
    for (const RunScope scope : {RunScope::kLocalMachine, RunScope::kCurrentUser})
        listing.unreadable += list(registry, place.RootOf(scope), place.appPathsKey, scope, listing.entries);
    return listing;
}

// The entry a command of that name makes in `scope`, before it is read.
RunEntry NewEntry(RunScope scope, const CStringW& name) {
    RunEntry entry;
    entry.scope = scope;
    entry.keyPath = KeyPathOfCommand(name);
    entry.command = CommandOfKeyPath(entry.keyPath);
    return entry;
}

// Files an entry's outcome in a batch: done, passed over or failed.
void Count(RunBatchResult& batch, const RunEntry& entry, ChangeResult result,
           long status = kRegistrySuccess) {
    batch.results.push_back(result);
    if (result == ChangeResult::kDone) {
        batch.done.push_back(entry);
    } else if (result == ChangeResult::kDeclined || result == ChangeResult::kUnchanged) {
        ++batch.declined;
    } else {
        batch.failures.push_back({entry, result, status});
    }
}

}  // namespace

ReplaceAnswer RunCommandStore::AskReplace() {
    return [this](const ReplaceQuestion& question) { return m_prompts.ConfirmReplace(question); };
}

ChangeResult RunCommandStore::Finish(ChangeResult result, ChangeJournal& journal, RunScope scope,
                                     const std::vector<CStringW>& commands) {
    if (result == ChangeResult::kDone && m_follower != nullptr) {
        for (const CStringW& command : commands) {
            const ChangeResult followed = m_follower->Follow(scope, command, journal);
            if (!Succeeded(followed)) {
                result = followed;
                break;
            }
        }
    }
    if (!Succeeded(result)) journal.Restore();
    return result;
}

RunListing RunCommandStore::List() const {
    RunListing listing = ListBothScopes(m_registry, m_place, &ListRunEntries);
    Mark(listing.entries);
    return listing;
}

RunListing RunCommandStore::ListKeys() const {
    RunListing listing = ListBothScopes(m_registry, m_place, &ListRunEntryKeys);
    MarkShadowedRunEntries(listing.entries);
    return listing;
}

bool RunCommandStore::ReadValues(RunEntry& entry) const {
    return ReadRunEntryValues(m_registry, m_place.RootOf(entry.scope), m_place.appPathsKey, entry);
}

void RunCommandStore::Mark(std::vector<RunEntry>& entries) const {
    MarkRunEntries(entries, m_exists);
    if (m_follower != nullptr) m_follower->MarkListed(entries);
}

std::optional<RunEntry> RunCommandStore::Find(RunScope scope, const CStringW& name) const {
    RunEntry entry;
    if (TrimCommandName(name).IsEmpty() ||
        !FindRunEntry(m_registry, m_place.RootOf(scope), m_place.appPathsKey, scope, KeyPathOfCommand(name),
                      &entry))
        return std::nullopt;
    return entry;
}

CStringW RunCommandStore::TargetOf(const CStringW& name) const {
    return ReadCommandTarget(m_registry, m_place.RootOf(m_rights.writeScope),
                             m_place.KeyPathOf(KeyPathOfCommand(name)));
}

ChangeResult RunCommandStore::CheckFit(const RunEntry& entry, const NewRunCommand& command) const {
    if (!command.terminal && !command.options.Any()) return ChangeResult::kDone;
    if (m_follower == nullptr) return ChangeResult::kLauncherFailed;
    return m_follower->CheckFit(entry.command, command.target);
}

ChangeResult RunCommandStore::Add(const NewRunCommand& command) {
    const RunScope scope = m_rights.writeScope;
    RunEntry entry = NewEntry(scope, command.name);
    // Refused before anything is written.
    const ChangeResult fit = CheckFit(entry, command);
    if (fit != ChangeResult::kDone) return fit;
    ChangeJournal journal(m_registry);
    ChangeResult result =
        RegisterRunCommand(m_registry, m_place, scope, command.name, command.target, AskReplace(), journal);
    if (result == ChangeResult::kDone && command.pathFolders) {
        const ChangeResult path =
            SetRunCommandPath(m_registry, m_place, entry, *command.pathFolders, journal);
        if (!Succeeded(path)) result = path;
    }
    if (result == ChangeResult::kDone && command.terminal) {
        const ChangeResult mark = SetRunCommandTerminalMark(m_registry, m_place, entry, true, journal);
        if (!Succeeded(mark)) result = mark;
    }
    if (result == ChangeResult::kDone && command.options.Any()) {
        const ChangeResult options =
            SetRunCommandOptions(m_registry, m_place, entry, ChangeSettingAll(command.options), journal);
        if (!Succeeded(options)) result = options;
    }
    // Over a command that works in terminals, its launcher follows the new
    // program's kind.
    return Finish(result, journal, scope, {entry.command});
}

ChangeResult RunCommandStore::Apply(RunScope scope, const NewRunCommand& command) {
    if (scope == RunScope::kLocalMachine && !m_rights.elevated) return ChangeResult::kNeedsAdministrator;
    RunEntry entry = NewEntry(scope, command.name);
    const ChangeResult fit = CheckFit(entry, command);
    if (fit != ChangeResult::kDone) return fit;
    const ReplaceAnswer replace = [](const ReplaceQuestion&) { return true; };
    ChangeJournal journal(m_registry);
    ChangeResult result = ChangeResult::kUnchanged;
    // Each part in turn; the first that fails has put the journal back.
    const auto part = [&result](const std::function<ChangeResult()>& step) {
        if (!Succeeded(result)) return;
        const ChangeResult done = step();
        if (!Succeeded(done) || done == ChangeResult::kDone) result = done;
    };
    if (std::optional<RunEntry> existing = Find(scope, command.name)) {
        entry = std::move(*existing);
    } else {
        part([&] {
            return RegisterRunCommand(m_registry, m_place, scope, command.name, command.target, replace,
                                      journal);
        });
    }
    // Over a fresh key too: it makes the type REG_EXPAND_SZ for %variables%.
    part(
        [&] { return ChangeRunCommandTarget(m_registry, m_place, entry, command.target, replace, journal); });
    part([&] {
        return SetRunCommandPath(m_registry, m_place, entry,
                                 command.pathFolders.value_or(std::vector<CStringW>()), journal);
    });
    part([&] { return SetRunCommandTerminalMark(m_registry, m_place, entry, command.terminal, journal); });
    const RunCommandOptionsChange options = ChangeBetween(entry.options, command.options);
    if (!options.Empty())
        part([&] { return SetRunCommandOptions(m_registry, m_place, entry, options, journal); });
    part([&] { return SetRunCommandMark(m_registry, m_place, entry, kAppliedMarkValue, true, journal); });
    return Finish(result, journal, scope, {entry.command});
}

ChangeResult RunCommandStore::Rename(const RunEntry& entry, const CStringW& newName) {
    const CStringW newCommand =
        TrimCommandName(newName).IsEmpty() ? CStringW() : CommandOfKeyPath(KeyPathOfCommand(newName));
    if (m_follower != nullptr && (entry.terminal || entry.options.Any()) && !newCommand.IsEmpty() &&
        CheckTerminalName(newCommand) != TerminalNameCheck::kFits)
        return ChangeResult::kNotForTerminal;
    ChangeJournal journal(m_registry);
    const ChangeResult result = RenameRunCommand(m_registry, m_place, entry, newName, AskReplace(), journal);
    return Finish(result, journal, entry.scope, {entry.command, newCommand});
}

ChangeResult RunCommandStore::ChangeTarget(const RunEntry& entry, const CStringW& newTarget) {
    ChangeJournal journal(m_registry);
    const ChangeResult result =
        ChangeRunCommandTarget(m_registry, m_place, entry, newTarget, AskReplace(), journal);
    return Finish(result, journal, entry.scope, {entry.command});
}

std::vector<CStringW> RunCommandStore::PathFolders(const RunEntry& entry) const {
    return ReadRunCommandPath(m_registry, m_place, entry);
}

ChangeResult RunCommandStore::SetPathFolders(const RunEntry& entry, const std::vector<CStringW>& folders) {
    ChangeJournal journal(m_registry);
    const ChangeResult result = SetRunCommandPath(m_registry, m_place, entry, folders, journal);
    return Finish(result, journal, entry.scope, {});
}

long RunCommandStore::Contents(const RunEntry& entry, RegKeyContents* pContents) const {
    return ReadKeyContents(m_registry, m_place.RootOf(entry.scope), m_place.KeyPathOf(entry.keyPath),
                           pContents);
}

ChangeResult RunCommandStore::SetTerminalOf(const RunEntry& entry, bool on) {
    if (m_follower == nullptr) return ChangeResult::kLauncherFailed;
    if (entry.scope == RunScope::kLocalMachine && !m_rights.elevated)
        return ChangeResult::kNeedsAdministrator;
    if (on) {
        const ChangeResult fit = m_follower->CheckFit(entry.command, entry.target);
        if (fit != ChangeResult::kDone) return fit;
    }
    ChangeJournal journal(m_registry);
    const ChangeResult mark = SetRunCommandTerminalMark(m_registry, m_place, entry, on, journal);
    if (!Succeeded(mark)) return mark;
    const ChangeResult followed = m_follower->Follow(entry.scope, entry.command, journal);
    if (!Succeeded(followed)) {
        journal.Restore();
        return followed;
    }
    return mark == ChangeResult::kDone || followed == ChangeResult::kDone ? ChangeResult::kDone
                                                                          : ChangeResult::kUnchanged;
}

ChangeResult RunCommandStore::SetOptions(const RunEntry& entry, const RunCommandOptionsChange& change) {
    if (m_follower == nullptr) return ChangeResult::kLauncherFailed;
    if (entry.scope == RunScope::kLocalMachine && !m_rights.elevated)
        return ChangeResult::kNeedsAdministrator;
    RunCommandOptions changed;
    if (!ApplyOptionsChange(entry.options, change, &changed)) return ChangeResult::kInvalidName;
    if (changed.Any()) {
        const ChangeResult fit = m_follower->CheckFit(entry.command, entry.target);
        if (fit != ChangeResult::kDone) return fit;
    }
    ChangeJournal journal(m_registry);
    const ChangeResult result = SetRunCommandOptions(m_registry, m_place, entry, change, journal);
    return Finish(result, journal, entry.scope, {entry.command});
}

RunBatchResult RunCommandStore::SetTerminal(const std::vector<RunEntry>& entries, bool on) {
    RunBatchResult batch;
    for (const RunEntry& entry : entries) {
        const ChangeResult result = SetTerminalOf(entry, on);
        // Turned on or off already counts as done here.
        batch.results.push_back(result);
        if (Succeeded(result))
            batch.done.push_back(entry);
        else
            batch.failures.push_back({entry, result, kRegistrySuccess});
        if (on || !Succeeded(result) || m_follower->HasLaunchers(entry.scope)) continue;
        if (std::find(batch.emptiedScopes.begin(), batch.emptiedScopes.end(), entry.scope) ==
            batch.emptiedScopes.end())
            batch.emptiedScopes.push_back(entry.scope);
    }
    return batch;
}

RunBatchResult RunCommandStore::CopyToScope(const std::vector<RunEntry>& entries, RunScope to) {
    RunBatchResult batch;
    if (!m_rights.elevated) {
        batch.cancelled = true;
        return batch;
    }
    for (const RunEntry& entry : entries) {
        if (entry.scope == to) continue;
        ChangeJournal journal(m_registry);
        const ChangeResult result =
            CopyRunCommandToScope(m_registry, m_place, entry, to, AskReplace(), journal);
        Count(batch, entry, Finish(result, journal, to, {entry.command}));
    }
    return batch;
}

RunBatchResult RunCommandStore::Delete(const std::vector<RunEntry>& entries) {
    RunBatchResult batch;
    if (entries.empty()) return batch;
    if (!m_prompts.ConfirmDelete(entries)) {
        batch.cancelled = true;
        return batch;
    }
    for (const RunEntry& entry : entries) {
        // A launcher still running cannot be removed: then the command stays
        // as well.
        ChangeJournal journal(m_registry);
        long status = kRegistrySuccess;
        const ChangeResult result = DeleteRunCommand(m_registry, m_place, entry, journal, &status);
        Count(batch, entry, Finish(result, journal, entry.scope, {entry.command}), status);
    }
    return batch;
}

RunCommandExport RunCommandStore::Export(const std::vector<RunEntry>& entries) const {
    return ExportRunCommands(m_registry, m_place, entries);
}

ImportPlan RunCommandStore::PlanImport(const unsigned char* data, std::size_t size) const {
    return PlanRunCommandImport(m_registry, m_place, data, size, m_rights.elevated);
}

ImportCounts RunCommandStore::ApplyImport(const ImportPlan& plan, const std::vector<bool>& replace) {
    ImportCounts counts;
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        if (!ImportWrites(plan, replace, i)) {
            ++counts.skipped;
            continue;
        }
        // One entry at a time: one that cannot be written, or whose launcher
        // cannot follow, is put back alone.
        const ImportItem& item = plan.items[i];
        ChangeJournal journal(m_registry);
        const ChangeResult result =
            WriteRunCommandKey(m_registry, m_place, item.scope, item.keyPath, item.contents, journal);
        if (Finish(result, journal, item.scope, {item.command}) != ChangeResult::kDone) {
            ++counts.failed;
        } else {
            ++(item.action == ImportAction::kAdd ? counts.added : counts.replaced);
        }
    }
    return counts;
}

CStringW RunCommandStore::LauncherFolder(RunScope scope) const {
    return m_follower != nullptr ? m_follower->Folder(scope) : CStringW();
}

CStringW RunCommandStore::LauncherFile(RunScope scope, const CStringW& command) const {
    return m_follower != nullptr ? m_follower->LauncherFile(scope, command) : CStringW();
}

CStringW RunCommandStore::OptionsLauncherFile(RunScope scope, const CStringW& command) const {
    return m_follower != nullptr ? m_follower->OptionsLauncherFile(scope, command) : CStringW();
}

std::vector<LauncherProblem> RunCommandStore::LauncherProblems(const std::vector<RunEntry>& entries) const {
    return m_follower != nullptr ? m_follower->Problems(entries) : std::vector<LauncherProblem>();
}

std::vector<LauncherProblem> RunCommandStore::RepairLaunchers(const std::vector<LauncherProblem>& problems) {
    std::vector<LauncherProblem> left;
    for (const LauncherProblem& problem : problems) {
        if (problem.kind == LauncherProblem::kUnsafeFolder) {
            // Only an administrator may give the machine's folder its rights.
            const bool allowed = problem.scope != RunScope::kLocalMachine || m_rights.elevated;
            if (m_follower == nullptr || !allowed || !Succeeded(m_follower->SecureFolder(problem.scope)))
                left.push_back(problem);
            continue;
        }
        ChangeJournal journal(m_registry);
        // A folder that is not there is the user's to make or to change.
        if (m_follower == nullptr || problem.kind == LauncherProblem::kMissingOptionsFolder ||
            !Succeeded(m_follower->Follow(problem.scope, problem.command, journal))) {
            journal.Restore();
            left.push_back(problem);
        }
    }
    return left;
}

bool RunCommandStore::LauncherFolderOnPath(RunScope scope) const {
    return m_follower != nullptr && m_follower->FolderOnPath(scope);
}

ChangeResult RunCommandStore::TakeLauncherFolderOffPath(RunScope scope) {
    if (m_follower == nullptr) return ChangeResult::kUnchanged;
    ChangeJournal journal(m_registry);
    const ChangeResult result = m_follower->TakeFolderOffPath(scope, journal);
    if (!Succeeded(result)) journal.Restore();
    return result;
}
