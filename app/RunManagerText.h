// The texts of the run-command manager: column headings, scopes, marks, the
// delete question and the status line.
#pragma once

#include <vector>

#include "app/RunEntries.h"
#include "app/RunEntrySort.h"
#include "base/wide_text.h"

extern const char* const kRunManagerTitle;        // 管理运行命令
extern const char* const kDeleteQuestionCaption;  // 删除运行命令

// Heading of a column: 命令, 目标, 范围, 状态, 附加路径.
const char* ColumnHeading(RunColumn column) noexcept;

// 本机 or 当前用户.
const char* ScopeText(RunScope scope) noexcept;

// 失效, 被覆盖, both joined by "、", or empty.
CStringW StateText(const RunEntry& entry);

// The text of a cell.
CStringW CellText(const RunEntry& entry, RunColumn column);

// The delete question: one line per entry, command, scope and target, at most
// kDeleteQuestionLines of them and then how many more there are.
constexpr int kDeleteQuestionLines = 10;
CStringW DeleteQuestionText(const std::vector<const RunEntry*>& entries);

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
