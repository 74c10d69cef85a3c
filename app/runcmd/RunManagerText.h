// The texts of the run-command manager, which the console program shares:
// column headings, scopes, marks, the delete question and the status line.
#pragma once

#include <functional>
#include <vector>

#include "app/runcmd/RunCommandBackup.h"
#include "app/runcmd/RunCommandEdit.h"
#include "app/runcmd/RunEntries.h"
#include "app/runcmd/RunCommandQuestions.h"
#include "app/runcmd/RunCommandStore.h"
#include "app/runcmd/RunEntrySort.h"
#include "base/wide_text.h"

extern const char* const kRunManagerTitle;        // 管理运行命令

// Heading of a column: 命令, 目标, 范围, 状态, 附加路径.
const char* ColumnHeading(RunColumn column) noexcept;

// 失效, 被覆盖, both joined by "、", or empty.
CStringW StateText(const RunEntry& entry);

// The text of a cell.
CStringW CellText(const RunEntry& entry, RunColumn column);

// The terminal column: empty when the command is not for terminals, a check
// mark when it works there, else why not (被遮蔽 with the program that wins,
// or its launcher missing).
CStringW TerminalText(const RunEntry& entry);

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
// code through `errorText` where it gave one, else EditFailureReason).
BatchOutcome BatchOutcomeOf(const RunBatchResult& result, const std::function<CStringW(long)>& errorText);
// 已<verb> N 个运行命令; 未能<verb>“X”：REASON for a single failure; otherwise
// 已<verb> N 个，M 个未能<verb>；“X”：REASON.
CStringW BatchStatusText(const char* verb, const BatchOutcome& outcome);

// Asked before starting or opening more than kManyEntries entries at once.
constexpr int kManyEntries = 5;
CStringW ManyEntriesQuestionText(const char* action, int count);

// The filter field's label and the hint it shows while empty.
extern const char* const kFilterLabel;  // 筛选：
extern const char* const kFilterHint;   // 输入命令、目标或附加路径中的文字
// While filtering: 显示 N / 共 M 个运行命令.
CStringW FilteredStatusText(int shown, int total);

extern const char* const kNothingSelectedText;
// The failure of 打开位置 when neither the target nor its folder exists.
extern const char* const kTargetMissingReason;

// The arguments that have Explorer open a folder with `file` selected.
CStringW ExplorerSelectArguments(const CStringW& file);

// The manager's actions: their names (the verbs of
// the status line and the captions of their questions) and their items in
// the context menu, with the key that does the same.
struct RunActionText {
    const char* name;      // 重命名
    const char* menuItem;  // 重命名(&M)\tF2
};
extern const RunActionText kRunAction;
extern const RunActionText kOpenLocationAction;
extern const RunActionText kRenameAction;
extern const RunActionText kChangeTargetAction;
extern const RunActionText kEditPathAction;
extern const RunActionText kCopyToUserAction;
extern const RunActionText kCopyToMachineAction;
extern const RunActionText kDeleteAction;
extern const RunActionText kExportAction;
extern const RunActionText kImportAction;
extern const RunActionText kRefreshAction;

// Asked of the actions that work on one entry when several are selected.
extern const char* const kSelectOneText;  // 请只选择一个运行命令
// A dropped file that is not a program.
extern const char* const kDropProgramText;  // 只能拖入程序（.exe）文件

// The outcome of an edit of `command` (rename to `detail`, new target
// `detail`, Path, copy to the scope named `detail`).
CStringW EditStatusText(const RunActionText& action, const CStringW& command, EditResult result,
                        const CStringW& detail);

// Why an edit failed, for the status line of an action on several entries:
// the reason EditStatusText gives after the command.
CStringW EditFailureReason(EditResult result);

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
// The preview list's columns and the item actions.
extern const char* const kImportColumnCommand;  // 命令
extern const char* const kImportColumnAction;   // 操作
extern const char* const kImportColumnTarget;   // 目标
extern const char* const kImportAdd;            // 添加
extern const char* const kImportReplace;        // 替换
extern const char* const kImportSkip;           // 跳过
extern const char* const kImportButton;         // 导入
extern const char* const kCancelButton;         // 取消
extern const char* const kRegFileFilter;        // 注册表文件 (*.reg)|*.reg|...
extern const char* const kProgramFileFilter;    // 程序 (*.exe)|*.exe|...
extern const char* const kExportFileName;       // 运行命令.reg
