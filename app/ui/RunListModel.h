// RunListModel: the run-command manager's list without a window. It holds
// one vector of entries, the listing in list order, and the rows the list
// shows as indexes into it: all of them, or those the filter lets through,
// in list order. The dialog maps rows to the list control; every question
// about rows (which entry, which keys, which rows of which keys, which rows
// show an icon) is answered here.
//
// A listing may come with the keys alone (RunCommandStore::ListKeys): the
// entries' values then wait, and are read into the one vector by row as the
// rows are drawn, the rest while the window is idle, and whatever still
// waits before anything acts on the entries (RowValueFill). Sorting and
// filtering are meant for a finished listing: while values wait, the rows
// follow what is known, and FinishValues sorts (when an order was asked
// for meanwhile) and filters again with every value in.
#pragma once

#include <cstddef>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "app/runcmd/RunEntries.h"
#include "app/runcmd/RunEntryFilter.h"
#include "app/runcmd/RunEntrySort.h"
#include "app/ui/RowValueFill.h"
#include "base/wide_text.h"

namespace velmora::app {

// An entry as it is known across listings: its scope and key path.
using RunEntryKey = std::pair<RunScope, CStringW>;
using RunEntryKeys = std::set<RunEntryKey>;

class RunListModel {
public:
    using ReadValues = RowValueFill::ReadValues;
    // Sets the marks of every entry (RunCommandStore::Mark).
    using MarkEntries = std::function<void(std::vector<RunEntry>& entries)>;

    // A new listing: `entries`, sorted by the order held, with `unreadable`
    // keys that could not be read; the rows are those the text last
    // filtered by lets through. With `valuesWait`, the entries hold their
    // keys only and every value waits.
    void SetListing(std::vector<RunEntry> entries, int unreadable, bool valuesWait);
    // Sorts the entries by `order` (SortRunEntries) and shows the rows in
    // the new order; the filter stays.
    void Sort(RunSortOrder order);
    RunSortOrder Order() const noexcept { return m_order; }
    // The rows become the entries whose texts hold `typed` (RunEntryFilter),
    // in list order: every entry when it is blank.
    void Filter(const CStringW& typed);
    // Whether the text filtered by leaves entries out (is not blank).
    bool Filtering() const { return !FilterTextOf(m_typed).IsEmpty(); }

    // Every entry of the listing, in list order.
    const std::vector<RunEntry>& Entries() const noexcept { return m_entries; }
    std::size_t RowCount() const noexcept { return m_rows.size(); }
    // The entry that `row` shows; null for a row outside the rows.
    const RunEntry* EntryOfRow(int row) const noexcept;
    // The entries the rows show, in row order.
    std::vector<RunEntry> ShownEntries() const;
    // The entries that `rows` show, in the order given (the selected entries,
    // say); rows outside the rows are left out.
    std::vector<RunEntry> EntriesOfRows(const std::vector<int>& rows) const;
    RunEntryKeys KeysOfRows(const std::vector<int>& rows) const;
    // The rows that show an entry of `keys`, ascending.
    std::vector<int> RowsOfKeys(const RunEntryKeys& keys) const;
    // Type-ahead: the first row at or after `start` (going round) whose
    // command begins with `prefix`, as FindCommandByPrefix; -1 when none.
    int FindRowByPrefix(const CStringW& prefix, int start) const;
    // The rows among `count` rows from `first` whose icon file (IconFileOf)
    // is `file`, letter case folded: those to draw again when its image
    // comes. The range is clipped to the rows; an empty file has no rows.
    std::vector<int> RowsShowingIconOf(int first, int count, const CStringW& file) const;

    // The status line for the listing: ListingStatusText of every entry
    // while nothing is filtered, else FilteredStatusText.
    CStringW StatusText() const;

    // Whether values still wait (a listing by keys not finished).
    bool ValuesWait() const noexcept { return m_fill.Open(); }
    // Whether the values of the entry that `row` shows wait.
    bool RowWaits(int row) const noexcept;
    // Reads the values of the entry that `row` shows when they wait; true
    // when they were read now (its key may have turned out unreadable: it
    // is dropped when the values are finished).
    bool ReadRow(int row, const ReadValues& read);
    // Reads waiting values in list order while `goOn` (asked before each)
    // says so; true when none is left to read (FinishValues is due).
    bool ReadWhile(const ReadValues& read, const std::function<bool()>& goOn);
    // Reads what still waits, drops the entries whose keys could not be
    // read (counted with the unreadable), sets the marks of all through
    // `mark`, then sorts when an order was asked for meanwhile and filters
    // again. How many were dropped; nothing happens when nothing waits.
    int FinishValues(const ReadValues& read, const MarkEntries& mark);
    // Keys that could not be read at this listing.
    int Unreadable() const noexcept { return m_unreadable; }

private:
    // The rows again from the filter's index and the text held.
    void ShowMatching();

    std::vector<RunEntry> m_entries;
    // Indexes into m_entries, ascending: the rows.
    std::vector<int> m_rows;
    RunEntryFilter m_filter;
    CStringW m_typed;
    RunSortOrder m_order;
    bool m_sortWaits = false;  // Sort was asked while values waited
    RowValueFill m_fill;
    int m_unreadable = 0;
};

}  // namespace velmora::app
