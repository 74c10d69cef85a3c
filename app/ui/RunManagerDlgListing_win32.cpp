// The manager's listing: both scopes read into the model, the values read
// by row as the rows are drawn and the rest while the window is idle, the
// filter and the order, and the selection kept on its entries as the rows
// change.
#include <utility>

#include "app/ui/RunManagerDlg_win32.h"
#include "app/ui/RunManagerMessages_win32.h"

namespace {

using velmora::app::kValueFillTimer;

// The orders that only need the keys: the command and the scope (with the
// command, scope and key path breaking ties).
bool SortsByKeys(RunColumn column) { return column == RunColumn::kCommand || column == RunColumn::kScope; }

// How many entries the value fill reads between two looks at the queue.
constexpr int kEntriesBetweenLooks = 16;

// Between the count and each warning of the status line.
constexpr velmora::Text kWarningSeparator{"；", "; "};

velmora::app::RunListModel::ReadValues ValuesFrom(const RunCommandStore& store) {
    return [&store](RunEntry& entry) { return store.ReadValues(entry); };
}

}  // namespace

void CRunManagerDlg::Refresh() {
    // Changes made while the keys are read count for the next refresh.
    if (m_listingWatch) m_listingWatch->Rearm();
    const bool keysFirst = SortsByKeys(m_model.Order().column) && !m_model.Filtering();
    const RunCommandStore store = Store();
    RunListing listing = keysFirst ? store.ListKeys() : store.List();
    m_model.SetListing(std::move(listing.entries), listing.unreadable, keysFirst);
    m_folderWarning.Empty();
    for (const LauncherProblem& problem : store.LauncherProblems({})) {
        if (problem.kind == LauncherProblem::kUnsafeFolder)
            m_folderWarning +=
                velmora::WideFrom936(kWarningSeparator) + UnsafeFolderText(problem.file, problem.folder);
    }
    // A timer's turn comes after the paint and the input.
    if (m_model.ValuesWait()) {
        SetTimer(kValueFillTimer, USER_TIMER_MINIMUM);
    } else {
        KillTimer(kValueFillTimer);
    }
    ShowRows();
    m_listCommands.Invalidate(TRUE);
    ShowListingStatus();
}

void CRunManagerDlg::RefreshSelecting(const EntryKeys& keys) {
    Refresh();
    SelectRows(keys);
}

void CRunManagerDlg::ReadRowValues(int row) {
    if (!m_model.RowWaits(row)) return;
    const RunCommandStore store = Store();
    // Its icon is not read when the file is missing.
    m_model.ReadRow(row, [&store](RunEntry& entry) {
        if (!store.ReadValues(entry)) return false;
        store.MarkBroken(entry);
        return true;
    });
}

void CRunManagerDlg::OnValueFillTimer() {
    if (!m_model.ValuesWait()) {
        KillTimer(kValueFillTimer);
        return;
    }
    // Reads until the window has something else to do: a paint, a key, a
    // click or a message posted (the icons read).
    int sinceLook = 0;
    const auto nothingWaits = [&sinceLook] {
        if (++sinceLook < kEntriesBetweenLooks) return true;
        sinceLook = 0;
        return HIWORD(::GetQueueStatus(QS_INPUT | QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE)) == 0;
    };
    const RunCommandStore store = Store();
    if (m_model.ReadWhile(ValuesFrom(store), nothingWaits)) FinishListing();
}

void CRunManagerDlg::FinishListing() {
    if (!m_model.ValuesWait()) return;
    KillTimer(kValueFillTimer);
    const EntryKeys selected = SelectedKeys();
    const RunCommandStore store = Store();
    const int dropped = m_model.FinishValues(
        ValuesFrom(store), [&store](std::vector<RunEntry>& entries) { store.Mark(entries); });
    // Nothing is sorted or filtered while values wait (every message that
    // would finishes the listing first): the rows change only when entries
    // whose keys went were dropped.
    if (dropped == 0) {
        m_listCommands.Invalidate(FALSE);
    } else {
        ShowRows();
        SelectRows(selected);
    }
    if (m_screen.Status() == m_listingStatus) ShowListingStatus();
}

void CRunManagerDlg::OnColumnClick(int nColumn) {
    if (nColumn < 0 || nColumn >= kRunColumnCount) return;
    // The selection follows its entries to their new places.
    const EntryKeys selected = SelectedKeys();
    m_model.Sort(SortOrderAfterClick(m_model.Order(), static_cast<RunColumn>(nColumn)));
    ShowRows();
    SelectRows(selected);
}

void CRunManagerDlg::OnFilterChanged() {
    const EntryKeys selected = SelectedKeys();
    m_model.Filter(m_editFilter.GetWindowText());
    ShowRows();
    SelectRows(selected);
    ShowListingStatus();
}

void CRunManagerDlg::ShowRows() {
    // The selection and the focus mark belong to rows, not entries: off
    // before the rows change. Row by row, as clearing every row at once
    // costs a notification per row.
    for (int row : m_listCommands.GetSelectedItems()) m_listCommands.SetItemState(row, 0, LVIS_SELECTED);
    const int focused = m_listCommands.GetNextItem(-1, LVNI_FOCUSED);
    if (focused >= 0) m_listCommands.SetItemState(focused, 0, LVIS_FOCUSED);
    m_listCommands.SetItemCount(static_cast<int>(m_model.RowCount()));
    // A scroll bar that came or went changed the width the columns share.
    m_screen.FitColumns();
    m_listCommands.Invalidate(FALSE);
}

std::vector<int> CRunManagerDlg::SelectedRows() const {
    std::vector<int> rows;
    for (int row : m_listCommands.GetSelectedItems()) {
        if (m_model.EntryOfRow(row) != nullptr) rows.push_back(row);
    }
    return rows;
}

void CRunManagerDlg::SelectRows(const EntryKeys& keys) {
    // The rows were just set (ShowRows): nothing is selected.
    bool focused = false;
    for (int row : m_model.RowsOfKeys(keys)) {
        const UINT state = focused ? LVIS_SELECTED : LVIS_SELECTED | LVIS_FOCUSED;
        m_listCommands.SetItemState(row, state, state);
        if (!focused) m_listCommands.EnsureVisible(row, FALSE);
        focused = true;
    }
    m_listCommands.Invalidate(FALSE);
}

int CRunManagerDlg::SingleSelectedRow() {
    const std::vector<int> selected = SelectedRows();
    if (selected.size() == 1) return selected.front();
    SetStatus(velmora::WideFrom936(selected.empty() ? kNothingSelectedText : kSelectOneText));
    return -1;
}

void CRunManagerDlg::ShowListingStatus() {
    m_listingStatus = m_model.StatusText() + m_folderWarning;
    SetStatus(m_listingStatus);
}
