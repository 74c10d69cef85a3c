#include "app/text/OutcomeText.h"

#include "app/runcmd/TerminalName.h"
#include "app/text/QuestionText.h"
#include "app/text/ViewText.h"
#include "base/language.h"

namespace {

using velmora::DecimalText;
using velmora::FillIn;
using velmora::WideFrom936;

CStringW Quoted(const CStringW& command) { return FillIn(WideFrom936("“%s”"), {command}); }

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
    CStringW text =
        FillIn(WideFrom936("共 %s 个运行命令"), {DecimalText(static_cast<long long>(entries.size()))});
    if (broken > 0) text += FillIn(WideFrom936("，%s 个失效"), {DecimalText(broken)});
    if (shadowed > 0) text += FillIn(WideFrom936("，%s 个被覆盖"), {DecimalText(shadowed)});
    if (taken > 0)
        text +=
            FillIn(WideFrom936(velmora::Text{"，%s 个名称被占用", ", %s names taken"}), {DecimalText(taken)});
    if (unreadable > 0) text += FillIn(WideFrom936("，%s 项无法读取"), {DecimalText(unreadable)});
    return text;
}

CStringW FilteredStatusText(int shown, int total) {
    return FillIn(WideFrom936("显示 %s / 共 %s 个运行命令"), {DecimalText(shown), DecimalText(total)});
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
        return FillIn(WideFrom936("已%s %s 个运行命令"), {strVerb, DecimalText(outcome.done)});
    if (outcome.done == 0 && outcome.failed == 1) {
        return FillIn(WideFrom936("未能%s%s：%s"),
                      {strVerb, Quoted(outcome.firstFailedCommand), outcome.firstFailureReason});
    }
    return FillIn(WideFrom936("已%s %s 个，%s 个未能%s；%s：%s"),
                  {strVerb, DecimalText(outcome.done), DecimalText(outcome.failed), strVerb,
                   Quoted(outcome.firstFailedCommand), outcome.firstFailureReason});
}

CStringW TerminalNameProblem(const CStringW& command) {
    const char* text = nullptr;
    switch (CheckTerminalName(command)) {
        case TerminalNameCheck::kFits:
            return CStringW();
        case TerminalNameCheck::kGrouped:
            text = "“%s”带有分组，终端里只能用不带分组的名称";
            break;
        case TerminalNameCheck::kReserved:
            text = "“%s”是系统保留的设备名，不能作为终端命令";
            break;
        case TerminalNameCheck::kBadCharacter:
            text = "“%s”含有文件名不能用的字符，不能作为终端命令";
            break;
        case TerminalNameCheck::kBadEnd:
            text = "“%s”以点或空格结尾，不能作为终端命令";
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
                return FillIn(WideFrom936("已将%s重命名为%s"), {Quoted(command), Quoted(detail)});
            if (&action == &kChangeTargetAction)
                return FillIn(WideFrom936("已将%s的目标改为：%s"), {Quoted(command), detail});
            return FillIn(WideFrom936("已%s：%s"), {verb, Quoted(command)});
        case ChangeResult::kUnchanged:
            return FillIn(WideFrom936("%s没有变化"), {Quoted(command)});
        case ChangeResult::kDeclined:
            return FillIn(WideFrom936("未%s%s"), {verb, Quoted(command)});
        case ChangeResult::kInvalidName:
            if (&action == &kChangeTargetAction)
                return FillIn(WideFrom936("未能%s%s：目标不能为空"), {verb, Quoted(command)});
            return FillIn(WideFrom936("未能%s%s：名称%s不能作为运行命令"),
                          {verb, Quoted(command), Quoted(detail)});
        case ChangeResult::kNotForTerminal:
            // The name that cannot be: the new one of a rename, else the command's.
            return FillIn(
                WideFrom936("未能%s%s：%s"),
                {verb, Quoted(command), TerminalNameProblem(&action == &kRenameAction ? detail : command)});
        default:
            return FillIn(WideFrom936("未能%s%s：%s"), {verb, Quoted(command), ChangeFailureReason(result)});
    }
}

CStringW ChangeFailureReason(ChangeResult result) {
    switch (result) {
        case ChangeResult::kNotFound:
            return WideFrom936("该运行命令已不在注册表中，请刷新");
        case ChangeResult::kInvalidName:
            return WideFrom936("名称不能作为运行命令");
        case ChangeResult::kRegistryFailed:
            return WideFrom936("注册表拒绝了修改，一切保持原样");
        case ChangeResult::kNotForTerminal:
            return WideFrom936("该命令可在终端中使用，新名称不能作为终端命令");
        case ChangeResult::kNotAProgram:
            return WideFrom936("目标不是可以启动的程序");
        case ChangeResult::kNeedsAdministrator:
            return WideFrom936("修改本机的运行命令需要管理员权限");
        case ChangeResult::kLauncherFailed:
            return WideFrom936("无法写入或删除终端启动文件（可能正在运行），未做修改");
        case ChangeResult::kFolderUnsafe:
            return WideFrom936(
                "本机的终端启动文件夹可被管理员以外的用户修改，且无法修正（需要管理员权限），未做修改");
        default:
            return CStringW();
    }
}

