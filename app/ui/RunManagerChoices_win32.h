// What the manager asks the user beyond Yes and No: files through the
// system's file dialogs, the ticks of the import preview and the folders of
// the Path editor. The program asks through the real dialogs
// (SystemRunManagerChoices); tests give their own answers.
#pragma once

#include <vector>

#include "app/runcmd/RunCommandBackup.h"
#include "app/runcmd/RunEntries.h"
#include "base/wide_text.h"
#include "wnd/Wnd.h"

class RunManagerChoices {
public:
    virtual ~RunManagerChoices() = default;
    // A program to point an entry at, starting at its current target; empty
    // when the user cancels.
    virtual CStringW AskProgramFile(CWnd& owner, const CStringW& currentTarget) = 0;
    // The .reg file to export to, or to import; empty when cancelled.
    virtual CStringW AskExportFile(CWnd& owner) = 0;
    virtual CStringW AskImportFile(CWnd& owner) = 0;
    // The import preview: `replace` (one flag per item) holds the ticks; true
    // when the user goes on.
    virtual bool AskImportChoices(CWnd& owner, const ImportPlan& plan, std::vector<bool>& replace) = 0;
    // The Path editor: true when the user keeps the edited `folders`.
    virtual bool AskPathFolders(CWnd& owner, const RunEntry& entry, std::vector<CStringW>& folders) = 0;
    // The options dialog: true when the user keeps the edited `options`.
    virtual bool AskOptions(CWnd& owner, const RunEntry& entry, RunCommandOptions& options) = 0;
};

class SystemRunManagerChoices final : public RunManagerChoices {
public:
    CStringW AskProgramFile(CWnd& owner, const CStringW& currentTarget) override;
    CStringW AskExportFile(CWnd& owner) override;
    CStringW AskImportFile(CWnd& owner) override;
    bool AskImportChoices(CWnd& owner, const ImportPlan& plan, std::vector<bool>& replace) override;
    bool AskPathFolders(CWnd& owner, const RunEntry& entry, std::vector<CStringW>& folders) override;
    bool AskOptions(CWnd& owner, const RunEntry& entry, RunCommandOptions& options) override;
};
