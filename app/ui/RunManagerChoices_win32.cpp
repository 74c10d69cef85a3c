#include "app/ui/RunManagerChoices_win32.h"

#include "app/platform/FileDialogs_win32.h"
#include "app/text/OutcomeText.h"
#include "app/text/ViewText.h"
#include "app/ui/ImportPreviewDlg_win32.h"
#include "app/ui/OptionsDlg_win32.h"
#include "app/ui/PathEditDlg_win32.h"

CStringW SystemRunManagerChoices::AskProgramFile(CWnd& owner, const CStringW& currentTarget) {
    return AskOpenFileName(owner.m_hWnd, kProgramFileFilter, currentTarget);
}

CStringW SystemRunManagerChoices::AskExportFile(CWnd& owner) {
    return AskSaveFileName(owner.m_hWnd, kRegFileFilter, velmora::WideFrom936(kExportFileName), u"reg");
}

CStringW SystemRunManagerChoices::AskImportFile(CWnd& owner) {
    return AskOpenFileName(owner.m_hWnd, kRegFileFilter, CStringW());
}

bool SystemRunManagerChoices::AskImportChoices(CWnd& owner, const ImportPlan& plan,
                                               std::vector<bool>& replace) {
    CImportPreviewDlg preview(plan, replace, &owner);
    return preview.DoModal() == IDOK;
}

bool SystemRunManagerChoices::AskPathFolders(CWnd& owner, const RunEntry& entry,
                                             std::vector<CStringW>& folders) {
    CPathEditDlg editor(entry.command, folders, &owner);
    return editor.DoModal() == IDOK;
}

bool SystemRunManagerChoices::AskOptions(CWnd& owner, const RunEntry& entry, RunCommandOptions& options) {
    COptionsDlg dialog(entry.command, options, &owner);
    return dialog.DoModal() == IDOK;
}
