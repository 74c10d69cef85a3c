#include "app/text/OutcomeText.h"

#include "app/runcmd/TerminalName.h"
#include "app/text/QuestionText.h"
#include "app/text/ViewText.h"
#include "base/language.h"

namespace {

using velmora::DecimalText;
using velmora::FillIn;
using velmora::Text;
using velmora::WideFrom936;

CStringW Quoted(const CStringW& command) { return FillIn(WideFrom936(Text{"“%s”", "\"%s\""}), {command}); }

}  // namespace

CStringW ListingStatusText(const std::vector<RunEntry>& entries, int unreadable) {
    int broken = 0;
    int shadowed = 0;
    int taken = 0;
    for (const RunEntry& entry : entries) {
        broken += entry.broken ? 1 : 0;
        shadowed += entry.shadowed ? 1 : 0;
        taken += entry.runTakenBy.IsEmpty() ? 0 : 1;
    }
    CStringW text = FillIn(WideFrom936(Text{"共 %s 个运行命令", "%s run commands"}),
                           {DecimalText(static_cast<long long>(entries.size()))});
    if (broken > 0) text += FillIn(WideFrom936(Text{"，%s 个失效", ", %s broken"}), {DecimalText(broken)});
    if (shadowed > 0)
        text += FillIn(WideFrom936(Text{"，%s 个被覆盖", ", %s overridden"}), {DecimalText(shadowed)});
    if (taken > 0)
        text += FillIn(WideFrom936(Text{"，%s 个名称被占用", ", %s names taken"}), {DecimalText(taken)});
    if (unreadable > 0)
        text += FillIn(WideFrom936(Text{"，%s 项无法读取", ", %s unreadable"}), {DecimalText(unreadable)});
    return text;
}

CStringW FilteredStatusText(int shown, int total) {
    return FillIn(WideFrom936(Text{"显示 %s / 共 %s 个运行命令", "Showing %s of %s run commands"}),
                  {DecimalText(shown), DecimalText(total)});
}

BatchOutcome BatchOutcomeOf(const RunBatchResult& result, const std::function<CStringW(long)>& errorText) {
    BatchOutcome outcome;
    outcome.done = static_cast<int>(result.done.size());
    outcome.failed = static_cast<int>(result.failures.size());
    if (!result.failures.empty()) {
        const RunBatchResult::Failure& first = result.failures.front();
        outcome.firstFailedCommand = first.entry.command;
        outcome.firstFailureReason = first.status != kRegistrySuccess ? errorText(first.status)
                                     : first.result == ChangeResult::kNotForTerminal
                                         ? TerminalNameProblem(first.entry.command)
                                         : ChangeFailureReason(first.result);
    }
    return outcome;
}

CStringW BatchStatusText(const char* verb, const BatchOutcome& outcome) {
    const CStringW strVerb = WideFrom936(verb);
    if (outcome.failed == 0)
        return FillIn(WideFrom936(Text{"已%s %s 个运行命令", "%s: done for %s run commands"}),
                      {strVerb, DecimalText(outcome.done)});
    if (outcome.done == 0 && outcome.failed == 1) {
        return FillIn(WideFrom936(Text{"未能%s%s：%s", "%s failed for %s: %s"}),
                      {strVerb, Quoted(outcome.firstFailedCommand), outcome.firstFailureReason});
    }
    return FillIn(WideFrom936(Text{"已%s %s 个，%s 个未能%s；%s：%s",
                                   "%s: done for %s, not for %s (%s failed for %s: %s)"}),
                  {strVerb, DecimalText(outcome.done), DecimalText(outcome.failed), strVerb,
                   Quoted(outcome.firstFailedCommand), outcome.firstFailureReason});
}

CStringW TerminalNameProblem(const CStringW& command) {
    const char* text = nullptr;
    switch (CheckTerminalName(command)) {
        case TerminalNameCheck::kFits:
            return CStringW();
        case TerminalNameCheck::kGrouped:
            text = Text{"“%s”带有分组，终端里只能用不带分组的名称",
                        "\"%s\" has a group; terminals only take names without a group"};
            break;
        case TerminalNameCheck::kReserved:
            text = Text{"“%s”是系统保留的设备名，不能作为终端命令",
                        "\"%s\" is a device name reserved by the system and cannot be a terminal command"};
            break;
        case TerminalNameCheck::kBadCharacter:
            text =
                Text{"“%s”含有文件名不能用的字符，不能作为终端命令",
                     "\"%s\" has characters that a file name cannot have and cannot be a terminal command"};
            break;
        case TerminalNameCheck::kBadEnd:
            text = Text{"“%s”以点或空格结尾，不能作为终端命令",
                        "\"%s\" ends in a dot or a space and cannot be a terminal command"};
            break;
    }
    return FillIn(WideFrom936(text), {command});
}

