// The run commands registered below an App Paths key, as the manager lists
// them. Plain code over the registry interface: the Win32 side only supplies
// the registry and the test whether a target file exists.
//
// An entry is a key whose name ends in ".exe" (any letter case) and is longer
// than that: its command is its path below App Paths without the ".exe", so
// App Paths\tools\ed.exe is the command tools\ed. Every other key is a group
// that nested names live in; it is walked, not listed. The subkeys of an
// entry belong to the entry and are not walked.
#pragma once

#include <functional>
#include <vector>

#include "app/registry/RegistryAccess.h"
#include "app/runcmd/RunCommandOptions.h"
#include "app/runcmd/RunScope.h"
#include "base/wide_text.h"

struct RunEntry {
    CStringW command;  // "tools\ed"
    CStringW keyPath;  // below App Paths: "tools\ed.exe"
    // The program it starts as stored: the default value's text, or for a
    // command with options its program value; empty when there is none.
    CStringW target;
    CStringW path;  // the Path value's text as stored (folders and semicolons), empty when none
    RunScope scope = RunScope::kLocalMachine;
    bool broken = false;    // the target file does not exist
    bool shadowed = false;  // a same-named entry of the current user hides this one
    bool terminal = false;  // marked to work in terminals too (kTerminalMarkValue)
    // Set for marked entries by the store's follower: the launcher file is
    // missing; the program a terminal finds first instead, when not ours.
    bool terminalLauncherMissing = false;
    CStringW terminalShadowedBy;
    // Set by the store's follower: the file the Run box starts for the
    // command's name instead of it (a program or script of that name that the
    // shell finds before App Paths), and whether that file is an app
    // execution alias; empty when the command itself starts.
    CStringW runTakenBy;
    bool runTakenByAlias = false;
    RunCommandOptions options;
    // A command with options: its default value's text as stored (its
    // launcher, unless another tool rewrote it).
    CStringW launcherTarget;
    // Made by applying a commands file (kAppliedMarkValue): a later apply
    // with --prune may remove it.
    bool applied = false;
};

// The value of an entry's key that marks it for terminals: a REG_DWORD, not
// zero. The key carries it, so a rename, a copy or a backup carries it too.
inline constexpr const char16_t* kTerminalMarkValue = u"VelmoraTerminal";

// The value of an entry's key that marks it as made by applying a commands
// file: a REG_DWORD, not zero. Only such entries are ever pruned.
inline constexpr const char16_t* kAppliedMarkValue = u"VelmoraApplied";

// Whether the entry's key, open for reading, holds the terminal mark; any
// such REG_DWORD mark `name`.
bool ReadTerminalMark(IRegistry& registry, RegKey key);
bool ReadDwordMark(IRegistry& registry, RegKey key, const char16_t* name);

// True for a key name that makes an entry.
bool IsRunEntryKeyName(const CStringW& name);

// Appends the entries below key `appPathsKey` of `root` to `entries`, in the
// registry's order, marks not yet set. A missing App Paths key holds no
// entries. Keys that cannot be opened or enumerated, and groups nested deeper
// than kMaxKeyTreeDepth, are skipped: the result is how many were skipped.
int ListRunEntries(IRegistry& registry, RegKey root, const CStringW& appPathsKey, RunScope scope,
                   std::vector<RunEntry>& entries);

// As ListRunEntries, but without opening the entries' keys: each entry has
// its command, key path and scope, and no values (ReadRunEntryValues reads
// them). A key that cannot be opened is found only then.
int ListRunEntryKeys(IRegistry& registry, RegKey root, const CStringW& appPathsKey, RunScope scope,
                     std::vector<RunEntry>& entries);

// Reads the values of an entry that ListRunEntryKeys listed below
// `appPathsKey` of `root`, as ListRunEntries reads them. False, the entry
// unchanged, when its key cannot be opened (gone since, or unreadable).
bool ReadRunEntryValues(IRegistry& registry, RegKey root, const CStringW& appPathsKey, RunEntry& entry);

// The entry of `scope` whose key path below `appPathsKey` of `root` is
// `keyPath` (as KeyPathOfCommand gives it; ASCII letter case does not
// matter), its values read and its key names spelled as the registry spells
// them; false when there is none. It opens that key and the groups along its
// path, and nothing else: a key named with blanks or doubled backslashes,
// which no typed name leads to, is not found. No mark is set.
bool FindRunEntry(IRegistry& registry, RegKey root, const CStringW& appPathsKey, RunScope scope,
                  const CStringW& keyPath, RunEntry* pEntry);

// The file a target names: the value without blanks at its ends and, when it
// starts with a double quote, the text up to the closing one (or to the end
// when there is none).
CStringW TargetFileOf(const CStringW& target);

// The folder of a target file: the text before its last backslash, with the
// backslash kept after a drive (C:\x.exe gives C:\); empty when the
// file names no folder.
CStringW FolderOfFile(const CStringW& file);

// Whether a target file (as TargetFileOf gives it, never empty) exists.
using TargetFileCheck = std::function<bool(const CStringW& file)>;

// Sets the shadowed mark of every entry, or the broken mark of one entry,
// as MarkRunEntries does.
void MarkShadowedRunEntries(std::vector<RunEntry>& entries);
void MarkBrokenRunEntry(RunEntry& entry, const TargetFileCheck& exists);

// Sets both marks of every entry: broken when its target names no file or
// `exists` says the file is missing; shadowed when it is registered for the
// machine and an entry of the current user has the same key path (letter case
// of ASCII letters ignored). `exists` is asked once per distinct file.
void MarkRunEntries(std::vector<RunEntry>& entries, const TargetFileCheck& exists);