CStringW UnsafeFolderText(const CStringW& folder, const FolderVerdict& verdict) {
    // The first of the rights that let someone else in, worded.
    static constexpr struct {
        std::uint32_t mask;
        const char* words;
    } kRightWords[] = {
        {0x00000002u, "在其中创建文件"}, {0x00000004u, "在其中创建文件夹"}, {0x00000040u, "删除其中的文件"},
        {0x00010000u, "删除或改名它"},   {0x00040000u, "修改它的权限"},     {0x00080000u, "取得它的所有权"},
        {0x10000000u, "完全控制它"},     {0x40000000u, "写入它"},
    };
    CStringW reason;
    switch (verdict.flaw) {
        case FolderFlaw::kNone:
            return CStringW();
        case FolderFlaw::kUnreadable:
            reason = WideFrom936("读不出它的权限");
            break;
        case FolderFlaw::kLink:
            reason = WideFrom936("它不是普通文件夹（是链接、联接点或文件）");
            break;
        case FolderFlaw::kOwner:
            reason = FillIn(WideFrom936("它的所有者是 %s，不是 Administrators 或 SYSTEM"),
                            {SidDisplayName(verdict.who)});
            break;
        case FolderFlaw::kNoDacl:
            reason = WideFrom936("它没有访问控制列表，任何人都能修改");
            break;
        case FolderFlaw::kGrants:
            for (const auto& right : kRightWords) {
                if ((verdict.rights & right.mask) == 0) continue;
                reason =
                    FillIn(WideFrom936("%s 可以%s"), {SidDisplayName(verdict.who), WideFrom936(right.words)});
                break;
            }
            break;
    }
    return FillIn(WideFrom936("终端启动文件夹 %s 不安全：%s"), {folder, reason});
}

CStringW AddOutcomeText(const CStringW& name, const CStringW& target, ChangeResult result) {
    switch (result) {
        case ChangeResult::kNotForTerminal:
            return TerminalNameProblem(name);
        case ChangeResult::kNotAProgram:
            return FillIn(WideFrom936("“%s”不是可以启动的程序，不能在终端中使用"), {target});
        case ChangeResult::kRegistryFailed:
            return FillIn(WideFrom936("未能添加“%s”：注册表拒绝了写入，未做修改"), {name});
        case ChangeResult::kLauncherFailed:
            // Written, then put back: nothing of it stays.
            return FillIn(WideFrom936("未能添加“%s”：无法写入终端启动文件\n已撤销添加“%s”"), {name, name});
        case ChangeResult::kDone:
        case ChangeResult::kUnchanged:
        case ChangeResult::kDeclined:
            return CStringW();
        default:
            return FillIn(WideFrom936("未能添加“%s”：%s\n已撤销添加“%s”"),
                          {name, ChangeFailureReason(result), name});
    }
}

CStringW OptionsOutcomeText(const CStringW& command, const CStringW& target, ChangeResult result,
                            const CStringW& launcher) {
    switch (result) {
        case ChangeResult::kDone:
            return FillIn(WideFrom936("已设置“%s”的选项"), {command});
        case ChangeResult::kNotForTerminal:
            return FillIn(WideFrom936("未能设置“%s”的选项：%s"), {command, TerminalNameProblem(command)});
        case ChangeResult::kNotAProgram:
            return FillIn(WideFrom936("未能设置“%s”的选项：目标不是可以启动的程序：%s"), {command, target});
        case ChangeResult::kInvalidName:
            return FillIn(WideFrom936("未能设置“%s”的选项：环境变量应为 NAME=VALUE"), {command});
        case ChangeResult::kLauncherFailed:
            return FillIn(
                WideFrom936("未能设置“%s”的选项：无法写入或删除启动文件（可能正在运行）：%s，未做修改"),
                {command, launcher});
        default:
            return EditStatusText(kOptionsAction, command, result, CStringW());
    }
}

CStringW DeleteFailureText(const RunBatchResult::Failure& failure) {
    if (failure.result == ChangeResult::kLauncherFailed)
        return FillIn(WideFrom936("未能删除“%s”：无法删除它的终端启动文件（可能正在运行）"),
                      {failure.entry.command});
    if (failure.status != kRegistrySuccess)
        return FillIn(WideFrom936("未能删除“%s”：注册表错误 %s"),
                      {failure.entry.command, DecimalText(failure.status)});
    return EditStatusText(kDeleteAction, failure.entry.command, failure.result, CStringW());
}