CStringW EditStatusText(const RunActionText& action, const CStringW& command, ChangeResult result,
                        const CStringW& detail) {
    const CStringW verb = WideFrom936(action.name);
    switch (result) {
        case ChangeResult::kDone:
            if (&action == &kRenameAction)
                return FillIn(WideFrom936(Text{"已将%s重命名为%s", "Renamed %s to %s"}),
                              {Quoted(command), Quoted(detail)});
            if (&action == &kChangeTargetAction)
                return FillIn(WideFrom936(Text{"已将%s的目标改为：%s", "Changed the target of %s to: %s"}),
                              {Quoted(command), detail});
            return FillIn(WideFrom936(Text{"已%s：%s", "%s done: %s"}), {verb, Quoted(command)});
        case ChangeResult::kUnchanged:
            return FillIn(WideFrom936(Text{"%s没有变化", "%s is unchanged"}), {Quoted(command)});
        case ChangeResult::kDeclined:
            return FillIn(WideFrom936(Text{"未%s%s", "%s cancelled for %s"}), {verb, Quoted(command)});
        case ChangeResult::kInvalidName:
            if (&action == &kChangeTargetAction)
                return FillIn(WideFrom936(Text{"未能%s%s：目标不能为空",
                                               "%s failed for %s: the target cannot be empty"}),
                              {verb, Quoted(command)});
            return FillIn(WideFrom936(Text{"未能%s%s：名称%s不能作为运行命令",
                                           "%s failed for %s: the name %s cannot be a run command"}),
                          {verb, Quoted(command), Quoted(detail)});
        case ChangeResult::kNotForTerminal:
            // The name that cannot be: the new one of a rename, else the command's.
            return FillIn(
                WideFrom936(Text{"未能%s%s：%s", "%s failed for %s: %s"}),
                {verb, Quoted(command), TerminalNameProblem(&action == &kRenameAction ? detail : command)});
        default:
            return FillIn(WideFrom936(Text{"未能%s%s：%s", "%s failed for %s: %s"}),
                          {verb, Quoted(command), ChangeFailureReason(result)});
    }
}

CStringW ChangeFailureReason(ChangeResult result) {
    switch (result) {
        case ChangeResult::kNotFound:
            return WideFrom936(Text{"该运行命令已不在注册表中，请刷新",
                                    "The run command is no longer in the registry; please refresh"});
        case ChangeResult::kInvalidName:
            return WideFrom936(Text{"名称不能作为运行命令", "The name cannot be a run command"});
        case ChangeResult::kRegistryFailed:
            return WideFrom936(Text{"注册表拒绝了修改，一切保持原样",
                                    "The registry refused the change; everything stays as it was"});
        case ChangeResult::kNotForTerminal:
            return WideFrom936(
                Text{"该命令可在终端中使用，新名称不能作为终端命令",
                     "The command works in terminals and the new name cannot be a terminal command"});
        case ChangeResult::kNotAProgram:
            return WideFrom936(
                Text{"目标不是可以启动的程序", "The target is not a program that can be started"});
        case ChangeResult::kNeedsAdministrator:
            return WideFrom936(Text{"修改本机的运行命令需要管理员权限",
                                    "Changing this computer's run commands requires administrator rights"});
        case ChangeResult::kLauncherFailed:
            return WideFrom936(Text{
                "无法写入或删除终端启动文件（可能正在运行），未做修改",
                "Could not write or delete the terminal launcher (it may be running); nothing was changed"});
        case ChangeResult::kFolderUnsafe:
            return WideFrom936(Text{
                "本机的终端启动文件夹可被管理员以外的用户修改，且无法修正（需要管理员权限），未做修改",
                "This computer's terminal launcher folder can be changed by users other than administrators "
                "and cannot be fixed (that requires administrator rights); nothing was changed"});
        default:
            return CStringW();
    }
}

