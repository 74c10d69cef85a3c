#include "app/runcmd/RunCommandStore.h"

#include <utility>

#include "app/registry/RegistryTree.h"
#include "app/runcmd/RunCommandQuestions.h"

RunCommandStore::RunCommandStore(IRegistry& registry, const RunCommandPlace& place, RunScope writeScope,
                                 RunCommandPrompts& prompts, TargetFileCheck exists)
    : m_registry(registry),
      m_place(place),
      m_writeScope(writeScope),
      m_prompts(prompts),
      m_exists(std::move(exists)) {}

ReplaceAnswer RunCommandStore::AskReplace() {
    return [this](const CStringW& question) { return m_prompts.ConfirmReplace(question); };
}

RunListing RunCommandStore::List() const {
    RunListing listing;
    for (const RunScope scope : {RunScope::kLocalMachine, RunScope::kCurrentUser}) {
        listing.unreadable +=
            ListRunEntries(m_registry, m_place.RootOf(scope), m_place.appPathsKey, scope, listing.entries);
    }
    MarkRunEntries(listing.entries, m_exists);
    return listing;
}

CStringW RunCommandStore::TargetOf(const CStringW& name) const {
    return RegReadString(m_registry, m_place.RootOf(m_writeScope), CommandKeyPath(m_place, name), CStringW());
}

RegistrationResult RunCommandStore::Register(const CStringW& name, const CStringW& target) {
    return RegisterRunCommand(m_registry, m_place, m_writeScope, name, target, AskReplace());
}

EditResult RunCommandStore::Rename(const RunEntry& entry, const CStringW& newName) {
    return RenameRunCommand(m_registry, m_place, entry, newName, AskReplace());
}

EditResult RunCommandStore::ChangeTarget(const RunEntry& entry, const CStringW& newTarget) {
    return ChangeRunCommandTarget(m_registry, m_place, entry, newTarget, AskReplace());
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
        const EditResult result = CopyRunCommandToScope(m_registry, m_place, entry, to, AskReplace());
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
        const long status = DeleteKeyTree(m_registry, root, m_place.KeyPathOf(entry.keyPath));
        if (status != kRegistrySuccess) {
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
    return ApplyRunCommandImport(m_registry, m_place, plan, replace);
}
