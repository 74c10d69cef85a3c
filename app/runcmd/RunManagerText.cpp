#include "app/runcmd/RunManagerText.h"

#include "app/terminal/TerminalName.h"

const char* const kRunManagerTitle = "管理运行命令";
const char* const kNothingSelectedText = "请先在列表中选择运行命令";
const char* const kTargetMissingReason = "目标文件及其所在文件夹都不存在";
const char* const kFilterLabel = "筛选：";
const char* const kFilterHint = "输入命令、目标或附加路径中的文字";

namespace {

using velmora::DecimalText;
using velmora::FillIn;
using velmora::WideFrom936;

CStringW Quoted(const CStringW& command) { return FillIn(WideFrom936("“%s”"), {command}); }

}  // namespace

const char* ColumnHeading(RunColumn column) noexcept {
    switch (column) {
        case RunColumn::kCommand:
            return "命令";
        case RunColumn::kTarget:
            return "目标";
        case RunColumn::kScope:
            return "范围";
        case RunColumn::kState:
            return "状态";
        case RunColumn::kPath:
            return "附加路径";
        case RunColumn::kTerminal:
            return "终端";
    }
    return "";
}

CStringW StateText(const RunEntry& entry) {
    if (entry.broken && entry.shadowed) return WideFrom936("失效、被覆盖");
    if (entry.broken) return WideFrom936("失效");
    if (entry.shadowed) return WideFrom936("被覆盖");
    return CStringW();
}

CStringW TerminalText(const RunEntry& entry) {
    if (!entry.terminal) return CStringW();
    if (!entry.terminalShadowedBy.IsEmpty()) return WideFrom936("被遮蔽：") + entry.terminalShadowedBy;
    if (entry.terminalLauncherMissing) return u"\u2713" + WideFrom936("（启动文件缺失）");
    return u"\u2713";
}

CStringW CellText(const RunEntry& entry, RunColumn column) {
    switch (column) {
        case RunColumn::kCommand:
            return entry.command;
        case RunColumn::kTarget:
            return entry.target;
        case RunColumn::kScope:
            return WideFrom936(ScopeText(entry.scope));
        case RunColumn::kState:
            return StateText(entry);
        case RunColumn::kPath:
            return entry.path;
        case RunColumn::kTerminal:
            return TerminalText(entry);
    }
    return CStringW();
}

CStringW ListingStatusText(const std::vector<RunEntry>& entries, int unreadable) {
    int broken = 0;
    int shadowed = 0;
    for (const RunEntry& entry : entries) {
        broken += entry.broken ? 1 : 0;
        shadowed += entry.shadowed ? 1 : 0;
    }
    CStringW text =
        FillIn(WideFrom936("共 %s 个运行命令"), {DecimalText(static_cast<long long>(entries.size()))});
    if (broken > 0) text += FillIn(WideFrom936("，%s 个失效"), {DecimalText(broken)});
    if (shadowed > 0) text += FillIn(WideFrom936("，%s 个被覆盖"), {DecimalText(shadowed)});
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
        outcome.firstFailureReason =
            first.status != kRegistrySuccess ? errorText(first.status) : EditFailureReason(first.result);
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

CStringW ManyEntriesQuestionText(const char* action, int count) {
    return FillIn(WideFrom936("是否对选中的 %s 个运行命令执行“%s”？"),
                  {DecimalText(count), WideFrom936(action)});
}

CStringW ExplorerSelectArguments(const CStringW& file) { return u"/select,\"" + file + u"\""; }

const RunActionText kRunAction{"运行", "运行(&R)"};
const RunActionText kOpenLocationAction{"打开位置", "打开位置(&L)"};
const RunActionText kRenameAction{"重命名", "重命名(&M)\tF2"};
const RunActionText kChangeTargetAction{"修改目标", "修改目标(&T)…\tF4"};
const RunActionText kEditPathAction{"编辑附加路径", "编辑附加路径(&P)…\tCtrl+P"};
const RunActionText kCopyToUserAction{"复制到当前用户", "复制到当前用户(&U)\tCtrl+U"};
const RunActionText kCopyToMachineAction{"复制到本机", "复制到本机(&A)\tCtrl+M"};
const RunActionText kDeleteAction{"删除", "删除(&D)\tDel"};
const RunActionText kExportAction{"导出", "导出(&E)…\tCtrl+E"};
const RunActionText kImportAction{"导入", "导入(&I)…\tCtrl+I"};
const RunActionText kRefreshAction{"刷新", "刷新(&F)\tF5"};

const char* const kSelectOneText = "请只选择一个运行命令";
const char* const kDropProgramText = "只能拖入程序（.exe）文件";
const char* const kImportColumnCommand = "命令";
const char* const kImportColumnAction = "操作";
const char* const kImportColumnTarget = "目标";
const char* const kImportAdd = "添加";
const char* const kImportReplace = "替换";
const char* const kImportSkip = "跳过";
const char* const kImportButton = "导入";
const char* const kCancelButton = "取消";
const char* const kRegFileFilter = "注册表文件 (*.reg)|*.reg|所有文件 (*.*)|*.*|";
const char* const kProgramFileFilter = "程序 (*.exe)|*.exe|所有文件 (*.*)|*.*|";
const char* const kExportFileName = "运行命令.reg";

CStringW EditStatusText(const RunActionText& action, const CStringW& command, EditResult result,
                        const CStringW& detail) {
    const CStringW verb = WideFrom936(action.name);
    switch (result) {
        case EditResult::kDone:
            if (&action == &kRenameAction)
                return FillIn(WideFrom936("已将%s重命名为%s"), {Quoted(command), Quoted(detail)});
            if (&action == &kChangeTargetAction)
                return FillIn(WideFrom936("已将%s的目标改为：%s"), {Quoted(command), detail});
            return FillIn(WideFrom936("已%s：%s"), {verb, Quoted(command)});
        case EditResult::kUnchanged:
            return FillIn(WideFrom936("%s没有变化"), {Quoted(command)});
        case EditResult::kDeclined:
            return FillIn(WideFrom936("未%s%s"), {verb, Quoted(command)});
        case EditResult::kNotFound:
            return FillIn(WideFrom936("未能%s%s：%s"), {verb, Quoted(command), EditFailureReason(result)});
        case EditResult::kInvalidName:
            if (&action == &kChangeTargetAction)
                return FillIn(WideFrom936("未能%s%s：目标不能为空"), {verb, Quoted(command)});
            return FillIn(WideFrom936("未能%s%s：名称%s不能作为运行命令"),
                          {verb, Quoted(command), Quoted(detail)});
        case EditResult::kFailed:
            return FillIn(WideFrom936("未能%s%s：%s"), {verb, Quoted(command), EditFailureReason(result)});
        case EditResult::kNotForTerminal:
            return FillIn(WideFrom936("未能%s%s：%s"), {verb, Quoted(command), TerminalNameProblem(detail)});
    }
    return CStringW();
}

CStringW EditFailureReason(EditResult result) {
    switch (result) {
        case EditResult::kNotFound:
            return WideFrom936("该运行命令已不在注册表中，请刷新");
        case EditResult::kInvalidName:
            return WideFrom936("名称不能作为运行命令");
        case EditResult::kFailed:
            return WideFrom936("注册表拒绝了修改，一切保持原样");
        case EditResult::kNotForTerminal:
            return WideFrom936("该命令可在终端中使用，新名称不能作为终端命令");
        default:
            return CStringW();
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