CStringW UnsafeFolderText(const CStringW& folder, const FolderVerdict& verdict) {
    // The first of the rights that let someone else in, worded.
    static constexpr struct {
        std::uint32_t mask;
        Text words;
    } kRightWords[] = {
        {0x00000002u, Text{"在其中创建文件", "create files in it"}},
        {0x00000004u, Text{"在其中创建文件夹", "create folders in it"}},
        {0x00000040u, Text{"删除其中的文件", "delete files in it"}},
        {0x00010000u, Text{"删除或改名它", "delete or rename it"}},
        {0x00040000u, Text{"修改它的权限", "change its permissions"}},
        {0x00080000u, Text{"取得它的所有权", "take ownership of it"}},
        {0x10000000u, Text{"完全控制它", "fully control it"}},
        {0x40000000u, Text{"写入它", "write to it"}},
    };
    CStringW reason;
    switch (verdict.flaw) {
        case FolderFlaw::kNone:
            return CStringW();
        case FolderFlaw::kUnreadable:
            reason = WideFrom936(Text{"读不出它的权限", "its permissions cannot be read"});
            break;
        case FolderFlaw::kLink:
            reason = WideFrom936(Text{"它不是普通文件夹（是链接、联接点或文件）",
                                      "it is not a plain folder (it is a link, a junction or a file)"});
            break;
        case FolderFlaw::kOwner:
            reason = FillIn(WideFrom936(Text{"它的所有者是 %s，不是 Administrators 或 SYSTEM",
                                             "its owner is %s, not Administrators or SYSTEM"}),
                            {SidDisplayName(verdict.who)});
            break;
        case FolderFlaw::kNoDacl:
            reason = WideFrom936(Text{"它没有访问控制列表，任何人都能修改",
                                      "it has no access control list; anyone can change it"});
            break;
        case FolderFlaw::kGrants:
            for (const auto& right : kRightWords) {
                if ((verdict.rights & right.mask) == 0) continue;
                reason = FillIn(WideFrom936(Text{"%s 可以%s", "%s can %s"}),
                                {SidDisplayName(verdict.who), WideFrom936(right.words)});
                break;
            }
            break;
    }
    return FillIn(
        WideFrom936(Text{"终端启动文件夹 %s 不安全：%s", "The terminal launcher folder %s is not safe: %s"}),
        {folder, reason});
}

CStringW AddOutcomeText(const CStringW& name, const CStringW& target, ChangeResult result) {
    switch (result) {
        case ChangeResult::kNotForTerminal:
            return TerminalNameProblem(name);
        case ChangeResult::kNotAProgram:
            return FillIn(WideFrom936(Text{
                              "“%s”不是可以启动的程序，不能在终端中使用",
                              "\"%s\" is not a program that can be started and cannot be used in terminals"}),
                          {target});
        case ChangeResult::kRegistryFailed:
            return FillIn(WideFrom936(Text{
                              "未能添加“%s”：注册表拒绝了写入，未做修改",
                              "Could not add \"%s\": the registry refused the write; nothing was changed"}),
                          {name});
        case ChangeResult::kLauncherFailed:
            // Written, then put back: nothing of it stays.
            return FillIn(WideFrom936(Text{"未能添加“%s”：无法写入终端启动文件\n已撤销添加“%s”",
                                           "Could not add \"%s\": could not write the terminal launcher\nThe "
                                           "adding of \"%s\" was undone"}),
                          {name, name});
        case ChangeResult::kDone:
        case ChangeResult::kUnchanged:
        case ChangeResult::kDeclined:
            return CStringW();
        default:
            return FillIn(WideFrom936(Text{"未能添加“%s”：%s\n已撤销添加“%s”",
                                           "Could not add \"%s\": %s\nThe adding of \"%s\" was undone"}),
                          {name, ChangeFailureReason(result), name});
    }
}

