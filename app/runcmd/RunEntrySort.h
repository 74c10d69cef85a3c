// The order of the manager's list: by any of its columns, either way.
#pragma once

#include <vector>

#include "app/runcmd/RunEntries.h"

// The manager's columns, in their order on the screen. 附加路径 shows the entry's
// Path value, the folders the shell adds to the program's PATH.
enum class RunColumn { kCommand = 0, kTarget = 1, kScope = 2, kState = 3, kPath = 4, kTerminal = 5 };
constexpr int kRunColumnCount = 6;

// The state column's order: fine, shadowed, broken, both.
int StateRank(const RunEntry& entry) noexcept;
// The terminal column's order: not for terminals, working there, marked but
// shadowed or without its launcher.
int TerminalRank(const RunEntry& entry) noexcept;

// Sorts by `column`, ascending or descending. Texts compare without regard to
// letter case in GBK's order (which puts the common Chinese characters in
// pinyin order); texts that GBK cannot tell apart (characters it lacks) then
// by their UTF-16 code units. The machine's scope comes before the user's.
// Equal keys fall back to the command (ascending), then the scope
// (machine first), then the key path, whichever way the column runs, so the
// order is the same for every order of input.
void SortRunEntries(std::vector<RunEntry>& entries, RunColumn column, bool ascending);

// A header click: the same column again turns the order round, another
// column starts ascending.
struct RunSortOrder {
    RunColumn column = RunColumn::kCommand;
    bool ascending = true;
    friend bool operator==(const RunSortOrder&, const RunSortOrder&) = default;
};
RunSortOrder SortOrderAfterClick(RunSortOrder current, RunColumn clicked) noexcept;

// Type-ahead in the list: the first entry at or after `start` (going round
// to the top) whose command begins with `prefix`, ASCII letter case ignored; -1
// when there is none or the prefix is empty. A start outside the list counts
// as 0.
int FindCommandByPrefix(const std::vector<RunEntry>& entries, const CStringW& prefix, int start);
