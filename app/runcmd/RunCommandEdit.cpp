#include "app/runcmd/RunCommandEdit.h"

#include "app/registry/KeyPath.h"
#include "app/registry/RegistryTree.h"
#include "app/registry/RegistryValues.h"
#include "app/runcmd/CommandText.h"
#include "app/runcmd/PathList.h"
#include "app/runcmd/ReplaceCheck.h"

namespace {

constexpr const char16_t* kPathValue = u"Path";
// Appended to an entry's key name while a rename that changes only letter
// case passes through it; no entry name ends so, so it is never listed.
constexpr const char16_t* kRenameSuffix = u".renaming";

ChangeResult ReadFailure(long status) {
    return status == kRegistryFileNotFound ? ChangeResult::kNotFound : ChangeResult::kRegistryFailed;
}

bool StartsWithKey(const CStringW& path, const CStringW& prefix) {
    return path.size() > prefix.size() && path[prefix.size()] == u'\\' &&
           velmora::CompareNoCase(path.Left(prefix.GetLength()), prefix) == 0;
}

// The key path below App Paths that `name` is registered under, as
// registration writes it; empty when the name makes no entry the manager
// would list (no name, or a part before the last that is an entry itself).
CStringW EntryKeyPathOf(const CStringW& name) {
    if (TrimCommandName(name).IsEmpty()) return CStringW();
    const CStringW keyPath = KeyPathOfCommand(name);
    const std::vector<CStringW> names = SplitKeyPath(keyPath);
    if (names.empty() || !IsRunEntryKeyName(names.back())) return CStringW();
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        if (IsRunEntryKeyName(names[i])) return CStringW();
    }
    return keyPath;
}

// Moves the key tree `fromPath` (holding `contents`) to `toPath`, both below
// App Paths of `root`: copy, then delete. The caller has noted both keys.
bool MoveKeyTree(IRegistry& registry, RegKey root, const RunCommandPlace& place, const CStringW& fromPath,
                 const CStringW& toPath, const RegKeyContents& contents) {
    return ReplaceKeyContents(registry, root, place.KeyPathOf(toPath), contents) == kRegistrySuccess &&
           DeleteKeyTree(registry, root, place.KeyPathOf(fromPath)) == kRegistrySuccess;
}

// The program a key read whole starts: its program value when it has
// options, else its default value.
CStringW TargetOfContents(const RegKeyContents& contents) {
    const RegValue* target = FindValue(contents, kOptionProgramValue);
    if (target == nullptr) target = FindValue(contents, CStringW());
    return target != nullptr ? TextOfValue(*target) : CStringW();
}

// What a step returns when the registry refused it: the change goes back.
ChangeResult Refused(ChangeJournal& journal) {
    journal.Restore();
    return ChangeResult::kRegistryFailed;
}

// Notes the entry's key of `scope` (below App Paths) in the journal.
bool Note(ChangeJournal& journal, const RunCommandPlace& place, RunScope scope, const CStringW& keyPath) {
    return journal.NoteKey(place.RootOf(scope), place.appPathsKey, keyPath);
}

// Asked before a key of `scope` is replaced: the existing target, and for
// the user's scope the machine's when the user has no entry of that name.
bool MayReplace(IRegistry& registry, const RunCommandPlace& place, RunScope scope, const CStringW& keyPath,
                const CStringW& shownName, const CStringW& newTarget, bool keyExists,
                const ReplaceAnswer& ask) {
    const bool forUser = scope == RunScope::kCurrentUser;
    const CStringW full = place.KeyPathOf(keyPath);
    const CStringW userValue = forUser ? ReadCommandTarget(registry, place.roots.user, full) : CStringW();
    const CStringW machineValue = ReadCommandTarget(registry, place.roots.machine, full);
    const CStringW existing = keyExists ? (forUser ? userValue : machineValue)
                                        : ExistingTargetForWrite(forUser, userValue, machineValue);
    // A key of the name in the same scope is replaced whole: always asked,
    // even when it starts the same program, because its other values go.
    if (!keyExists && !NeedsReplaceQuestion(existing, newTarget)) return true;
    return ask({shownName, existing, newTarget});
}

// The value `name` of an open key: its type and bytes, or type kRegNone and
// no bytes when there is none. False on any other failure.
bool ReadOptionalValue(IRegistry& registry, RegKey key, const char16_t* name, RegValue* pValue) {
    pValue->name = name;
    const long status = registry.ReadValue(key, name, &pValue->type, &pValue->data);
    if (status == kRegistryFileNotFound) {
        pValue->type = kRegNone;
        pValue->data.clear();
        return true;
    }
    return status == kRegistrySuccess;
}

