// The manager's actions on the selected entries: run, open their location,
// delete, and the refresh.
#include "app/platform/ExplorerArguments.h"
#include "app/platform/ShellLaunch_win32.h"
#include "app/platform/TargetFile_win32.h"
#include "app/ui/RunManagerDlg_win32.h"

namespace {

// The verb of the status line after starting the selected entries.
constexpr velmora::Text kStartVerb{"启动", "Start"};

void Note(BatchOutcome& outcome, const RunEntry& entry, const CStringW& reason) {
    if (outcome.failed++ == 0) {
        outcome.firstFailedCommand = entry.command;
        outcome.firstFailureReason = reason;
    }
}

}  // namespace

BatchOutcome CRunManagerDlg::OutcomeOf(const RunBatchResult& result) {
    return BatchOutcomeOf(result, [](long status) { return SystemErrorText(static_cast<DWORD>(status)); });
}

bool CRunManagerDlg::ConfirmMany(const velmora::Text& action, std::size_t count) {
    if (count <= static_cast<std::size_t>(kManyEntries)) return true;
    return m_prompts.Ask(velmora::WideFrom936(action),
                         ManyEntriesQuestionText(action, static_cast<int>(count)));
}

void CRunManagerDlg::OnRun() {
    const std::vector<RunEntry> selected = SelectedEntries();
    if (selected.empty()) return SetStatus(velmora::WideFrom936(kNothingSelectedText));
    if (!ConfirmMany(kRunAction.name, selected.size())) return;
    BatchOutcome outcome;
    for (const RunEntry& entry : selected) {
        // By its name, as the Run box does: the shell picks the entry (the
        // user's before the machine's).
        const DWORD error = ShellOpen(m_services.shellExecute, m_hWnd, entry.keyPath, CStringW());
        if (error == ERROR_SUCCESS) {
            ++outcome.done;
        } else {
            Note(outcome, entry, SystemErrorText(error));
        }
    }
    SetStatus(BatchStatusText(kStartVerb, outcome));
}

void CRunManagerDlg::OnOpenLocation() {
    const std::vector<RunEntry> selected = SelectedEntries();
    if (selected.empty()) return SetStatus(velmora::WideFrom936(kNothingSelectedText));
    if (!ConfirmMany(kOpenLocationAction.name, selected.size())) return;
    BatchOutcome outcome;
    for (const RunEntry& entry : selected) {
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
    SetStatus(BatchStatusText(kOpenLocationAction.name, outcome));
}

void CRunManagerDlg::OnDelete() {
    const std::vector<RunEntry> entries = SelectedEntries();
    if (entries.empty()) return SetStatus(velmora::WideFrom936(kNothingSelectedText));
    const RunBatchResult result = Store().Delete(entries);
    if (result.cancelled) return;
    Refresh();
    SetStatus(BatchStatusText(kDeleteAction.name, OutcomeOf(result)));
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
