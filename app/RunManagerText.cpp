#include "app/RunManagerText.h"

const char* const kRunManagerTitle = "管理运行命令";
const char* const kDeleteQuestionCaption = "删除运行命令";
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
    }
    return "";
}

const char* ScopeText(RunScope scope) noexcept {
    return scope == RunScope::kCurrentUser ? "当前用户" : "本机";
}

CStringW StateText(const RunEntry& entry) {
    if (entry.broken && entry.shadowed) return WideFrom936("失效、被覆盖");
    if (entry.broken) return WideFrom936("失效");
    if (entry.shadowed) return WideFrom936("被覆盖");
    return CStringW();
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
    }
    return CStringW();
}

CStringW DeleteQuestionText(const std::vector<const RunEntry*>& entries) {
    CStringW text = WideFrom936("是否删除以下运行命令？\n");
    const CStringW line = WideFrom936("\n%s（%s）：%s");
    int shown = 0;
    for (const RunEntry* entry : entries) {
        if (shown == kDeleteQuestionLines) break;
        const CStringW target = entry->target.IsEmpty() ? WideFrom936("（无目标）") : entry->target;
        text += FillIn(line, {Quoted(entry->command), WideFrom936(ScopeText(entry->scope)), target});
        ++shown;
    }
    const int more = static_cast<int>(entries.size()) - shown;
    if (more > 0) text += FillIn(WideFrom936("\n……以及另外 %s 个运行命令"), {DecimalText(more)});
    return text;
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