// The type a text value is written with: REG_EXPAND_SZ stays, and text
// holding %variables% needs it; everything else is REG_SZ.
std::uint32_t TextTypeFor(std::uint32_t oldType, const CStringW& text) {
    return oldType == kRegExpandSz || HoldsEnvironmentVariable(text) ? kRegExpandSz : kRegSz;
}

// Stores `text` as value `name` of the entry's key (open for writing), with
// TextTypeFor of the value it replaces. kUnchanged when it holds that already.
ChangeResult WriteTextValue(IRegistry& registry, RegKey key, const char16_t* name, const CStringW& text) {
    RegValue old;
    if (!ReadOptionalValue(registry, key, name, &old)) return ChangeResult::kRegistryFailed;
    const std::uint32_t type = TextTypeFor(old.type, text);
    const std::vector<unsigned char> data = StringValueBytes(text);
    if (data.size() > kMaxRegistryValueBytes) return ChangeResult::kRegistryFailed;
    if (old.type == type && old.data == data) return ChangeResult::kUnchanged;
    return registry.SetValue(key, name, type, data.data(), static_cast<std::uint32_t>(data.size())) ==
                   kRegistrySuccess
               ? ChangeResult::kDone
               : ChangeResult::kRegistryFailed;
}

// Opens the entry's key for writing; kDone when it is open.
ChangeResult OpenEntryForWrite(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                               ScopedRegKey& key) {
    RegKey opened = 0;
    const long status = registry.OpenKeyForWrite(place.RootOf(entry.scope),
                                                 place.KeyPathOf(entry.keyPath).GetString(), &opened);
    if (status != kRegistrySuccess) return ReadFailure(status);
    key.Replace(opened);
    return ChangeResult::kDone;
}

}  // namespace

ChangeResult RenameRunCommand(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                              const CStringW& newName, const ReplaceAnswer& ask, ChangeJournal& journal) {
    const CStringW newPath = EntryKeyPathOf(newName);
    if (newPath.IsEmpty() || entry.keyPath.IsEmpty()) return ChangeResult::kInvalidName;
    if (newPath == entry.keyPath) return ChangeResult::kUnchanged;
    // Into itself or around itself: the copy would be deleted with the old.
    if (StartsWithKey(newPath, entry.keyPath) || StartsWithKey(entry.keyPath, newPath))
        return ChangeResult::kInvalidName;

    const RegKey root = place.RootOf(entry.scope);
    RegKeyContents contents;
    const long readStatus = ReadKeyContents(registry, root, place.KeyPathOf(entry.keyPath), &contents);
    if (readStatus != kRegistrySuccess) {
        journal.Restore();
        return ReadFailure(readStatus);
    }
    const CStringW targetText = TargetOfContents(contents);

    if (velmora::CompareNoCase(newPath, entry.keyPath) == 0) {
        // The same key to the registry: through a temporary name, so the
        // key is made again with the new spelling.
        const CStringW temporary = entry.keyPath + kRenameSuffix;
        RegKeyContents probe;
        if (ReadKeyContents(registry, root, place.KeyPathOf(temporary), &probe) != kRegistryFileNotFound ||
            !Note(journal, place, entry.scope, entry.keyPath) ||
            !Note(journal, place, entry.scope, temporary) ||
            !MoveKeyTree(registry, root, place, entry.keyPath, temporary, contents) ||
            !MoveKeyTree(registry, root, place, temporary, newPath, contents))
            return Refused(journal);
        return ChangeResult::kDone;
    }

    RegKeyContents existing;
    const long existingStatus = ReadKeyContents(registry, root, place.KeyPathOf(newPath), &existing);
    if (existingStatus != kRegistrySuccess && existingStatus != kRegistryFileNotFound)
        return Refused(journal);
    const bool exists = existingStatus == kRegistrySuccess;
    if (!MayReplace(registry, place, entry.scope, newPath, TrimCommandName(newName), targetText, exists, ask))
        return ChangeResult::kDeclined;

    if (!Note(journal, place, entry.scope, entry.keyPath) || !Note(journal, place, entry.scope, newPath) ||
        !MoveKeyTree(registry, root, place, entry.keyPath, newPath, contents))
        return Refused(journal);
    RemoveEmptyParentKeys(registry, root, place.appPathsKey, entry.keyPath);
    return ChangeResult::kDone;
}

