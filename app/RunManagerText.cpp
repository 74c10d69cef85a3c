#include "app/RunManagerText.h"

const char* const kRunManagerTitle = "管理运行命令";
const char* const kDeleteQuestionCaption = "删除运行命令";
const char* const kNothingSelectedText = "请先在列表中选择运行命令";
const char* const kTargetMissingReason = "目标文件及其所在文件夹都不存在";

namespace {

CString Quoted(const CString& command) { return "“" + command + "”"; }

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
    }
    return "";
}

const char* ScopeText(RunScope scope) noexcept {
    return scope == RunScope::kCurrentUser ? "当前用户" : "本机";
}

CString StateText(const RunEntry& entry) {
    if (entry.broken && entry.shadowed) return "失效、被覆盖";
    if (entry.broken) return "失效";
    if (entry.shadowed) return "被覆盖";
    return CString();
}

CString CellText(const RunEntry& entry, RunColumn column) {
    switch (column) {
        case RunColumn::kCommand:
            return entry.command;
        case RunColumn::kTarget:
            return entry.target;
        case RunColumn::kScope:
            return ScopeText(entry.scope);
        case RunColumn::kState:
            return StateText(entry);
    }
    return CString();
}

CString DeleteQuestionText(const std::vector<const RunEntry*>& entries) {
    CString text("是否删除以下运行命令？\n");
    int shown = 0;
    for (const RunEntry* entry : entries) {
        if (shown == kDeleteQuestionLines) break;
        const CString target = entry->target.IsEmpty() ? CString("（无目标）") : entry->target;
        text.AppendFormat("\n%s（%s）：%s", Quoted(entry->command).GetString(), ScopeText(entry->scope),
                          target.GetString());
        ++shown;
    }
    const int more = static_cast<int>(entries.size()) - shown;
    if (more > 0) text.AppendFormat("\n……以及另外 %d 个运行命令", more);
    return text;
}

CString ListingStatusText(const std::vector<RunEntry>& entries, int unreadable) {
    int broken = 0;
    int shadowed = 0;
    for (const RunEntry& entry : entries) {
        broken += entry.broken ? 1 : 0;
        shadowed += entry.shadowed ? 1 : 0;
    }
    CString text;
    text.Format("共 %d 个运行命令", static_cast<int>(entries.size()));
    if (broken > 0) text.AppendFormat("，%d 个失效", broken);
    if (shadowed > 0) text.AppendFormat("，%d 个被覆盖", shadowed);
    if (unreadable > 0) text.AppendFormat("，%d 项无法读取", unreadable);
    return text;
}

CString BatchStatusText(const char* verb, const BatchOutcome& outcome) {
    CString text;
    if (outcome.failed == 0) {
        text.Format("已%s %d 个运行命令", verb, outcome.done);
    } else if (outcome.done == 0 && outcome.failed == 1) {
        text.Format("未能%s%s：%s", verb, Quoted(outcome.firstFailedCommand).GetString(),
                    outcome.firstFailureReason.GetString());
    } else {
        text.Format("已%s %d 个，%d 个未能%s；%s：%s", verb, outcome.done, outcome.failed, verb,
                    Quoted(outcome.firstFailedCommand).GetString(), outcome.firstFailureReason.GetString());
    }
    return text;
}

CString ManyEntriesQuestionText(const char* action, int count) {
    CString text;
    text.Format("是否对选中的 %d 个运行命令执行“%s”？", count, action);
    return text;
}

CString ExplorerSelectArguments(const CString& file) { return "/select,\"" + file + "\""; }
