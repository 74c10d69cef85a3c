// The manager's actions on the selected entries, and reading the list.
#include "app/ui/RunManagerDlg_win32.h"

#include <utility>

#include "app/ui/RunManagerLayout.h"
#include "app/platform/ShellLaunch_win32.h"
#include "app/platform/TargetFile_win32.h"
#include "app/platform/ExplorerArguments.h"

namespace {

// At 96 DPI; the rows' icons are read at the window's scale.
constexpr int kIconSize = 16;

void Note(BatchOutcome& outcome, const RunEntry& entry, const CStringW& reason) {
    if (outcome.failed++ == 0) {
        outcome.firstFailedCommand = entry.command;
        outcome.firstFailureReason = reason;
    }
}

// The orders that only need the keys: the command and the scope (with the
// command, scope and key path breaking ties).
bool SortsByKeys(RunColumn column) { return column == RunColumn::kCommand || column == RunColumn::kScope; }

// How many entries the value fill reads between two looks at the queue.
constexpr int kEntriesBetweenLooks = 16;

velmora::app::RowValueFill::ReadValues ValuesFrom(const RunCommandStore& store) {
    return [&store](RunEntry& entry) { return store.ReadValues(entry); };
}

}  // namespace

void CRunManagerDlg::Refresh() {
    // Changes made while the keys are read count for the next refresh.
    if (m_listingWatch) m_listingWatch->Rearm();
    const bool keysFirst =
        SortsByKeys(m_sortOrder.column) && FilterTextOf(m_editFilter.GetWindowText()).IsEmpty();
    RunListing listing = keysFirst ? Store().ListKeys() : Store().List();
    SortRunEntries(listing.entries, m_sortOrder.column, m_sortOrder.ascending);
    m_allEntries = std::move(listing.entries);
    m_unreadable = listing.unreadable;
    m_valueFill.Start(keysFirst ? m_allEntries.size() : 0);
    // A timer's turn comes after the paint and the input.
    if (m_valueFill.Open()) {
        SetTimer(kValueFillTimer, USER_TIMER_MINIMUM);
    } else {
        KillTimer(kValueFillTimer);
    }
    m_filter.Index(m_allEntries);

    ShowFilteredEntries();
    m_listCommands.Invalidate(TRUE);
    ShowListingStatus();
}

void CRunManagerDlg::ReadRowValues(int row) {
    if (row < 0 || !m_valueFill.Waits(static_cast<std::size_t>(row))) return;
    const auto index = static_cast<std::size_t>(row);
    const RunCommandStore store = Store();
    // Its icon is not read when the file is missing.
    m_valueFill.Read(m_allEntries, index, [&store](RunEntry& entry) {
        if (!store.ReadValues(entry)) return false;
        store.MarkBroken(entry);
        return true;
    });
    if (index < m_entries.size()) m_entries[index] = m_allEntries[index];
}