CStringW TerminalOutcomeText(const RunEntry& entry, bool on, ChangeResult result, const CStringW& launcher) {
    const CStringW& command = entry.command;
    switch (result) {
        case ChangeResult::kDone:
        case ChangeResult::kUnchanged:
            if (on) {
                return FillIn(WideFrom936("“%s”可在终端中使用（%s）：%s"),
                              {command, WideFrom936(ScopeText(entry.scope)), launcher});
            }
            return FillIn(WideFrom936(result == ChangeResult::kDone ? "“%s”不再在终端中可用"
                                                                    : "“%s”本来就不在终端中可用"),
                          {command});
        case ChangeResult::kNotForTerminal:
            return TerminalNameProblem(command);
        case ChangeResult::kNotAProgram:
            return FillIn(WideFrom936("“%s”的目标不是可以启动的程序，不能在终端中使用：%s"),
                          {command, entry.target});
        case ChangeResult::kLauncherFailed:
            return on ? FillIn(WideFrom936("无法写入终端启动文件：%s，未做修改"), {launcher})
                      : FillIn(WideFrom936("无法删除“%s”的终端启动文件（可能正在运行）：%s，未做修改"),
                               {command, launcher});
        case ChangeResult::kRegistryFailed:
            return on ? FillIn(WideFrom936("未能标记“%s”或修改 PATH：注册表拒绝了修改，未做修改"), {command})
                      : FillIn(WideFrom936("未能修改“%s”：注册表拒绝了修改，一切保持原样"), {command});
        default:
            return FillIn(WideFrom936("未能修改“%s”：%s"), {command, ChangeFailureReason(result)});
    }
}

CStringW ExportStatusText(int exported, int unreadable, const CStringW& file) {
    CStringW text = FillIn(WideFrom936("已导出 %s 个运行命令到：%s"), {DecimalText(exported), file});
    if (unreadable > 0) text += FillIn(WideFrom936("（%s 个无法读取，未导出）"), {DecimalText(unreadable)});
    return text;
}

CStringW FileFailureText(const RunActionText& action, const CStringW& file, const CStringW& reason) {
    return FillIn(WideFrom936("未能%s：%s：%s"), {WideFrom936(action.name), file, reason});
}

namespace {

const char* RegFileErrorText(RegFileError error) noexcept {
    switch (error) {
        case RegFileError::kNone:
            return "";
        case RegFileError::kBadHeader:
            return "不是注册表文件（文件头不对）";
        case RegFileError::kCutOff:
            return "文件不完整，在这一行中断";
        case RegFileError::kBadKeyLine:
            return "键名行有误";
        case RegFileError::kBadEscape:
            return "转义字符有误";
        case RegFileError::kBadString:
            return "引号没有闭合";
        case RegFileError::kBadHex:
            return "十六进制数据有误";
        case RegFileError::kBadDword:
            return "dword 数值有误";
        case RegFileError::kBadType:
            return "值类型有误";
        case RegFileError::kBadLine:
            return "无法识别这一行";
        case RegFileError::kValueOutsideKey:
            return "值不在任何键下";
    }
    return "";
}

}  // namespace

CStringW DamagedFileText(RegFileError error, int line) {
    return FillIn(WideFrom936("文件已损坏，未导入任何内容。\n第 %s 行：%s"),
                  {DecimalText(line), WideFrom936(RegFileErrorText(error))});
}

const char* ImportRefusalText(ImportRefusal refusal) noexcept {
    switch (refusal) {
        case ImportRefusal::kNone:
            return "";
        case ImportRefusal::kOutsideAppPaths:
            return "不在 App Paths 下，不会写入";
        case ImportRefusal::kNotAnEntry:
            return "不是运行命令，不会写入";
        case ImportRefusal::kScopeNotWritable:
            return "写入本机需要管理员权限，不会写入";
        case ImportRefusal::kDeletion:
            return "要求删除注册表内容，不会执行";
    }
    return "";
}

CStringW ImportSummaryText(int added, int replaced, int refused) {
    CStringW text =
        FillIn(WideFrom936("将添加 %s 个运行命令，替换 %s 个"), {DecimalText(added), DecimalText(replaced)});
    if (replaced > 0) text += WideFrom936("（取消勾选的不会替换）");
    if (refused > 0) text += FillIn(WideFrom936("；%s 项不会写入"), {DecimalText(refused)});
    return text + WideFrom936("。");
}

CStringW ImportOutcomeText(const ImportCounts& counts) {
    CStringW text =
        FillIn(WideFrom936("已添加 %s 个，替换 %s 个，跳过 %s 个运行命令"),
               {DecimalText(counts.added), DecimalText(counts.replaced), DecimalText(counts.skipped)});
    if (counts.failed > 0) text += FillIn(WideFrom936("，%s 个未能写入"), {DecimalText(counts.failed)});
    return text;
}
