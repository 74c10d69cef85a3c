#include "app/runcmd/RunCommandStore.h"

#include <utility>

#include "app/registry/RegistryTree.h"
#include "app/registry/RegistryValues.h"
#include "app/runcmd/CommandText.h"
#include "app/runcmd/RunCommandQuestions.h"

struct RunCommandStore::KeySnapshot {
    RunScope scope = RunScope::kCurrentUser;
    CStringW keyPath;  // below App Paths
    bool existed = false;
    RegKeyContents contents;
};

RunCommandStore::RunCommandStore(IRegistry& registry, const RunCommandPlace& place, RunScope writeScope,
                                 RunCommandPrompts& prompts, TargetFileCheck exists, RunCommandFollower* follower)
    : m_registry(registry),
      m_place(place),
      m_writeScope(writeScope),
      m_prompts(prompts),
      m_exists(std::move(exists)),
      m_follower(follower) {}

RunCommandStore::KeySnapshot RunCommandStore::Snapshot(RunScope scope, const CStringW& keyPath) const {
    KeySnapshot snapshot;
    snapshot.scope = scope;
    snapshot.keyPath = keyPath;
    snapshot.existed =
        ReadKeyContents(m_registry, m_place.RootOf(scope), m_place.KeyPathOf(keyPath), &snapshot.contents) ==
        kRegistrySuccess;
    return snapshot;
}

void RunCommandStore::Restore(const KeySnapshot& snapshot) {
    const RegKey root = m_place.RootOf(snapshot.scope);
    if (snapshot.existed) {
        ReplaceKeyContents(m_registry, root, m_place.KeyPathOf(snapshot.keyPath), snapshot.contents);
    } else {
        DeleteKeyTree(m_registry, root, m_place.KeyPathOf(snapshot.keyPath));
        RemoveEmptyParentKeys(m_registry, root, m_place.appPathsKey, snapshot.keyPath);
    }
}

bool RunCommandStore::Followed(RunScope scope, const std::vector<CStringW>& commands,
                               const std::vector<KeySnapshot>& touched) {
    if (m_follower == nullptr) return true;
    bool followed = true;
    for (const CStringW& command : commands) followed = m_follower->Follow(scope, command) && followed;
    if (followed) return true;
    for (const KeySnapshot& snapshot : touched) Restore(snapshot);
    for (const CStringW& command : commands) m_follower->Follow(scope, command);
    return false;
}

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

// The command a key path below App Paths names: "tools\ed.exe" -> "tools\ed".
CStringW CommandOfKeyPath(const CStringW& keyPath) { return keyPath.Left(keyPath.GetLength() - 4); }

}  // namespace