ChangeResult ChangeRunCommandTarget(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                                    const CStringW& newTarget, const ReplaceAnswer& ask,
                                    ChangeJournal& journal) {
    CStringW trimmed(newTarget);
    if (trimmed.Trim().IsEmpty()) return ChangeResult::kInvalidName;
    ScopedRegKey key(registry, place.RootOf(entry.scope));
    const ChangeResult opened = OpenEntryForWrite(registry, place, entry, key);
    if (opened != ChangeResult::kDone) {
        journal.Restore();
        return opened;
    }
    // A command with options keeps its program in a value of its own.
    RegValue old;
    if (!ReadOptionalValue(registry, key.Get(), kOptionProgramValue, &old)) return Refused(journal);
    const char16_t* const valueName = old.type != kRegNone ? kOptionProgramValue : u"";
    if (old.type == kRegNone && !ReadOptionalValue(registry, key.Get(), u"", &old)) return Refused(journal);
    const CStringW existing = TextOfValue(old);
    if (NeedsReplaceQuestion(existing, newTarget) && !ask({entry.command, existing, newTarget}))
        return ChangeResult::kDeclined;
    if (!Note(journal, place, entry.scope, entry.keyPath)) return Refused(journal);
    const ChangeResult result = WriteTextValue(registry, key.Get(), valueName, newTarget);
    return result == ChangeResult::kRegistryFailed ? Refused(journal) : result;
}

std::vector<CStringW> ReadRunCommandPath(IRegistry& registry, const RunCommandPlace& place,
                                         const RunEntry& entry) {
    RegKey opened = 0;
    if (registry.OpenKeyForRead(place.RootOf(entry.scope), place.KeyPathOf(entry.keyPath).GetString(),
                                &opened) != kRegistrySuccess)
        return {};
    ScopedRegKey key(registry, place.RootOf(entry.scope));
    key.Replace(opened);
    RegValue value;
    if (!ReadOptionalValue(registry, key.Get(), kPathValue, &value)) return {};
    return SplitPathList(TextOfValue(value));
}

ChangeResult SetRunCommandPath(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                               const std::vector<CStringW>& folders, ChangeJournal& journal) {
    ScopedRegKey key(registry, place.RootOf(entry.scope));
    const ChangeResult opened = OpenEntryForWrite(registry, place, entry, key);
    if (opened != ChangeResult::kDone) {
        journal.Restore();
        return opened;
    }
    // The list the user left as it was is not written again: the stored
    // text may say it in its own way (a trailing ';', blanks, quotes), and a
    // value of another type is not a list to replace.
    RegValue old;
    if (!ReadOptionalValue(registry, key.Get(), kPathValue, &old)) return Refused(journal);
    if (SamePathList(TextOfValue(old), folders)) return ChangeResult::kUnchanged;
    if (!Note(journal, place, entry.scope, entry.keyPath)) return Refused(journal);
    const CStringW text = JoinPathList(folders);
    if (!text.IsEmpty()) {
        const ChangeResult result = WriteTextValue(registry, key.Get(), kPathValue, text);
        return result == ChangeResult::kRegistryFailed ? Refused(journal) : result;
    }
    const long status = registry.DeleteValue(key.Get(), kPathValue);
    if (status == kRegistryFileNotFound) return ChangeResult::kUnchanged;
    return status == kRegistrySuccess ? ChangeResult::kDone : Refused(journal);
}

ChangeResult CopyRunCommandToScope(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                                   RunScope to, const ReplaceAnswer& ask, ChangeJournal& journal) {
    if (to == entry.scope) return ChangeResult::kUnchanged;
    const CStringW full = place.KeyPathOf(entry.keyPath);
    RegKeyContents contents;
    const long readStatus = ReadKeyContents(registry, place.RootOf(entry.scope), full, &contents);
    if (readStatus != kRegistrySuccess) {
        journal.Restore();
        return ReadFailure(readStatus);
    }
    const CStringW targetText = TargetOfContents(contents);

    const RegKey toRoot = place.RootOf(to);
    RegKeyContents existing;
    const long existingStatus = ReadKeyContents(registry, toRoot, full, &existing);
    if (existingStatus != kRegistrySuccess && existingStatus != kRegistryFileNotFound)
        return Refused(journal);
    if (existingStatus == kRegistrySuccess) {
        if (!ask({entry.command, TargetOfContents(existing), targetText})) return ChangeResult::kDeclined;
    }
    return WriteRunCommandKey(registry, place, to, entry.keyPath, contents, journal);
}

ChangeResult SetRunCommandTerminalMark(IRegistry& registry, const RunCommandPlace& place,
                                       const RunEntry& entry, bool marked, ChangeJournal& journal) {
    return SetRunCommandMark(registry, place, entry, kTerminalMarkValue, marked, journal);
}

