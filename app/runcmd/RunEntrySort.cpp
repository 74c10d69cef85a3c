#include "app/runcmd/RunEntrySort.h"

#include <algorithm>
#include <numeric>
#include <string>

namespace {

// A text as GBK, made once per sort: GBK's order is the order users of these
// texts know. `folded` has the ASCII letters in lower case, the bytes of
// double-byte characters left alone.
struct GbkKey {
    std::string exact;
    std::string folded;
};

GbkKey MakeKey(const CStringW& text) {
    GbkKey key{velmora::NarrowTo936(text), {}};
    key.folded = key.exact;
    for (std::size_t i = 0; i < key.folded.size(); ++i) {
        const auto byte = static_cast<unsigned char>(key.folded[i]);
        if (byte >= 0x81 && byte <= 0xFE) {
            ++i;  // a lead byte: its trail byte is no letter
        } else if (byte >= 'A' && byte <= 'Z') {
            key.folded[i] = static_cast<char>(byte - 'A' + 'a');
        }
    }
    return key;
}

struct SortKeys {
    GbkKey command;
    GbkKey target;
    GbkKey keyPath;
    GbkKey path;
};

int Sign(int value) noexcept { return (value > 0) - (value < 0); }

int CompareText(const GbkKey& a, const GbkKey& b, const CStringW& wideA, const CStringW& wideB) {
    // Bytes compare unsigned (char_traits<char>).
    if (const int folded = a.folded.compare(b.folded)) return Sign(folded);
    if (const int exact = a.exact.compare(b.exact)) return Sign(exact);
    // Equal as GBK: characters GBK lacks all read as '?'.
    return Sign(wideA.compare(wideB));
}

int CompareBy(RunColumn column, const RunEntry& a, const SortKeys& ka, const RunEntry& b,
              const SortKeys& kb) {
    switch (column) {
        case RunColumn::kCommand:
            return CompareText(ka.command, kb.command, a.command, b.command);
        case RunColumn::kTarget:
            return CompareText(ka.target, kb.target, a.target, b.target);
        case RunColumn::kScope:
            return Sign(static_cast<int>(a.scope) - static_cast<int>(b.scope));
        case RunColumn::kState:
            return Sign(StateRank(a) - StateRank(b));
        case RunColumn::kPath:
            return CompareText(ka.path, kb.path, a.path, b.path);
        case RunColumn::kTerminal:
            return Sign(TerminalRank(a) - TerminalRank(b));
    }
    return 0;
}

int CompareTies(const RunEntry& a, const SortKeys& ka, const RunEntry& b, const SortKeys& kb) {
    if (const int c = CompareText(ka.command, kb.command, a.command, b.command)) return c;
    if (const int c = CompareBy(RunColumn::kScope, a, ka, b, kb)) return c;
    return CompareText(ka.keyPath, kb.keyPath, a.keyPath, b.keyPath);
}

}  // namespace

int StateRank(const RunEntry& entry) noexcept { return (entry.broken ? 2 : 0) + (entry.shadowed ? 1 : 0); }

int TerminalRank(const RunEntry& entry) noexcept {
    if (!entry.terminal) return 0;
    return entry.terminalShadowedBy.IsEmpty() && !entry.terminalLauncherMissing ? 1 : 2;
}

void SortRunEntries(std::vector<RunEntry>& entries, RunColumn column, bool ascending) {
    std::vector<SortKeys> keys;
    keys.reserve(entries.size());
    for (const RunEntry& entry : entries)
        keys.push_back(
            {MakeKey(entry.command), MakeKey(entry.target), MakeKey(entry.keyPath), MakeKey(entry.path)});
    std::vector<std::size_t> order(entries.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t i, std::size_t j) {
        const int primary = Sign(CompareBy(column, entries[i], keys[i], entries[j], keys[j]));
        if (primary != 0) return ascending ? primary < 0 : primary > 0;
        return CompareTies(entries[i], keys[i], entries[j], keys[j]) < 0;
    });
    std::vector<RunEntry> sorted;
    sorted.reserve(entries.size());
    for (const std::size_t i : order) sorted.push_back(std::move(entries[i]));
    entries = std::move(sorted);
}

RunSortOrder SortOrderAfterClick(RunSortOrder current, RunColumn clicked) noexcept {
    if (current.column == clicked) return {clicked, !current.ascending};
    return {clicked, true};
}

int FindCommandByPrefix(const std::vector<RunEntry>& entries, const CStringW& prefix, int start) {
    const int count = static_cast<int>(entries.size());
    if (prefix.IsEmpty() || count == 0) return -1;
    if (start < 0 || start >= count) start = 0;
    for (int n = 0; n < count; ++n) {
        const int i = (start + n) % count;
        if (entries[i].command.Left(prefix.GetLength()).CompareNoCase(prefix) == 0) return i;
    }
    return -1;
}
