#include "app/runcmd/RunCommandBackup.h"

#include <utility>

#include "app/registry/KeyPath.h"
#include "app/registry/RegistryTree.h"
#include "app/runcmd/CommandText.h"

namespace {

RunScope ScopeOfRoot(RegFileRoot root) {
    return root == RegFileRoot::kLocalMachine ? RunScope::kLocalMachine : RunScope::kCurrentUser;
}

RegFileRoot RootOfScope(RunScope scope) {
    return scope == RunScope::kLocalMachine ? RegFileRoot::kLocalMachine : RegFileRoot::kCurrentUser;
}

void AppendKeys(const CStringW& path, const RegKeyContents& contents, std::vector<RegFileKey>& keys) {
    RegFileKey key;
    key.path = path;
    for (const RegValue& value : contents.values) {
        RegFileValue written;
        written.name = value.name;
        written.type = value.type;
        written.data = value.data;
        key.values.push_back(std::move(written));
    }
    keys.push_back(std::move(key));
    for (const RegKeyContents::SubKey& sub : contents.subKeys)
        AppendKeys(path + u"\\" + sub.name, sub.contents, keys);
}

// The subkey of `contents` along `names` (ASCII letter case ignored, as the
// registry finds keys), made when it is not there yet.
RegKeyContents& SubKeyAlong(RegKeyContents& contents, const std::vector<CStringW>& names, std::size_t first) {
    RegKeyContents* current = &contents;
    for (std::size_t i = first; i < names.size(); ++i) {
        RegKeyContents::SubKey* found = nullptr;
        for (RegKeyContents::SubKey& sub : current->subKeys) {
            if (velmora::CompareNoCase(sub.name, names[i]) == 0) found = &sub;
        }
        if (found == nullptr) {
            current->subKeys.push_back({names[i], {}});
            found = &current->subKeys.back();
        }
        current = &found->contents;
    }
    return *current;
}

void SetValue(RegKeyContents& contents, const RegFileValue& value) {
    for (RegValue& existing : contents.values) {
        if (velmora::CompareNoCase(existing.name, value.name) == 0) {
            existing.type = value.type;
            existing.data = value.data;
            return;
        }
    }
    contents.values.push_back({value.name, value.type, value.data});
}

ImportItem Refused(const RegFileKey& key, ImportRefusal refusal, int line) {
    ImportItem item;
    item.refusal = refusal;
    item.line = line;
    item.fileKey = key.path;
    return item;
}

void Refuse(ImportItem& item, ImportRefusal refusal, int line) {
    if (item.action == ImportAction::kRefused) return;  // the first reason stays
    item.action = ImportAction::kRefused;
    item.refusal = refusal;
    item.line = line;
}

// Sorts the file's keys into entries of either App Paths (merging the
// sections of one entry) and refused keys, in the order of the file.
class PlanBuilder {
public:
    PlanBuilder(const RunCommandPlace& place, bool elevated)
        : m_appPaths(SplitKeyNames(place.appPathsKey)), m_elevated(elevated) {}

    void Add(const RegFileKey& key) {
        const std::vector<CStringW> names = SplitKeyNames(key.path);
        RegFileRoot root{};
        if (names.empty() || !ParseRegFileRoot(names[0], &root) || !BelowAppPaths(names)) {
            // The keys above App Paths, as an export of a wider tree names
            // them, hold nothing of an entry: only their values or their
            // deletion would be outside.
            if (!key.deletion && key.values.empty() && !names.empty() && ParseRegFileRoot(names[0], &root) &&
                AboveAppPaths(names))
                return;
            items.push_back(Refused(key, ImportRefusal::kOutsideAppPaths, key.line));
            return;
        }
        const std::size_t first = 1 + m_appPaths.size();
        std::size_t entryAt = first;
        while (entryAt < names.size() && !IsRunEntryKeyName(names[entryAt])) ++entryAt;
        if (entryAt == names.size()) {
            // App Paths itself or a group: nothing of an entry. Deleting it
            // or giving it values is refused; naming it alone is harmless.
            if (key.deletion)
                items.push_back(Refused(key, ImportRefusal::kDeletion, key.line));
            else if (!key.values.empty())
                items.push_back(Refused(key, ImportRefusal::kNotAnEntry, key.line));
            return;
        }
        CStringW keyPath;
        for (std::size_t i = first; i <= entryAt; ++i) keyPath += (i > first ? u"\\" : u"") + names[i];
        ImportItem& item = ItemFor(key, ScopeOfRoot(root), keyPath);
        if (root == RegFileRoot::kLocalMachine && !m_elevated)
            Refuse(item, ImportRefusal::kScopeNotWritable, key.line);
        if (key.deletion) Refuse(item, ImportRefusal::kDeletion, key.line);
        RegKeyContents& contents = SubKeyAlong(item.contents, names, entryAt + 1);
        for (const RegFileValue& value : key.values) {
            if (value.deletion)
                Refuse(item, ImportRefusal::kDeletion, value.line);
            else
                SetValue(contents, value);
        }
    }

