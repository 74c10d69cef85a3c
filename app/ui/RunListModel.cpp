#include "app/ui/RunListModel.h"

#include <algorithm>

#include "app/text/OutcomeText.h"
#include "app/ui/RowIconBook.h"

namespace velmora::app {

void RunListModel::SetListing(std::vector<RunEntry> entries, int unreadable, bool valuesWait) {
    SortRunEntries(entries, m_order.column, m_order.ascending);
    m_entries = std::move(entries);
    m_unreadable = unreadable;
    m_sortWaits = false;
    m_fill.Start(valuesWait ? m_entries.size() : 0);
    m_filter.Index(m_entries);
    ShowMatching();
}

void RunListModel::Sort(RunSortOrder order) {
    m_order = order;
    // The value fill knows its entries by their places: they move once every
    // value is in.
    if (m_fill.Open()) {
        m_sortWaits = true;
        return;
    }
    SortRunEntries(m_entries, m_order.column, m_order.ascending);
    m_filter.Index(m_entries);
    ShowMatching();
}

void RunListModel::Filter(const CStringW& typed) {
    m_typed = typed;
    ShowMatching();
}

void RunListModel::ShowMatching() {
    // The rows are indexes: a keystroke copies no entry, however many match.
    m_rows = m_filter.Matching(m_typed);
}

const RunEntry* RunListModel::EntryOfRow(int row) const noexcept {
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size()) return nullptr;
    return &m_entries[static_cast<std::size_t>(m_rows[static_cast<std::size_t>(row)])];
}

std::vector<RunEntry> RunListModel::ShownEntries() const {
    std::vector<RunEntry> shown;
    shown.reserve(m_rows.size());
    for (int index : m_rows) shown.push_back(m_entries[static_cast<std::size_t>(index)]);
    return shown;
}

std::vector<RunEntry> RunListModel::EntriesOfRows(const std::vector<int>& rows) const {
    std::vector<RunEntry> entries;
    entries.reserve(rows.size());
    for (int row : rows) {
        if (const RunEntry* entry = EntryOfRow(row)) entries.push_back(*entry);
    }
    return entries;
}

RunEntryKeys RunListModel::KeysOfRows(const std::vector<int>& rows) const {
    RunEntryKeys keys;
    for (int row : rows) {
        if (const RunEntry* entry = EntryOfRow(row)) keys.emplace(entry->scope, entry->keyPath);
    }
    return keys;
}

std::vector<int> RunListModel::RowsOfKeys(const RunEntryKeys& keys) const {
    std::vector<int> rows;
    for (std::size_t row = 0; row < m_rows.size() && rows.size() < keys.size(); ++row) {
        const RunEntry& entry = m_entries[static_cast<std::size_t>(m_rows[row])];
        if (keys.count({entry.scope, entry.keyPath}) != 0) rows.push_back(static_cast<int>(row));
    }
    return rows;
}

int RunListModel::FindRowByPrefix(const CStringW& prefix, int start) const {
    // Matching gives ascending indexes: as many rows as entries are every
    // entry in its place, searched where they stand.
    if (m_rows.size() == m_entries.size()) return FindCommandByPrefix(m_entries, prefix, start);
    return FindCommandByPrefix(ShownEntries(), prefix, start);
}

std::vector<int> RunListModel::RowsShowingIconOf(int first, int count, const CStringW& file) const {
    std::vector<int> showing;
    if (file.IsEmpty()) return showing;
    const long long begin = std::max(first, 0);
    const long long end = std::min(static_cast<long long>(m_rows.size()), begin + std::max(count, 0));
    CStringW wanted(file);
    wanted.MakeLower();
    for (long long row = begin; row < end; ++row) {
        CStringW shown =
            IconFileOf(m_entries[static_cast<std::size_t>(m_rows[static_cast<std::size_t>(row)])]);
        if (shown.MakeLower() == wanted) showing.push_back(static_cast<int>(row));
    }
    return showing;
}

CStringW RunListModel::StatusText() const {
    if (!Filtering()) return ListingStatusText(m_entries, m_unreadable);
    return FilteredStatusText(static_cast<int>(m_rows.size()), static_cast<int>(m_entries.size()));
}

bool RunListModel::RowWaits(int row) const noexcept {
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size()) return false;
    return m_fill.Waits(static_cast<std::size_t>(m_rows[static_cast<std::size_t>(row)]));
}

bool RunListModel::ReadRow(int row, const ReadValues& read) {
    if (row < 0 || static_cast<std::size_t>(row) >= m_rows.size()) return false;
    return m_fill.Read(m_entries, static_cast<std::size_t>(m_rows[static_cast<std::size_t>(row)]), read);
}

bool RunListModel::ReadWhile(const ReadValues& read, const std::function<bool()>& goOn) {
    if (!m_fill.Open()) return false;
    return m_fill.ReadWhile(m_entries, read, goOn).second >= m_entries.size();
}

int RunListModel::FinishValues(const ReadValues& read, const MarkEntries& mark) {
    if (!m_fill.Open()) return 0;
    const int dropped = m_fill.Finish(m_entries, read);
    m_unreadable += dropped;
    if (mark) mark(m_entries);
    if (std::exchange(m_sortWaits, false)) SortRunEntries(m_entries, m_order.column, m_order.ascending);
    // The texts the filter searches are in only now.
    m_filter.Index(m_entries);
    ShowMatching();
    return dropped;
}

}  // namespace velmora::app
