// The manager's terminal action: the selected commands made to work in
// terminals too, or, when all of them do, no longer.
#include "app/platform/YesNoQuestion_win32.h"
#include "app/terminal/TerminalBatch.h"
#include "app/ui/RunManagerDlg_win32.h"

bool CRunManagerDlg::SelectionWorksInTerminals() const { return AllForTerminals(SelectedEntries()); }

void CRunManagerDlg::OnToggleTerminal() {
    TerminalShims* terminal = m_services.terminal;
    if (terminal == nullptr) return;
    const std::vector<RunEntry> entries = SelectedEntries();
    if (entries.empty()) return SetStatus(velmora::WideFrom936(kNothingSelectedText));
    const bool on = !AllForTerminals(entries);
    const RunActionText& action = on ? kTerminalAction : kTerminalOffAction;
    if (!ConfirmMany(action.name, entries.size())) return;
    const EntryKeys keys = SelectedKeys();
    const TerminalBatch batch =
        SetTerminal(*terminal, entries, on, m_services.scope == RunScope::kLocalMachine);
    // The last launcher of a scope gone: its folder may leave PATH too.
    for (const RunScope scope : batch.emptiedScopes) {
        const CStringW folder = terminal->Folder(scope);
        if (terminal->FolderOnPath(scope) &&
            AskYesNo(m_hWnd, velmora::WideFrom936(kTerminalQuestionCaption), TakeFolderOffPathQuestion(folder))) {
            terminal->TakeFolderOffPath(scope);
        }
    }
    RefreshSelecting(keys);
    SetStatus(BatchStatusText(action.name, batch.outcome));
}
