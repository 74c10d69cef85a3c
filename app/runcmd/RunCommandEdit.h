// Changing a registered run command without losing anything it holds:
// renaming it, pointing it at another program, setting its own PATH and
// copying it to the other scope. Plain logic over the registry interface:
// every value of the entry's key (and of its subkeys) keeps its bytes and
// its type through every action. The dialog answers the questions it is
// given and shows the outcome.
#pragma once

#include <vector>

#include "app/registry/RegistryAccess.h"
#include "app/runcmd/RunCommandRegistration.h"
#include "app/runcmd/RunEntries.h"

enum class EditResult {
    kDone,         // the change is stored
    kUnchanged,    // nothing to do (the same name, the same folders)
    kDeclined,     // the user said No to replacing; nothing was written
    kNotFound,     // the entry is no longer in the registry; nothing was written
    kInvalidName,  // the new name makes no key, or lies inside the entry itself
    kFailed,       // the registry refused a step (or its terminal launcher could not follow); as it was
    kNotForTerminal,  // the command works in terminals and the new name cannot; nothing was written
};

// The steps of a rename, in order; a failure at any step is undone:
//  1. copy the entry's key with every value, type and subkey to the new
//     key path (creating the groups of a nested name). On failure the partial
//     copy and the groups it created are removed: nothing changes.
//  2. delete the old key tree. On failure the old key is written back whole
//     and the copy removed: nothing changes.
//  3. remove the groups the old key leaves empty, as deletion does. A group
//     that cannot be removed stays; the rename still counts as done.
// The new name is trimmed and split as registration does; a name that makes
// no entry the manager lists (empty, or with a part before the last that is
// an entry itself) or lies inside the entry is kInvalidName, the same key
// path kUnchanged. When the new name is registered already in the entry's
// scope, `ask` is called once with the replace question of registration
// (that entry's target and this one's), even for the same program, because
// that key is replaced whole and its other values go; for the user's scope,
// a machine entry of the name pointing at another program is asked about
// too, as registration asks. No changes nothing. A name that differs only in
// ASCII letter case renames through a temporary key ("<key>.renaming") so
// the registry keeps the new spelling.
EditResult RenameRunCommand(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                            const CStringW& newName, const ReplaceAnswer& ask);

// Points the entry at `newTarget`: when the entry points at another program
// now (NeedsReplaceQuestion), `ask` is called first with the replace question
// of registration. Only the default value is rewritten; its type is kept
// (REG_EXPAND_SZ stays REG_EXPAND_SZ), and a REG_SZ becomes REG_EXPAND_SZ
// when the new target holds %variables%. A default value of any other type,
// or none, becomes REG_SZ (REG_EXPAND_SZ for %variables%). Every other value
// stays. An empty (or blank) target is kInvalidName; the stored bytes and
// type being those already, kUnchanged.
EditResult ChangeRunCommandTarget(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                                  const CStringW& newTarget, const ReplaceAnswer& ask);

// The entry's Path value as its folders (SplitPathList); none when it has no
// Path value or one of a type other than REG_SZ / REG_EXPAND_SZ.
std::vector<CStringW> ReadRunCommandPath(IRegistry& registry, const RunCommandPlace& place,
                                         const RunEntry& entry);

// Writes the folders back as the Path value (JoinPathList). The type is
// kept when it is REG_EXPAND_SZ; it becomes REG_EXPAND_SZ when the text holds
// %variables% and REG_SZ otherwise. An empty list deletes the Path value: the
// program then starts with the PATH it would have anyway. kUnchanged, and
// nothing written, when the folders are those the value lists already
// (SamePathList): its bytes and type stay exactly as they were.
EditResult SetRunCommandPath(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                             const std::vector<CStringW>& folders);

// Copies the entry with every value, type and subkey to the same key path
// in scope `to` (CopyKeyTree). When `to` has that entry already, `ask` is
// called once with the replace question (the existing target and the
// entry's), and Yes replaces that key whole. kUnchanged when `to` is the
// entry's own scope.
EditResult CopyRunCommandToScope(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                                 RunScope to, const ReplaceAnswer& ask);
