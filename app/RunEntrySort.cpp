#include "app/RunEntrySort.h"

#include <algorithm>

namespace {

int CompareText(const CString& a, const CString& b) noexcept {
    const int folded = a.CompareNoCase(b);
    return folded != 0 ? folded : a.Compare(b);
}

int Sign(int value) noexcept { return (value > 0) - (value < 0); }

int CompareBy(RunColumn column, const RunEntry& a, const RunEntry& b) noexcept {
    switch (column) {
        case RunColumn::kCommand:
            return CompareText(a.command, b.command);
        case RunColumn::kTarget:
            return CompareText(a.target, b.target);
        case RunColumn::kScope:
            return Sign(static_cast<int>(a.scope) - static_cast<int>(b.scope));
        case RunColumn::kState:
            return Sign(StateRank(a) - StateRank(b));
    }
    return 0;
}

int CompareTies(const RunEntry& a, const RunEntry& b) noexcept {
    if (const int c = CompareText(a.command, b.command)) return c;
    if (const int c = CompareBy(RunColumn::kScope, a, b)) return c;
    return CompareText(a.keyPath, b.keyPath);
}

}  // namespace

int StateRank(const RunEntry& entry) noexcept { return (entry.broken ? 2 : 0) + (entry.shadowed ? 1 : 0); }

void SortRunEntries(std::vector<RunEntry>& entries, RunColumn column, bool ascending) {
    std::sort(entries.begin(), entries.end(), [column, ascending](const RunEntry& a, const RunEntry& b) {
        const int primary = Sign(CompareBy(column, a, b));
        if (primary != 0) return ascending ? primary < 0 : primary > 0;
        return CompareTies(a, b) < 0;
    });
}

RunSortOrder SortOrderAfterClick(RunSortOrder current, RunColumn clicked) noexcept {
    if (current.column == clicked) return {clicked, !current.ascending};
    return {clicked, true};
}

int FindCommandByPrefix(const std::vector<RunEntry>& entries, const CString& prefix, int start) {
    const int count = static_cast<int>(entries.size());
    if (prefix.IsEmpty() || count == 0) return -1;
    if (start < 0 || start >= count) start = 0;
    for (int n = 0; n < count; ++n) {
        const int i = (start + n) % count;
        if (entries[i].command.Left(prefix.GetLength()).CompareNoCase(prefix) == 0) return i;
    }
    return -1;
}