ChangeResult SetRunCommandMark(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                               const char16_t* name, bool marked, ChangeJournal& journal) {
    ScopedRegKey key(registry, place.RootOf(entry.scope));
    const ChangeResult opened = OpenEntryForWrite(registry, place, entry, key);
    if (opened != ChangeResult::kDone) {
        journal.Restore();
        return opened;
    }
    if (ReadDwordMark(registry, key.Get(), name) == marked) return ChangeResult::kUnchanged;
    if (!Note(journal, place, entry.scope, entry.keyPath)) return Refused(journal);
    long status = kRegistrySuccess;
    if (marked) {
        const unsigned char one[4] = {1, 0, 0, 0};
        status = registry.SetValue(key.Get(), name, kRegDword, one, sizeof one);
    } else {
        status = registry.DeleteValue(key.Get(), name);
        if (status == kRegistryFileNotFound) status = kRegistrySuccess;
    }
    return status == kRegistrySuccess ? ChangeResult::kDone : Refused(journal);
}

ChangeResult SetRunCommandOptions(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                                  const RunCommandOptionsChange& change, ChangeJournal& journal) {
    ScopedRegKey key(registry, place.RootOf(entry.scope));
    const ChangeResult opened = OpenEntryForWrite(registry, place, entry, key);
    if (opened != ChangeResult::kDone) {
        journal.Restore();
        return opened;
    }
    const RunCommandOptions old = ReadRunCommandOptions(registry, key.Get());
    RunCommandOptions changed;
    if (!ApplyOptionsChange(old, change, &changed)) {
        journal.Restore();
        return ChangeResult::kInvalidName;
    }
    if (changed == old) return ChangeResult::kUnchanged;
    if (!Note(journal, place, entry.scope, entry.keyPath)) return Refused(journal);
    // Each option that changed: written, or its value deleted when cleared.
    const auto put = [&](const char16_t* name, bool present, std::uint32_t type,
                         const std::vector<unsigned char>& data) {
        if (present)
            return registry.SetValue(key.Get(), name, type, data.data(),
                                     static_cast<std::uint32_t>(data.size())) == kRegistrySuccess;
        const long status = registry.DeleteValue(key.Get(), name);
        return status == kRegistrySuccess || status == kRegistryFileNotFound;
    };
    const std::vector<unsigned char> one = {1, 0, 0, 0};
    bool written = true;
    if (changed.arguments != old.arguments)
        written = put(kOptionArgumentsValue, !changed.arguments.IsEmpty(), kRegSz,
                      StringValueBytes(changed.arguments));
    if (written && changed.folder != old.folder)
        written = changed.folder.IsEmpty() ? put(kOptionFolderValue, false, kRegSz, {})
                                           : WriteTextValue(registry, key.Get(), kOptionFolderValue,
                                                            changed.folder) != ChangeResult::kRegistryFailed;
    if (written && changed.environment != old.environment)
        written = put(kOptionEnvironmentValue, !changed.environment.empty(), kRegMultiSz,
                      MultiStringBytes(changed.environment));
    if (written && changed.administrator != old.administrator)
        written = put(kOptionAdministratorValue, changed.administrator, kRegDword, one);
    return written ? ChangeResult::kDone : Refused(journal);
}

ChangeResult DeleteRunCommand(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                              ChangeJournal& journal, long* pStatus) {
    const RegKey root = place.RootOf(entry.scope);
    if (entry.keyPath.IsEmpty() || !Note(journal, place, entry.scope, entry.keyPath)) return Refused(journal);
    const long status = DeleteKeyTree(registry, root, place.KeyPathOf(entry.keyPath));
    if (status != kRegistrySuccess) {
        if (pStatus != nullptr) *pStatus = status;
        return Refused(journal);
    }
    // A nested name's groups go with their last entry.
    RemoveEmptyParentKeys(registry, root, place.appPathsKey, entry.keyPath);
    return ChangeResult::kDone;
}

ChangeResult WriteRunCommandKey(IRegistry& registry, const RunCommandPlace& place, RunScope scope,
                                const CStringW& keyPath, const RegKeyContents& contents,
                                ChangeJournal& journal) {
    if (keyPath.IsEmpty() || !Note(journal, place, scope, keyPath) ||
        ReplaceKeyContents(registry, place.RootOf(scope), place.KeyPathOf(keyPath), contents) !=
            kRegistrySuccess)
        return Refused(journal);
    return ChangeResult::kDone;
}
