// The manager's backup: the selected entries (or all those shown) written to
// a .reg file the platform's registry editor imports, and such a file read
// back after a preview of what it adds and replaces.
#include "app/platform/FileDialogs_win32.h"
#include "app/platform/ShellLaunch_win32.h"
#include "app/ui/RunManagerChoices_win32.h"
#include "app/ui/RunManagerDlg_win32.h"

void CRunManagerDlg::OnExport() {
    std::vector<RunEntry> entries = SelectedEntries();
    // Nothing selected: everything the list shows.
    if (entries.empty()) entries = m_model.ShownEntries();
    if (entries.empty()) return SetStatus(velmora::WideFrom936(kNothingSelectedText));

    const CStringW strFile = m_services.choices->AskExportFile(*this);
    if (strFile.IsEmpty()) return;
    const RunCommandExport exported = Store().Export(entries);
    const DWORD error = WriteWholeFile(strFile, exported.file);
    if (error != ERROR_SUCCESS)
        return SetStatus(FileFailureText(kExportAction, strFile, SystemErrorText(error)));
    SetStatus(ExportStatusText(exported.exported, static_cast<int>(exported.unreadable.size()), strFile));
}

void CRunManagerDlg::OnImport() {
    const CStringW strFile = m_services.choices->AskImportFile(*this);
    if (strFile.IsEmpty()) return;
    std::vector<unsigned char> bytes;
    const DWORD error = ReadWholeFile(strFile, kLargestBackupBytes, bytes);
    if (error != ERROR_SUCCESS)
        return SetStatus(FileFailureText(kImportAction, strFile, SystemErrorText(error)));

    RunCommandStore store = Store();
    const ImportPlan plan = store.PlanImport(bytes.data(), bytes.size());
    if (plan.error != RegFileError::kNone) {
        const CStringW text = DamagedFileText(plan.error, plan.errorLine);
        m_prompts.Warn(velmora::WideFrom936(kImportAction.name), text);
        return SetStatus(FileFailureText(kImportAction, strFile, text));
    }
    std::vector<bool> replace(plan.items.size(), false);
    for (std::size_t i = 0; i < plan.items.size(); ++i)
        replace[i] = plan.items[i].action == ImportAction::kReplace;
    if (!m_services.choices->AskImportChoices(*this, plan, replace)) return;

    const ImportCounts counts = store.ApplyImport(plan, replace);
    EntryKeys written;
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        const ImportItem& item = plan.items[i];
        if (item.action == ImportAction::kAdd || (item.action == ImportAction::kReplace && replace[i]))
            written.emplace(item.scope, item.keyPath);
    }
    RefreshSelecting(written);
    SetStatus(ImportOutcomeText(counts));
}
