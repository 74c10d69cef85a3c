// Backing up run commands to a .reg file and bringing them back. Export
// writes each entry's key whole (every value, type and subkey) with the full
// root name, so the platform's own registry editor imports the file as it
// is. Import first makes a plan that writes nothing: what would be added,
// what would replace an entry (with both targets), and what is refused and
// why, with the line it comes from; the plan is then applied with the
// replacements the user kept.
#pragma once

#include <cstddef>
#include <vector>

#include "app/registry/RegFile.h"
#include "app/registry/RegistryValues.h"
#include "app/runcmd/RunCommandEdit.h"
#include "app/runcmd/RunEntries.h"

// A file larger than this is no backup of run commands: it is not read.
constexpr std::size_t kLargestBackupBytes = 64u << 20;

struct RunCommandExport {
    std::vector<unsigned char> file;  // the .reg bytes
    int exported = 0;
    // Entries that could not be read (they vanished, access refused); not in
    // the file.
    std::vector<RunEntry> unreadable;
};

// The .reg file of `entries` (of either scope), in their order.
RunCommandExport ExportRunCommands(IRegistry& registry, const RunCommandPlace& place,
                                   const std::vector<RunEntry>& entries);

enum class ImportAction {
    kAdd,      // no entry of that key path in that scope
    kReplace,  // an entry is there; replaced whole when the user keeps it
    kRefused,  // never written; see ImportRefusal
};

enum class ImportRefusal {
    kNone,
    kOutsideAppPaths,   // a key (or its root) not below either App Paths key
    kNotAnEntry,        // below App Paths but not in an entry: values of a group
    kScopeNotWritable,  // the machine's entries when the tool is not elevated
    kDeletion,          // [-key] or "name"=- lines: the file would delete
};

struct ImportItem {
    ImportAction action = ImportAction::kRefused;
    ImportRefusal refusal = ImportRefusal::kNone;
    int line = 0;      // the entry's first [key] line; for a refusal, the line refused
    CStringW fileKey;  // the key as the file names it
    RunScope scope = RunScope::kCurrentUser;
    CStringW command;         // "tools\ed" (empty for refused keys outside App Paths)
    CStringW keyPath;         // below App Paths: "tools\ed.exe"
    CStringW oldTarget;       // kReplace: what the entry points at now
    CStringW newTarget;       // the file's default value text
    RegKeyContents contents;  // what is written: the entry's key and its subkeys
};

struct ImportPlan {
    RegFileError error = RegFileError::kNone;  // the file is damaged: no items
    int errorLine = 0;
    std::vector<ImportItem> items;  // in the order of the file
};

// The plan for a .reg file of `size` bytes; it reads the registry, never
// writes. An entry is the first key below App Paths whose name makes an entry
// (RunEntries.h) with every key below it; sections of one entry (its subkeys
// too, in any order) are merged, later values winning. App Paths itself, the
// keys above it and groups, named without values, make no item; a group with values is
// kNotAnEntry. An entry holding any deletion is refused whole. An entry that
// is there, or that cannot be read, is kReplace. The machine's entries are
// kScopeNotWritable unless the tool runs `elevated`. A damaged file gives
// its error and no items.
ImportPlan PlanRunCommandImport(IRegistry& registry, const RunCommandPlace& place, const unsigned char* data,
                                std::size_t size, bool elevated);

struct ImportCounts {
    int added = 0;
    int replaced = 0;
    int skipped = 0;  // refused items and replacements the user unticked
    int failed = 0;   // the registry refused a write; that entry is as it was
};

// Whether item `index` of the plan is written: every kAdd, and a kReplace
// whose `replace` flag (one per item, same order; a missing flag counts as
// false) is set.
bool ImportWrites(const ImportPlan& plan, const std::vector<bool>& replace, std::size_t index);