CStringW OptionsOutcomeText(const CStringW& command, const CStringW& target, ChangeResult result,
                            const CStringW& launcher) {
    switch (result) {
        case ChangeResult::kDone:
            return FillIn(WideFrom936(Text{"已设置“%s”的选项", "Set the options of \"%s\""}), {command});
        case ChangeResult::kNotForTerminal:
            return FillIn(
                WideFrom936(Text{"未能设置“%s”的选项：%s", "Could not set the options of \"%s\": %s"}),
                {command, TerminalNameProblem(command)});
        case ChangeResult::kNotAProgram:
            return FillIn(WideFrom936(Text{"未能设置“%s”的选项：目标不是可以启动的程序：%s",
                                           "Could not set the options of \"%s\": the target is not a program "
                                           "that can be started: %s"}),
                          {command, target});
        case ChangeResult::kInvalidName:
            return FillIn(
                WideFrom936(
                    Text{"未能设置“%s”的选项：环境变量应为 NAME=VALUE",
                         "Could not set the options of \"%s\": an environment variable must be NAME=VALUE"}),
                {command});
        case ChangeResult::kLauncherFailed:
            return FillIn(
                WideFrom936(Text{"未能设置“%s”的选项：无法写入或删除启动文件（可能正在运行）：%s，未做修改",
                                 "Could not set the options of \"%s\": could not write or delete the "
                                 "launcher (it may be running): %s; nothing was changed"}),
                {command, launcher});
        default:
            return EditStatusText(kOptionsAction, command, result, CStringW());
    }
}

CStringW DeleteFailureText(const RunBatchResult::Failure& failure) {
    if (failure.result == ChangeResult::kLauncherFailed)
        return FillIn(
            WideFrom936(
                Text{"未能删除“%s”：无法删除它的终端启动文件（可能正在运行）",
                     "Could not delete \"%s\": could not delete its terminal launcher (it may be running)"}),
            {failure.entry.command});
    if (failure.status != kRegistrySuccess)
        return FillIn(
            WideFrom936(Text{"未能删除“%s”：注册表错误 %s", "Could not delete \"%s\": registry error %s"}),
            {failure.entry.command, DecimalText(failure.status)});
    return EditStatusText(kDeleteAction, failure.entry.command, failure.result, CStringW());
}

CStringW TerminalOutcomeText(const RunEntry& entry, bool on, ChangeResult result, const CStringW& launcher) {
    const CStringW& command = entry.command;
    switch (result) {
        case ChangeResult::kDone:
        case ChangeResult::kUnchanged:
            if (on) {
                return FillIn(
                    WideFrom936(Text{"“%s”可在终端中使用（%s）：%s", "\"%s\" works in terminals (%s): %s"}),
                    {command, WideFrom936(ScopeText(entry.scope)), launcher});
            }
            return FillIn(
                WideFrom936(
                    result == ChangeResult::kDone
                        ? Text{"“%s”不再在终端中可用", "\"%s\" no longer works in terminals"}
                        : Text{"“%s”本来就不在终端中可用", "\"%s\" did not work in terminals anyway"}),
                {command});
        case ChangeResult::kNotForTerminal:
            return TerminalNameProblem(command);
        case ChangeResult::kNotAProgram:
            return FillIn(WideFrom936(Text{"“%s”的目标不是可以启动的程序，不能在终端中使用：%s",
                                           "The target of \"%s\" is not a program that can be started and "
                                           "cannot be used in terminals: %s"}),
                          {command, entry.target});
        case ChangeResult::kLauncherFailed:
            return on ? FillIn(WideFrom936(
                                   Text{"无法写入终端启动文件：%s，未做修改",
                                        "Could not write the terminal launcher: %s; nothing was changed"}),
                               {launcher})
                      : FillIn(WideFrom936(Text{"无法删除“%s”的终端启动文件（可能正在运行）：%s，未做修改",
                                                "Could not delete the terminal launcher of \"%s\" (it may be "
                                                "running): %s; nothing was changed"}),
                               {command, launcher});
        case ChangeResult::kRegistryFailed:
            return on ? FillIn(WideFrom936(Text{"未能标记“%s”或修改 PATH：注册表拒绝了修改，未做修改",
                                                "Could not mark \"%s\" or change PATH: the registry refused "
                                                "the change; nothing was changed"}),
                               {command})
                      : FillIn(WideFrom936(Text{"未能修改“%s”：注册表拒绝了修改，一切保持原样",
                                                "Could not change \"%s\": the registry refused the change; "
                                                "everything stays as it was"}),
                               {command});
        default:
            return FillIn(WideFrom936(Text{"未能修改“%s”：%s", "Could not change \"%s\": %s"}),
                          {command, ChangeFailureReason(result)});
    }
}