ReplaceAnswer RunCommandStore::AskReplace() {
    return [this](const CStringW& question) { return m_prompts.ConfirmReplace(question); };
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

CStringW RunCommandStore::TargetOf(const CStringW& name) const {
    return RegReadString(m_registry, m_place.RootOf(m_writeScope), CommandKeyPath(m_place, name), CStringW());
}

RegistrationResult RunCommandStore::Register(const CStringW& name, const CStringW& target) {
    // Over a command that works in terminals, its launcher follows the new
    // program's kind.
    const CStringW trimmed = TrimCommandName(name);
    std::vector<KeySnapshot> touched;
    if (m_follower != nullptr && !trimmed.IsEmpty()) {
        touched.push_back(Snapshot(m_writeScope, NormalizeKeyPath(trimmed + u".exe")));
    }
    const RegistrationResult result = RegisterRunCommand(m_registry, m_place, m_writeScope, name, target, AskReplace());
    if (result != RegistrationResult::kWritten || touched.empty()) return result;
    return Followed(m_writeScope, {CommandOfKeyPath(touched[0].keyPath)}, touched) ? result
                                                                                   : RegistrationResult::kWriteFailed;
}

EditResult RunCommandStore::Rename(const RunEntry& entry, const CStringW& newName) {
    const CStringW trimmed = TrimCommandName(newName);
    const CStringW newKeyPath = trimmed.IsEmpty() ? CStringW() : NormalizeKeyPath(trimmed + u".exe");
    if (m_follower != nullptr && !newKeyPath.IsEmpty() &&
        !m_follower->RefusedName(entry, CommandOfKeyPath(newKeyPath)).IsEmpty()) {
        return EditResult::kNotForTerminal;
    }
    std::vector<KeySnapshot> touched;
    if (m_follower != nullptr) {
        touched.push_back(Snapshot(entry.scope, entry.keyPath));
        if (!newKeyPath.IsEmpty()) touched.push_back(Snapshot(entry.scope, newKeyPath));
    }
    const EditResult result = RenameRunCommand(m_registry, m_place, entry, newName, AskReplace());
    if (result != EditResult::kDone) return result;
    return Followed(entry.scope, {entry.command, CommandOfKeyPath(newKeyPath)}, touched) ? result
                                                                                         : EditResult::kFailed;
}

EditResult RunCommandStore::ChangeTarget(const RunEntry& entry, const CStringW& newTarget) {
    std::vector<KeySnapshot> touched;
    if (m_follower != nullptr) touched.push_back(Snapshot(entry.scope, entry.keyPath));
    const EditResult result = ChangeRunCommandTarget(m_registry, m_place, entry, newTarget, AskReplace());
    if (result != EditResult::kDone) return result;
    return Followed(entry.scope, {entry.command}, touched) ? result : EditResult::kFailed;
}

std::vector<CStringW> RunCommandStore::PathFolders(const RunEntry& entry) const {
    return ReadRunCommandPath(m_registry, m_place, entry);
}

long RunCommandStore::Contents(const RunEntry& entry, RegKeyContents* pContents) const {
    return ReadKeyContents(m_registry, m_place.RootOf(entry.scope), m_place.KeyPathOf(entry.keyPath), pContents);
}

EditResult RunCommandStore::SetPathFolders(const RunEntry& entry, const std::vector<CStringW>& folders) {
    return SetRunCommandPath(m_registry, m_place, entry, folders);
}

RunBatchResult RunCommandStore::CopyToScope(const std::vector<RunEntry>& entries, RunScope to) {
    RunBatchResult outcome;
    if (!CanWriteMachine()) {
        outcome.cancelled = true;
        return outcome;
    }
    for (const RunEntry& entry : entries) {
        if (entry.scope == to) continue;
        std::vector<KeySnapshot> touched;
        if (m_follower != nullptr) touched.push_back(Snapshot(to, entry.keyPath));
        EditResult result = CopyRunCommandToScope(m_registry, m_place, entry, to, AskReplace());
        if (result == EditResult::kDone && !Followed(to, {entry.command}, touched)) result = EditResult::kFailed;
        if (result == EditResult::kDone) {
            outcome.done.push_back(entry);
        } else if (result == EditResult::kDeclined || result == EditResult::kUnchanged) {
            ++outcome.declined;
        } else {
            outcome.failures.push_back({entry, result, kRegistrySuccess});
        }
    }
    return outcome;
}

RunBatchResult RunCommandStore::Delete(const std::vector<RunEntry>& entries) {
    RunBatchResult outcome;
    if (entries.empty()) return outcome;
    std::vector<const RunEntry*> named;
    for (const RunEntry& entry : entries) named.push_back(&entry);
    if (!m_prompts.ConfirmDelete(DeleteQuestionText(named))) {
        outcome.cancelled = true;
        return outcome;
    }
    for (const RunEntry& entry : entries) {
        const RegKey root = m_place.RootOf(entry.scope);
        // Its launcher first: one still running cannot be removed, and then
        // the command stays as well.
        if (m_follower != nullptr && !m_follower->Release(entry)) {
            outcome.failures.push_back({entry, EditResult::kFailed, kRegistrySuccess});
            continue;
        }
        const long status = DeleteKeyTree(m_registry, root, m_place.KeyPathOf(entry.keyPath));
        if (status != kRegistrySuccess) {
            if (m_follower != nullptr) m_follower->Follow(entry.scope, entry.command);
            outcome.failures.push_back({entry, EditResult::kFailed, status});
            continue;
        }
        outcome.done.push_back(entry);
        // A nested name's groups go with their last entry.
        RemoveEmptyParentKeys(m_registry, root, m_place.appPathsKey, entry.keyPath);
    }
    return outcome;
}

RunCommandExport RunCommandStore::Export(const std::vector<RunEntry>& entries) const {
    return ExportRunCommands(m_registry, m_place, entries);
}

ImportPlan RunCommandStore::PlanImport(const unsigned char* data, std::size_t size) const {
    return PlanRunCommandImport(m_registry, m_place, data, size, CanWriteMachine());
}

ImportCounts RunCommandStore::ApplyImport(const ImportPlan& plan, const std::vector<bool>& replace) {
    if (m_follower == nullptr) return ApplyRunCommandImport(m_registry, m_place, plan, replace);
    // One item at a time, so that an entry whose launcher cannot follow is
    // put back alone.
    ImportCounts counts;
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        const ImportItem& item = plan.items[i];
        ImportPlan one;
        one.items.push_back(item);
        const std::vector<bool> replaceOne{i < replace.size() && replace[i]};
        std::vector<KeySnapshot> touched;
        if (item.action != ImportAction::kRefused) touched.push_back(Snapshot(item.scope, item.keyPath));
        ImportCounts itemCounts = ApplyRunCommandImport(m_registry, m_place, one, replaceOne);
        if (itemCounts.added + itemCounts.replaced > 0 && !Followed(item.scope, {item.command}, touched)) {
            itemCounts = ImportCounts{};
            itemCounts.failed = 1;
        }
        counts.added += itemCounts.added;
        counts.replaced += itemCounts.replaced;
        counts.skipped += itemCounts.skipped;
        counts.failed += itemCounts.failed;
    }
    return counts;
}
