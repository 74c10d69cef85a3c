// How things went, worded: every outcome of the store (ChangeResult, a
// batch, an import) and every status line, the one mapping that the
// windows and the console both use.
#pragma once

#include <functional>
#include <vector>

#include "app/registry/RegFile.h"
#include "app/runcmd/ChangeResult.h"
#include "app/runcmd/FolderSecurity.h"
#include "app/runcmd/RunCommandBackup.h"
#include "app/runcmd/RunCommandStore.h"
#include "app/runcmd/RunEntries.h"
#include "app/text/ViewText.h"
#include "base/wide_text.h"

// After listing: 共 N 个运行命令, then the broken, shadowed and unreadable
// counts that are not 0.
CStringW ListingStatusText(const std::vector<RunEntry>& entries, int unreadable);

// After an action on the selected entries (verb 删除, 启动 or 打开位置): how many
// it was done for, how many failed, and the first failure.
struct BatchOutcome {
    int done = 0;
    int failed = 0;
    CStringW firstFailedCommand;
    CStringW firstFailureReason;
};
// The outcome of a store action on several entries: how many were done, how
// many failed and the first failure's command and reason (the registry's
// code through `errorText` where it gave one, else ChangeFailureReason).
BatchOutcome BatchOutcomeOf(const RunBatchResult& result, const std::function<CStringW(long)>& errorText);
// 已<verb> N 个运行命令; 未能<verb>“X”：REASON for a single failure; otherwise
// 已<verb> N 个，M 个未能<verb>；“X”：REASON.
CStringW BatchStatusText(const char* verb, const BatchOutcome& outcome);

// While filtering: 显示 N / 共 M 个运行命令.
CStringW FilteredStatusText(int shown, int total);

// The outcome of an edit of `command` (rename to `detail`, new target
// `detail`, Path, copy to the scope named `detail`).
CStringW EditStatusText(const RunActionText& action, const CStringW& command, ChangeResult result,
                        const CStringW& detail);

// Why a change failed (one line): what EditStatusText says after the
// command, and the reason of a failure in an action on several entries.
CStringW ChangeFailureReason(ChangeResult result);

// Why the machine's launcher folder `folder` is not safe, as `verdict`
// found: 终端启动文件夹 FOLDER 不安全：REASON.
CStringW UnsafeFolderText(const CStringW& folder, const FolderVerdict& verdict);

// Why `command` cannot work in terminals (one line); empty when it can.
CStringW TerminalNameProblem(const CStringW& command);

// The console's lines for one command: what came of adding it (its
// target `target`), of deleting it, and of turning terminal use on or off
// (`launcher`: its launcher file). A failure's line may run to two lines.
CStringW AddOutcomeText(const CStringW& name, const CStringW& target, ChangeResult result);
CStringW DeleteFailureText(const RunBatchResult::Failure& failure);
CStringW TerminalOutcomeText(const RunEntry& entry, bool on, ChangeResult result, const CStringW& launcher);

// What came of changing the options of `command` (`launcher`: its
// launcher file, `target`: its program).
CStringW OptionsOutcomeText(const CStringW& command, const CStringW& target, ChangeResult result,
                            const CStringW& launcher);

// Export: 已导出 N 个运行命令到 FILE, and how many could not be read.
CStringW ExportStatusText(int exported, int unreadable, const CStringW& file);
// A file that could not be written or read: 未能<action>：FILE：REASON.
CStringW FileFailureText(const RunActionText& action, const CStringW& file, const CStringW& reason);

// Import: the refusal of a damaged file, naming its line; why an item is
// never written; the preview's summary; the outcome.
CStringW DamagedFileText(RegFileError error, int line);
const char* ImportRefusalText(ImportRefusal refusal) noexcept;
CStringW ImportSummaryText(int added, int replaced, int refused);
CStringW ImportOutcomeText(const ImportCounts& counts);
