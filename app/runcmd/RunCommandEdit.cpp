#include "app/runcmd/RunCommandEdit.h"

#include "app/runcmd/CommandText.h"
#include "app/runcmd/PathList.h"
#include "app/registry/RegistryTree.h"
#include "app/registry/RegistryValues.h"
#include "app/runcmd/ReplaceCheck.h"
#include "app/runcmd/RunCommandQuestions.h"

namespace {

constexpr const char16_t* kPathValue = u"Path";
// Appended to an entry's key name while a rename that changes only letter
// case passes through it; no entry name ends so, so it is never listed.
constexpr const char16_t* kRenameSuffix = u".renaming";

EditResult ReadFailure(long status) {
    return status == kRegistryFileNotFound ? EditResult::kNotFound : EditResult::kFailed;
}

bool StartsWithKey(const CStringW& path, const CStringW& prefix) {
    return path.size() > prefix.size() && path[prefix.size()] == u'\\' &&
           velmora::CompareNoCase(path.Left(prefix.GetLength()), prefix) == 0;
}

// The key path below App Paths that `name` is registered under, as
// registration writes it; empty when the name makes no entry the manager
// would list (no name, or a part before the last that is an entry itself).
CStringW EntryKeyPathOf(const CStringW& name) {
    const CStringW trimmed = TrimCommandName(name);
    if (trimmed.IsEmpty()) return CStringW();
    const std::vector<CStringW> names = SplitKeyPath(trimmed + u".exe");
    if (names.empty() || !IsRunEntryKeyName(names.back())) return CStringW();
    for (std::size_t i = 0; i + 1 < names.size(); ++i) {
        if (IsRunEntryKeyName(names[i])) return CStringW();
    }
    return NormalizeKeyPath(trimmed + u".exe");
}

// Moves the key tree `fromPath` (holding `contents`) to `toPath`, both below
// App Paths of `root`. `toOld` is what `toPath` held before, or null when
// there was no such key. Copy, then delete; a failure at either step puts
// both keys back as they were.
bool MoveKeyTree(IRegistry& registry, RegKey root, const RunCommandPlace& place, const CStringW& fromPath,
                 const CStringW& toPath, const RegKeyContents& contents, const RegKeyContents* toOld) {
    const CStringW from = place.KeyPathOf(fromPath);
    const CStringW to = place.KeyPathOf(toPath);
    const auto undoCopy = [&] {
        if (toOld != nullptr) {
            ReplaceKeyContents(registry, root, to, *toOld);
        } else {
            DeleteKeyTree(registry, root, to);
            RemoveEmptyParentKeys(registry, root, place.appPathsKey, toPath);
        }
    };
    if (ReplaceKeyContents(registry, root, to, contents) != kRegistrySuccess) {
        // The key itself is as it was; groups made for it go again.
        if (toOld == nullptr) RemoveEmptyParentKeys(registry, root, place.appPathsKey, toPath);
        return false;
    }
    if (DeleteKeyTree(registry, root, from) != kRegistrySuccess) {
        // Part of the old tree may be gone: written back whole.
        WriteKeyContents(registry, root, from, contents);
        undoCopy();
        return false;
    }
    return true;
}

// Asked before a key of `scope` is replaced: the existing target, and for
// the user's scope the machine's when the user has no entry of that name.
bool MayReplace(IRegistry& registry, const RunCommandPlace& place, RunScope scope, const CStringW& keyPath,
                const CStringW& shownName, const CStringW& newTarget, bool keyExists, const ReplaceAnswer& ask) {
    const bool forUser = scope == RunScope::kCurrentUser;
    const CStringW full = place.KeyPathOf(keyPath);
    const CStringW userValue = forUser ? RegReadString(registry, place.roots.user, full, CStringW()) : CStringW();
    const CStringW machineValue = RegReadString(registry, place.roots.machine, full, CStringW());
    const CStringW existing = keyExists ? (forUser ? userValue : machineValue)
                                        : ExistingTargetForWrite(forUser, userValue, machineValue);
    // A key of the name in the same scope is replaced whole: always asked,
    // even when it starts the same program, because its other values go.
    if (!keyExists && !NeedsReplaceQuestion(existing, newTarget)) return true;
    return ask(ReplaceQuestionText(shownName, existing, newTarget));
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
EditResult WriteTextValue(IRegistry& registry, RegKey key, const char16_t* name, const CStringW& text) {
    RegValue old;
    if (!ReadOptionalValue(registry, key, name, &old)) return EditResult::kFailed;
    const std::uint32_t type = TextTypeFor(old.type, text);
    const std::vector<unsigned char> data = StringValueBytes(text);
    if (data.size() > kMaxRegistryValueBytes) return EditResult::kFailed;
    if (old.type == type && old.data == data) return EditResult::kUnchanged;
    return registry.SetValue(key, name, type, data.data(), static_cast<std::uint32_t>(data.size())) ==
                   kRegistrySuccess
               ? EditResult::kDone
               : EditResult::kFailed;
}

// Opens the entry's key for writing; kDone when it is open.
EditResult OpenEntryForWrite(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                             ScopedRegKey& key) {
    RegKey opened = 0;
    const long status = registry.OpenKeyForWrite(place.RootOf(entry.scope),
                                                 place.KeyPathOf(entry.keyPath).GetString(), &opened);
    if (status != kRegistrySuccess) return ReadFailure(status);
    key.Replace(opened);
    return EditResult::kDone;
}

}  // namespace

EditResult RenameRunCommand(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                            const CStringW& newName, const ReplaceAnswer& ask) {
    const CStringW newPath = EntryKeyPathOf(newName);
    if (newPath.IsEmpty() || entry.keyPath.IsEmpty()) return EditResult::kInvalidName;
    if (newPath == entry.keyPath) return EditResult::kUnchanged;
    // Into itself or around itself: the copy would be deleted with the old.
    if (StartsWithKey(newPath, entry.keyPath) || StartsWithKey(entry.keyPath, newPath))
        return EditResult::kInvalidName;

    const RegKey root = place.RootOf(entry.scope);
    RegKeyContents contents;
    const long readStatus = ReadKeyContents(registry, root, place.KeyPathOf(entry.keyPath), &contents);
    if (readStatus != kRegistrySuccess) return ReadFailure(readStatus);
    const RegValue* target = FindValue(contents, CStringW());
    const CStringW targetText = target != nullptr ? TextOfValue(*target) : CStringW();

    if (velmora::CompareNoCase(newPath, entry.keyPath) == 0) {
        // The same key to the registry: through a temporary name, so the
        // key is made again with the new spelling.
        const CStringW temporary = entry.keyPath + kRenameSuffix;
        RegKeyContents probe;
        if (ReadKeyContents(registry, root, place.KeyPathOf(temporary), &probe) != kRegistryFileNotFound)
            return EditResult::kFailed;
        if (!MoveKeyTree(registry, root, place, entry.keyPath, temporary, contents, nullptr))
            return EditResult::kFailed;
        if (!MoveKeyTree(registry, root, place, temporary, newPath, contents, nullptr)) {
            MoveKeyTree(registry, root, place, temporary, entry.keyPath, contents, nullptr);
            return EditResult::kFailed;
        }
        return EditResult::kDone;
    }

    RegKeyContents existing;
    const long existingStatus = ReadKeyContents(registry, root, place.KeyPathOf(newPath), &existing);
    if (existingStatus != kRegistrySuccess && existingStatus != kRegistryFileNotFound) return EditResult::kFailed;
    const bool exists = existingStatus == kRegistrySuccess;
    if (!MayReplace(registry, place, entry.scope, newPath, TrimCommandName(newName), targetText, exists, ask))
        return EditResult::kDeclined;

    if (!MoveKeyTree(registry, root, place, entry.keyPath, newPath, contents, exists ? &existing : nullptr))
        return EditResult::kFailed;
    RemoveEmptyParentKeys(registry, root, place.appPathsKey, entry.keyPath);
    return EditResult::kDone;
}

EditResult ChangeRunCommandTarget(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                                  const CStringW& newTarget, const ReplaceAnswer& ask) {
    CStringW trimmed(newTarget);
    if (trimmed.Trim().IsEmpty()) return EditResult::kInvalidName;
    ScopedRegKey key(registry, place.RootOf(entry.scope));
    const EditResult opened = OpenEntryForWrite(registry, place, entry, key);
    if (opened != EditResult::kDone) return opened;
    RegValue old;
    if (!ReadOptionalValue(registry, key.Get(), u"", &old)) return EditResult::kFailed;
    const CStringW existing = TextOfValue(old);
    if (NeedsReplaceQuestion(existing, newTarget) && !ask(ReplaceQuestionText(entry.command, existing, newTarget)))
        return EditResult::kDeclined;
    return WriteTextValue(registry, key.Get(), u"", newTarget);
}

std::vector<CStringW> ReadRunCommandPath(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry) {
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

EditResult SetRunCommandPath(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                             const std::vector<CStringW>& folders) {
    ScopedRegKey key(registry, place.RootOf(entry.scope));
    const EditResult opened = OpenEntryForWrite(registry, place, entry, key);
    if (opened != EditResult::kDone) return opened;
    // The list the user left as it was is not written again: the stored
    // text may say it in its own way (a trailing ';', blanks, quotes), and a
    // value of another type is not a list to replace.
    RegValue old;
    if (!ReadOptionalValue(registry, key.Get(), kPathValue, &old)) return EditResult::kFailed;
    if (SamePathList(TextOfValue(old), folders)) return EditResult::kUnchanged;
    const CStringW text = JoinPathList(folders);
    if (!text.IsEmpty()) return WriteTextValue(registry, key.Get(), kPathValue, text);
    const long status = registry.DeleteValue(key.Get(), kPathValue);
    if (status == kRegistryFileNotFound) return EditResult::kUnchanged;
    return status == kRegistrySuccess ? EditResult::kDone : EditResult::kFailed;
}

EditResult CopyRunCommandToScope(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry, RunScope to,
                                 const ReplaceAnswer& ask) {
    if (to == entry.scope) return EditResult::kUnchanged;
    const CStringW full = place.KeyPathOf(entry.keyPath);
    RegKeyContents contents;
    const long readStatus = ReadKeyContents(registry, place.RootOf(entry.scope), full, &contents);
    if (readStatus != kRegistrySuccess) return ReadFailure(readStatus);
    const RegValue* target = FindValue(contents, CStringW());
    const CStringW targetText = target != nullptr ? TextOfValue(*target) : CStringW();

    const RegKey toRoot = place.RootOf(to);
    RegKeyContents existing;
    const long existingStatus = ReadKeyContents(registry, toRoot, full, &existing);
    if (existingStatus != kRegistrySuccess && existingStatus != kRegistryFileNotFound) return EditResult::kFailed;
    const bool exists = existingStatus == kRegistrySuccess;
    if (exists) {
        const RegValue* old = FindValue(existing, CStringW());
        if (!ask(ReplaceQuestionText(entry.command, old != nullptr ? TextOfValue(*old) : CStringW(), targetText)))
            return EditResult::kDeclined;
    }
    if (ReplaceKeyContents(registry, toRoot, full, contents) != kRegistrySuccess) {
        if (!exists) RemoveEmptyParentKeys(registry, toRoot, place.appPathsKey, entry.keyPath);
        return EditResult::kFailed;
    }
    return EditResult::kDone;
}
