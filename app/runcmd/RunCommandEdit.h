// Changing a registered run command without losing anything it holds:
// renaming it, pointing it at another program, setting its own PATH, its
// terminal mark, copying it to the other scope, deleting it and writing a
// key a backup holds. Plain logic over the registry interface: every value
// of the entry's key (and of its subkeys) keeps its bytes and its type
// through every action. Each step notes what it touches in the journal it
// is given before touching it, and when the registry refuses a step it puts
// the whole journal back: whatever it returns but kDone, the registry is as
// it was before the change began. The store makes these steps one change.
#pragma once

#include <vector>

#include "app/registry/RegistryAccess.h"
#include "app/registry/RegistryValues.h"
#include "app/runcmd/ChangeJournal.h"
#include "app/runcmd/ChangeResult.h"
#include "app/runcmd/RunCommandRegistration.h"
#include "app/runcmd/RunEntries.h"

// The steps of a rename, in order:
//  1. copy the entry's key with every value, type and subkey to the new
//     key path (creating the groups of a nested name);
//  2. delete the old key tree;
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
ChangeResult RenameRunCommand(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                              const CStringW& newName, const ReplaceAnswer& ask, ChangeJournal& journal);

// Points the entry at `newTarget`: when the entry points at another program
// now (NeedsReplaceQuestion), `ask` is called first with the replace question
// of registration. Only the default value (for a command with options, its
// program value) is rewritten; its type is kept
// (REG_EXPAND_SZ stays REG_EXPAND_SZ), and a REG_SZ becomes REG_EXPAND_SZ
// when the new target holds %variables%. A default value of any other type,
// or none, becomes REG_SZ (REG_EXPAND_SZ for %variables%). Every other value
// stays. An empty (or blank) target is kInvalidName; the stored bytes and
// type being those already, kUnchanged.
ChangeResult ChangeRunCommandTarget(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                                    const CStringW& newTarget, const ReplaceAnswer& ask,
                                    ChangeJournal& journal);

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
ChangeResult SetRunCommandPath(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                               const std::vector<CStringW>& folders, ChangeJournal& journal);

// Copies the entry with every value, type and subkey to the same key path
// in scope `to`. When `to` has that entry already, `ask` is
// called once with the replace question (the existing target and the
// entry's), and Yes replaces that key whole. kUnchanged when `to` is the
// entry's own scope.
ChangeResult CopyRunCommandToScope(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                                   RunScope to, const ReplaceAnswer& ask, ChangeJournal& journal);

// Sets (a REG_DWORD 1) or deletes the entry's terminal mark
// (kTerminalMarkValue); kUnchanged when it is so already.
ChangeResult SetRunCommandTerminalMark(IRegistry& registry, const RunCommandPlace& place,
                                       const RunEntry& entry, bool marked, ChangeJournal& journal);
// The same for any REG_DWORD mark of the entry's key (kAppliedMarkValue).
ChangeResult SetRunCommandMark(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                               const char16_t* name, bool marked, ChangeJournal& journal);

// Changes the entry's options (RunCommandOptions.h): each option value
// written, or deleted when the option is cleared (an empty text, no
// variables left, administrator off); the program value and the default
// value are the follower's to keep in step. kUnchanged, nothing written,
// when the options are those already; kInvalidName for a variable text
// without a name.
ChangeResult SetRunCommandOptions(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                                  const RunCommandOptionsChange& change, ChangeJournal& journal);

// Deletes the entry's key with all its values and subkeys, and the groups of
// a nested name that it leaves empty. A key already gone counts as deleted.
// When the registry refuses, *pStatus (when given) holds its code.
ChangeResult DeleteRunCommand(IRegistry& registry, const RunCommandPlace& place, const RunEntry& entry,
                              ChangeJournal& journal, long* pStatus = nullptr);

// Makes key `keyPath` below App Paths of `scope` hold exactly `contents`
// (made with its groups when it is not there, replaced whole when it is).
ChangeResult WriteRunCommandKey(IRegistry& registry, const RunCommandPlace& place, RunScope scope,
                                const CStringW& keyPath, const RegKeyContents& contents,
                                ChangeJournal& journal);