void CRunManagerDlg::OnValueFillTimer() {
    if (!m_valueFill.Open()) {
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
    const auto [first, end] = m_valueFill.ReadWhile(m_allEntries, ValuesFrom(store), nothingWaits);
    for (std::size_t i = first; i < end && i < m_entries.size(); ++i) m_entries[i] = m_allEntries[i];
    if (end >= m_allEntries.size()) FinishListing();
}

void CRunManagerDlg::FinishListing() {
    if (!m_valueFill.Open()) return;
    KillTimer(kValueFillTimer);
    const RunCommandStore store = Store();
    const int dropped = m_valueFill.Finish(m_allEntries, ValuesFrom(store));
    m_unreadable += dropped;
    store.Mark(m_allEntries);
    m_filter.Index(m_allEntries);
    if (dropped == 0) {
        // Nothing filtered: the rows are the entries.
        m_entries = m_allEntries;
        m_listCommands.Invalidate(FALSE);
    } else {
        const std::set<EntryKey> selected = SelectedKeys();
        ShowFilteredEntries();
        SelectRows(selected);
    }
    if (m_statusText == m_listingStatus) ShowListingStatus();
}

int CRunManagerDlg::ImageOf(const RunEntry& entry) {
    // Drawing never waits on a file: the worker reads it.
    const CStringW file = velmora::app::IconFileOf(entry);
    bool read = false;
    const int image = m_iconBook.ImageOf(file, &read);
    if (read) {
        if (m_iconsToAsk.empty()) PostMessage(kAskIconsMessage);
        m_iconsToAsk.emplace_back(m_iconBook.Generation(), file);
    }
    return image;
}

void CRunManagerDlg::AskIcons() {
    const int side = velmora::app::RunManagerScaled(kIconSize, Dpi());
    for (const auto& [generation, file] : std::exchange(m_iconsToAsk, {})) m_iconLoader.Ask(generation, file, side);
}

void CRunManagerDlg::OnIconsRead() {
    const int top = m_listCommands.GetTopIndex();
    // The last row on screen may be shown in part.
    const int onScreen = m_listCommands.GetCountPerPage() + 1;
    for (FileIconLoader::Result& result : m_iconLoader.TakeResults()) {
        // From before a new image list (its icon goes with `result`).
        if (!m_iconBook.Awaits(result.generation, result.file)) continue;
        // The list keeps a copy.
        const int image = result.icon ? m_imageList.Add(result.icon.Get()) : velmora::app::kStandInImage;
        m_iconBook.Record(result.generation, result.file, image);
        if (image <= velmora::app::kStandInImage) continue;
        for (int row : velmora::app::RowsShowingIconOf(m_entries, top, onScreen, result.file))
            m_listCommands.RedrawItems(row, row);
    }
}

BatchOutcome CRunManagerDlg::OutcomeOf(const RunBatchResult& result) {
    return BatchOutcomeOf(result, [](long status) { return SystemErrorText(static_cast<DWORD>(status)); });
}

bool CRunManagerDlg::ConfirmMany(const char* action, std::size_t count) {
    if (count <= static_cast<std::size_t>(kManyEntries)) return true;
    return m_prompts.Ask(velmora::WideFrom936(action), ManyEntriesQuestionText(action, static_cast<int>(count)));
}

void CRunManagerDlg::OnRun() {
    const std::vector<int> selected = SelectedEntries();
    if (selected.empty()) return SetStatus(velmora::WideFrom936(kNothingSelectedText));
    if (!ConfirmMany("运行", selected.size())) return;
    BatchOutcome outcome;
    for (int index : selected) {
        const RunEntry& entry = m_entries[static_cast<std::size_t>(index)];
        // By its name, as the Run box does: the shell picks the entry (the
        // user's before the machine's).
        const DWORD error = ShellOpen(m_services.shellExecute, m_hWnd, entry.keyPath, CStringW());
        if (error == ERROR_SUCCESS) {
            ++outcome.done;
        } else {
            Note(outcome, entry, SystemErrorText(error));
        }
    }
    SetStatus(BatchStatusText("启动", outcome));
}

void CRunManagerDlg::OnOpenLocation() {
    const std::vector<int> selected = SelectedEntries();
    if (selected.empty()) return SetStatus(velmora::WideFrom936(kNothingSelectedText));
    if (!ConfirmMany("打开位置", selected.size())) return;
    BatchOutcome outcome;
    for (int index : selected) {
        const RunEntry& entry = m_entries[static_cast<std::size_t>(index)];
        const CStringW file = ResolveTargetFile(TargetFileOf(entry.target));
        const CStringW folder = FolderOfFile(file);
        DWORD error = ERROR_SUCCESS;
        if (!file.IsEmpty() && IsExistingFile(file)) {
            error =
                ShellOpen(m_services.shellExecute, m_hWnd, u"explorer.exe", ExplorerSelectArguments(file));
        } else if (!folder.IsEmpty() && IsExistingFolder(folder)) {
            // The program is gone: its folder at least.
            error = ShellOpen(m_services.shellExecute, m_hWnd, u"explorer.exe", u"\"" + folder + u"\"");
        } else {
            Note(outcome, entry, velmora::WideFrom936(kTargetMissingReason));
            continue;
        }
        if (error == ERROR_SUCCESS) {
            ++outcome.done;
        } else {
            Note(outcome, entry, SystemErrorText(error));
        }
    }
    SetStatus(BatchStatusText("打开位置", outcome));
}

void CRunManagerDlg::OnDelete() {
    const std::vector<int> selected = SelectedEntries();
    if (selected.empty()) return SetStatus(velmora::WideFrom936(kNothingSelectedText));
    std::vector<RunEntry> entries;
    for (int index : selected) entries.push_back(m_entries[static_cast<std::size_t>(index)]);
    const RunBatchResult result = Store().Delete(entries);
    if (result.cancelled) return;
    Refresh();
    SetStatus(BatchStatusText("删除", OutcomeOf(result)));
}

void CRunManagerDlg::OnRefresh() {
    // Nothing below either App Paths key changed: the rows, their marks, their
    // icons and the selection stand; only the status line is the listing's again.
    if (m_listingWatch && !m_listingWatch->MayHaveChanged()) return ShowListingStatus();
    Refresh();
}

void CRunManagerDlg::OnSelectAll() { m_listCommands.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED); }

void CRunManagerDlg::OnGoToFilter() {
    m_editFilter.SetFocus();
    m_editFilter.SendMessage(EM_SETSEL, 0, -1);
}
