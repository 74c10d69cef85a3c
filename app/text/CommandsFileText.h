// The words of the commands file and of applying it: why a file is refused
// (with its line and column), why a command is skipped, and the lines of a
// plan and of its outcome. Each text in Chinese and English.
#pragma once

#include "app/runcmd/CommandsApply.h"
#include "app/runcmd/CommandsFile.h"
#include "base/language.h"
#include "base/wide_text.h"

// "第 L 行第 C 列：WHY" for a refused file.
CStringW CommandsFileErrorText(const CommandsFileRead& read);

// Why a step is skipped.
CStringW ApplySkipText(ApplySkip skip);

// The plan's line of a step: "+ NAME (SCOPE): PROGRAM", "~ NAME (SCOPE):
// FIELD, FIELD", "- NAME (SCOPE): PROGRAM", "! NAME (SCOPE): WHY"; an
// in-step command has none (empty).
CStringW ApplyStepLine(const ApplyStep& step);

// The outcome of a carried-out step that failed: "NAME: REASON".
CStringW ApplyFailureLine(const ApplyStep& step);

namespace commands_text {

inline constexpr velmora::Text kPlanSummary{"将添加 %s 个，修改 %s 个，删除 %s 个，跳过 %s 个，%s 个无需修改",
                                            "To add %s, to change %s, to remove %s, skipped %s, %s in step"};
inline constexpr velmora::Text kDoneSummary{"已添加 %s 个，修改 %s 个，删除 %s 个，跳过 %s 个，%s 个无需修改",
                                            "Added %s, changed %s, removed %s, skipped %s, %s in step"};
inline constexpr velmora::Text kFailedSummary{"%s 个运行命令未能应用，它们保持原样",
                                              "%s commands could not be applied and are as they were"};
inline constexpr velmora::Text kDryRun{"（试运行，未做任何修改）", " (dry run: nothing was written)"};
inline constexpr velmora::Text kNothingWritten{"未做任何修改", "Nothing was written"};
inline constexpr velmora::Text kRefusedFile{"无法应用“%s”：%s", "Cannot apply \"%s\": %s"};
inline constexpr velmora::Text kCannotRead{"无法读取文件：%s", "Cannot read the file: %s"};
inline constexpr velmora::Text kExportLeftOut{
    "未导出“%s”：目标“%s”不是程序的完整路径",
    "Left out \"%s\": its target \"%s\" is not the full path of a program"};
inline constexpr velmora::Text kNoSuchCommand{"没有运行命令“%s”", "There is no run command \"%s\""};
inline constexpr velmora::Text kExportNeedsFile{"export 缺少参数：FILE（或加 --json）",
                                                "export needs FILE (or --json)"};
inline constexpr velmora::Text kNotAFolder{"找不到文件夹：%s", "No such folder: %s"};
inline constexpr velmora::Text kFolderAdd{"+ %s：%s", "+ %s: %s"};
inline constexpr velmora::Text kFolderTaken{"! %s：名称已指向 %s（要替换请加 --force）",
                                            "! %s: the name points at %s (--force replaces it)"};
inline constexpr velmora::Text kFolderBadName{
    "! %s：文件名不能作为命令名（为空或超过 25 个字符）",
    "! %s: the file name cannot be a command name (empty or over 25 "
    "characters)"};
inline constexpr velmora::Text kFolderFailed{"! %s：%s", "! %s: %s"};
inline constexpr velmora::Text kFolderSummary{"已添加 %s 个运行命令，跳过 %s 个，%s 个无需修改",
                                              "Added %s run commands, skipped %s, %s in step"};
inline constexpr velmora::Text kFolderPlanSummary{"将添加 %s 个运行命令，跳过 %s 个，%s 个无需修改",
                                                  "To add %s run commands, skipped %s, %s in step"};
inline constexpr velmora::Text kFolderEmpty{"文件夹中没有符合 %s 的程序：%s", "No program matching %s in %s"};

// apply's exit codes, after the others in the help.
inline constexpr velmora::Text kApplyExitCodes{
    "  10 apply：已一致，未写入     11 apply：已修改\n"
    "  12 apply --dry-run：有待修改  13 apply：失败（文件被拒绝，或有命令未能应用）\n",
    "  10 apply: in step, nothing written     11 apply: changed\n"
    "  12 apply --dry-run: changes pending    13 apply: failed (the file refused, or a command not "
    "applied)\n"};

// The verbs' help.
inline constexpr velmora::Text kExportHelp{
    "velmora export FILE [NAME...] [--user | --machine]\n"
    "velmora export --json [NAME...] [--user | --machine]\n"
    "  导出为注册表编辑器的 .reg 文件（UTF-16）；不指定名称时导出全部。\n"
    "  --json 把命令文件（JSON，UTF-8，见 apply）写到标准输出：velmora export --json > commands.json\n",
    "velmora export FILE [NAME...] [--user | --machine]\n"
    "velmora export --json [NAME...] [--user | --machine]\n"
    "  Exports to a .reg file of the registry editor (UTF-16), all commands unless names are given.\n"
    "  --json writes the commands file (JSON, UTF-8, see apply) to standard output: velmora export --json > "
    "commands.json\n"};
inline constexpr velmora::Text kApplyHelp{
    "velmora apply FILE [--dry-run] [--prune] [--user | --machine] [--json]\n"
    "  让本机的运行命令与命令文件（export --json 的格式）一致，每个命令一步，要么全部写入，要么不写。\n"
    "  已一致的命令不做任何写入；程序不存在的命令跳过并警告，除非文件标记它为 required。\n"
    "  --prune 删除以前由 apply 建立（键中有 VelmoraApplied 值）而文件中已没有的命令。\n"
    "  --dry-run 只显示计划：+ 添加，~ 修改（附字段），- 删除，! 跳过（附原因）。--json 输出 JSON。\n"
    "  --user / --machine 把文件中的每个命令放到该范围。\n"
    "  退出码：10 已一致，11 已修改，12 有待修改（--dry-run），13 失败（文件被拒绝或有命令未能应用）。\n",
    "velmora apply FILE [--dry-run] [--prune] [--user | --machine] [--json]\n"
    "  Makes the run commands match a commands file (the format of export --json), each command one step, "
    "all or nothing.\n"
    "  Commands already in step are not written; one whose program does not exist is skipped with a "
    "warning, unless the file marks it required.\n"
    "  --prune removes commands an earlier apply made (a VelmoraApplied value in their key) that the "
    "file no longer lists.\n"
    "  --dry-run prints the plan only: + add, ~ change (with the fields), - remove, ! skip (with why). "
    "--json "
    "prints JSON.\n"
    "  --user / --machine puts every command of the file in that scope.\n"
    "  Exit codes: 10 in step, 11 changed, 12 changes pending (--dry-run), 13 failed (the file refused or a "
    "command not applied).\n"};
inline constexpr velmora::Text kAddFolderHelp{
    "velmora add-folder DIR [--pattern GLOB] [--user | --machine] [--dry-run] [--force]\n"
    "  为文件夹中的每个程序（默认 *.exe，--pattern 可用 * 和 ?）添加一个运行命令，名称取自文件名。\n"
    "  已指向其他程序的名称跳过并列出（退出码 4），除非加 --force；--dry-run 只显示计划。\n",
    "velmora add-folder DIR [--pattern GLOB] [--user | --machine] [--dry-run] [--force]\n"
    "  Adds a run command for each program in the folder (*.exe, or --pattern with * and ?), named after "
    "the file.\n"
    "  Names that point at another program are skipped and listed (exit code 4) unless --force is given; "
    "--dry-run prints the plan only.\n"};

}  // namespace commands_text
