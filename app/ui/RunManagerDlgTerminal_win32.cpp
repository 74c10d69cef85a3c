// The manager's terminal action: the selected commands made to work in
// terminals too, or, when all of them do, no longer.
#include <algorithm>

#include "app/ui/RunManagerDlg_win32.h"

namespace {

// True when every entry of `entries` is marked for terminals (and there is one).
bool AllForTerminals(const std::vector<RunEntry>& entries) {
    return !entries.empty() &&
           std::all_of(entries.begin(), entries.end(), [](const RunEntry& entry) { return entry.terminal; });
}

}  // namespace

bool CRunManagerDlg::SelectionWorksInTerminals() const { return AllForTerminals(SelectedEntries()); }

void CRunManagerDlg::OnToggleTerminal() {
    RunCommandStore store = Store();
    if (!store.HasLaunchers()) return;
    const std::vector<RunEntry> entries = SelectedEntries();
    if (entries.empty()) return SetStatus(velmora::WideFrom936(kNothingSelectedText));
    const bool on = !AllForTerminals(entries);
    const RunActionText& action = on ? kTerminalAction : kTerminalOffAction;
    if (!ConfirmMany(action.name, entries.size())) return;
    const EntryKeys keys = SelectedKeys();
    const RunBatchResult result = store.SetTerminal(entries, on);
    // The last launcher of a scope gone: its folder may leave PATH too.
    for (const RunScope scope : result.emptiedScopes) {
        if (store.LauncherFolderOnPath(scope) &&
            m_prompts.Ask(velmora::WideFrom936(kTerminalQuestionCaption),
                          TakeFolderOffPathQuestion(store.LauncherFolder(scope)))) {
            store.TakeLauncherFolderOffPath(scope);
        }
    }
    RefreshSelecting(keys);
    SetStatus(BatchStatusText(action.name, OutcomeOf(result)));
}
