// The words of Velmora's views that the manager and the console share:
// the manager's title, column headings, cells and marks, its actions' names
// and menu items, labels, hints and file filters. Each is a velmora::Text:
// Chinese and English side by side, read in the current language.
#pragma once

#include "app/runcmd/RunEntries.h"
#include "app/runcmd/RunEntrySort.h"
#include "base/language.h"
#include "base/wide_text.h"

extern const velmora::Text kRunManagerTitle;  // 管理运行命令

// Heading of a column: 命令, 目标, 范围, 状态, 附加路径, 终端.
const velmora::Text& ColumnHeading(RunColumn column) noexcept;

// 失效, 被覆盖, both joined by "、", or empty; then 被占用 when the Run
// box starts something else for the command's name.
CStringW StateText(const RunEntry& entry);

// What the Run box starts instead of a command, with a hole for the file:
// a program or script found before App Paths, or an app execution alias.
const char* RunTakenText(bool alias) noexcept;

// The text of a cell.
CStringW CellText(const RunEntry& entry, RunColumn column);

// What a column shows whatever the entries are, for its width: its heading,
// and the scopes' names or the single state marks; the heading alone for the
// other columns.
std::vector<CStringW> FixedColumnTexts(RunColumn column);

// The terminal column: empty when the command is not for terminals, a check
// mark when it works there, else why not (被遮蔽 with the program that wins,
// or its launcher missing).
// The options of a command, one line each ("参数：…", "起始位置：…", one
// "环境变量：NAME=VALUE" for each variable, "以管理员身份运行"); none for a
// command without options.
std::vector<CStringW> OptionLines(const RunCommandOptions& options);
CStringW TerminalText(const RunEntry& entry);

// The filter field's label and the hint it shows while empty.
extern const velmora::Text kFilterLabel;  // 筛选：
extern const velmora::Text kFilterHint;   // 输入命令、目标或附加路径中的文字
extern const velmora::Text kNothingSelectedText;
// The failure of 打开位置 when neither the target nor its folder exists.
extern const velmora::Text kTargetMissingReason;

// The manager's actions: their names (the verbs of
// the status line and the captions of their questions) and their items in
// the context menu, with the key that does the same.
struct RunActionText {
    velmora::Text name;      // 重命名
    velmora::Text menuItem;  // 重命名(&M)\tF2
};
extern const RunActionText kRunAction;
extern const RunActionText kOpenLocationAction;
extern const RunActionText kRenameAction;
extern const RunActionText kChangeTargetAction;
extern const RunActionText kEditPathAction;
extern const RunActionText kOptionsAction;
extern const RunActionText kCopyToUserAction;
extern const RunActionText kCopyToMachineAction;
extern const RunActionText kDeleteAction;
extern const RunActionText kExportAction;
extern const RunActionText kImportAction;
extern const RunActionText kRefreshAction;
// Terminal use turned on, and off when every selected command has it.
extern const RunActionText kTerminalAction;
extern const RunActionText kTerminalOffAction;

// Asked of the actions that work on one entry when several are selected.
extern const velmora::Text kSelectOneText;  // 请只选择一个运行命令
// A dropped file that is not a program.
extern const velmora::Text kDropProgramText;  // 只能拖入程序（.exe）文件

// The preview list's columns and the item actions.
extern const velmora::Text kImportColumnCommand;  // 命令
extern const velmora::Text kImportColumnAction;   // 操作
extern const velmora::Text kImportColumnTarget;   // 目标
extern const velmora::Text kImportAdd;            // 添加
extern const velmora::Text kImportReplace;        // 替换
extern const velmora::Text kImportSkip;           // 跳过
extern const velmora::Text kImportButton;         // 导入
extern const velmora::Text kCancelButton;         // 取消
// The tool dialogs' 确定 and 浏览….
extern const velmora::Text kOkButton;
extern const velmora::Text kBrowseButton;
extern const velmora::Text kRegFileFilter;      // 注册表文件 (*.reg)|*.reg|...
extern const velmora::Text kProgramFileFilter;  // 程序 (*.exe)|*.exe|...
extern const velmora::Text kExportFileName;     // 运行命令.reg