    std::vector<ImportItem> items;

private:
    // Key names between backslashes, taken as they are.
    static std::vector<CStringW> SplitKeyNames(const CStringW& path) {
        std::vector<CStringW> names;
        SplitString(path, u"\\", names, false);
        return names;
    }

    bool BelowAppPaths(const std::vector<CStringW>& names) const {
        if (names.size() < 1 + m_appPaths.size()) return false;
        for (std::size_t i = 0; i < m_appPaths.size(); ++i) {
            if (velmora::CompareNoCase(names[1 + i], m_appPaths[i]) != 0) return false;
        }
        return true;
    }

    // The root and a start of the App Paths key path (the root alone too).
    bool AboveAppPaths(const std::vector<CStringW>& names) const {
        if (names.size() > m_appPaths.size()) return false;
        for (std::size_t i = 1; i < names.size(); ++i) {
            if (velmora::CompareNoCase(names[i], m_appPaths[i - 1]) != 0) return false;
        }
        return true;
    }

    ImportItem& ItemFor(const RegFileKey& key, RunScope scope, const CStringW& keyPath) {
        for (ImportItem& item : items) {
            if (!item.keyPath.IsEmpty() && item.scope == scope &&
                velmora::CompareNoCase(item.keyPath, keyPath) == 0)
                return item;
        }
        ImportItem item;
        item.action = ImportAction::kAdd;
        item.line = key.line;
        item.fileKey = key.path;
        item.scope = scope;
        item.keyPath = keyPath;
        item.command = CommandOfKeyPath(keyPath);
        items.push_back(std::move(item));
        return items.back();
    }

    std::vector<CStringW> m_appPaths;
    bool m_elevated;
};

}  // namespace

RunCommandExport ExportRunCommands(IRegistry& registry, const RunCommandPlace& place,
                                   const std::vector<RunEntry>& entries) {
    RunCommandExport result;
    std::vector<RegFileKey> keys;
    for (const RunEntry& entry : entries) {
        RegKeyContents contents;
        const CStringW path = place.KeyPathOf(entry.keyPath);
        if (entry.keyPath.IsEmpty() ||
            ReadKeyContents(registry, place.RootOf(entry.scope), path, &contents) != kRegistrySuccess) {
            result.unreadable.push_back(entry);
            continue;
        }
        AppendKeys(CStringW(RegFileRootName(RootOfScope(entry.scope))) + u"\\" + path, contents, keys);
        ++result.exported;
    }
    result.file = WriteRegFile(keys);
    return result;
}

ImportPlan PlanRunCommandImport(IRegistry& registry, const RunCommandPlace& place, const unsigned char* data,
                                std::size_t size, bool elevated) {
    ImportPlan plan;
    const RegFileParse file = ParseRegFile(data, size);
    if (!file.ok()) {
        plan.error = file.error;
        plan.errorLine = file.errorLine;
        return plan;
    }
    PlanBuilder builder(place, elevated);
    for (const RegFileKey& key : file.keys) builder.Add(key);
    plan.items = std::move(builder.items);
    for (ImportItem& item : plan.items) {
        const RegValue* target = FindValue(item.contents, CStringW());
        item.newTarget = target != nullptr ? TextOfValue(*target) : CStringW();
        if (item.action == ImportAction::kRefused) continue;
        RegKeyContents existing;
        const long status =
            ReadKeyContents(registry, place.RootOf(item.scope), place.KeyPathOf(item.keyPath), &existing);
        if (status == kRegistryFileNotFound) continue;
        // An entry that is there, or one that cannot be read: only replaced
        // when the user says so.
        item.action = ImportAction::kReplace;
        const RegValue* old = FindValue(existing, CStringW());
        item.oldTarget = old != nullptr ? TextOfValue(*old) : CStringW();
    }
    return plan;
}

bool ImportWrites(const ImportPlan& plan, const std::vector<bool>& replace, std::size_t index) {
    if (plan.error != RegFileError::kNone || index >= plan.items.size()) return false;
    const ImportAction action = plan.items[index].action;
    return action == ImportAction::kAdd ||
           (action == ImportAction::kReplace && index < replace.size() && replace[index]);
}