CStringW ExportStatusText(int exported, int unreadable, const CStringW& file) {
    CStringW text = FillIn(WideFrom936(Text{"已导出 %s 个运行命令到：%s", "Exported %s run commands to: %s"}),
                           {DecimalText(exported), file});
    if (unreadable > 0)
        text += FillIn(WideFrom936(Text{"（%s 个无法读取，未导出）", " (%s unreadable, not exported)"}),
                       {DecimalText(unreadable)});
    return text;
}

CStringW FileFailureText(const RunActionText& action, const CStringW& file, const CStringW& reason) {
    return FillIn(WideFrom936(Text{"未能%s：%s：%s", "%s failed: %s: %s"}),
                  {WideFrom936(action.name), file, reason});
}

namespace {

const char* RegFileErrorText(RegFileError error) noexcept {
    switch (error) {
        case RegFileError::kNone:
            return "";
        case RegFileError::kBadHeader:
            return Text{"不是注册表文件（文件头不对）", "not a registry file (wrong header)"};
        case RegFileError::kCutOff:
            return Text{"文件不完整，在这一行中断", "the file is incomplete and breaks off in this line"};
        case RegFileError::kBadKeyLine:
            return Text{"键名行有误", "bad key line"};
        case RegFileError::kBadEscape:
            return Text{"转义字符有误", "bad escape character"};
        case RegFileError::kBadString:
            return Text{"引号没有闭合", "unclosed quote"};
        case RegFileError::kBadHex:
            return Text{"十六进制数据有误", "bad hexadecimal data"};
        case RegFileError::kBadDword:
            return Text{"dword 数值有误", "bad dword value"};
        case RegFileError::kBadType:
            return Text{"值类型有误", "bad value type"};
        case RegFileError::kBadLine:
            return Text{"无法识别这一行", "the line cannot be read"};
        case RegFileError::kValueOutsideKey:
            return Text{"值不在任何键下", "a value outside any key"};
    }
    return "";
}

}  // namespace

CStringW DamagedFileText(RegFileError error, int line) {
    return FillIn(WideFrom936(Text{"文件已损坏，未导入任何内容。\n第 %s 行：%s",
                                   "The file is damaged; nothing was imported.\nLine %s: %s"}),
                  {DecimalText(line), WideFrom936(RegFileErrorText(error))});
}

const char* ImportRefusalText(ImportRefusal refusal) noexcept {
    switch (refusal) {
        case ImportRefusal::kNone:
            return "";
        case ImportRefusal::kOutsideAppPaths:
            return Text{"不在 App Paths 下，不会写入", "not under App Paths; will not be written"};
        case ImportRefusal::kNotAnEntry:
            return Text{"不是运行命令，不会写入", "not a run command; will not be written"};
        case ImportRefusal::kScopeNotWritable:
            return Text{"写入本机需要管理员权限，不会写入",
                        "writing to this computer requires administrator rights; will not be written"};
        case ImportRefusal::kDeletion:
            return Text{"要求删除注册表内容，不会执行", "asks to delete registry content; will not be done"};
    }
    return "";
}

CStringW ImportSummaryText(int added, int replaced, int refused) {
    CStringW text = FillIn(
        WideFrom936(Text{"将添加 %s 个运行命令，替换 %s 个", "Run commands to add: %s, to replace: %s"}),
        {DecimalText(added), DecimalText(replaced)});
    if (replaced > 0) text += WideFrom936(Text{"（取消勾选的不会替换）", " (unchecked ones stay)"});
    if (refused > 0)
        text += FillIn(WideFrom936(Text{"；%s 项不会写入", "; not written: %s"}), {DecimalText(refused)});
    return text + WideFrom936(Text{"。", "."});
}

CStringW ImportOutcomeText(const ImportCounts& counts) {
    CStringW text =
        FillIn(WideFrom936(Text{"已添加 %s 个，替换 %s 个，跳过 %s 个运行命令",
                                "Added %s, replaced %s, skipped %s run commands"}),
               {DecimalText(counts.added), DecimalText(counts.replaced), DecimalText(counts.skipped)});
    if (counts.failed > 0)
        text += FillIn(WideFrom936(Text{"，%s 个未能写入", ", %s could not be written"}),
                       {DecimalText(counts.failed)});
    return text;
}
