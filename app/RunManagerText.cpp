#include "app/RunManagerText.h"

const char* const kRunManagerTitle = "管理运行命令";
const char* const kDeleteQuestionCaption = "删除运行命令";
const char* const kNothingSelectedText = "请先在列表中选择运行命令";

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

CString DeleteStatusText(const DeleteOutcome& outcome) {
    CString text;
    if (outcome.failed == 0) {
        text.Format("已删除 %d 个运行命令", outcome.deleted);
        return text;
    }
    if (outcome.deleted == 0 && outcome.failed == 1) {
        text.Format("未能删除%s：%s", Quoted(outcome.firstFailedCommand).GetString(),
                    outcome.firstFailureReason.GetString());
        return text;
    }
    text.Format("已删除 %d 个，%d 个未能删除；%s：%s", outcome.deleted, outcome.failed,
                Quoted(outcome.firstFailedCommand).GetString(), outcome.firstFailureReason.GetString());
    return text;
}

CString StartedStatusText(const CString& command) { return "已启动" + Quoted(command); }

CString StartFailedStatusText(const CString& command, const CString& reason) {
    return "未能启动" + Quoted(command) + "：" + reason;
}

CString OpenLocationFailedStatusText(const CString& command, const CString& reason) {
    return "未能打开" + Quoted(command) + "的位置：" + reason;
}

CString NoTargetStatusText(const CString& command) { return Quoted(command) + "的目标及其文件夹都不存在"; }

CString ExplorerSelectArguments(const CString& file) { return "/select,\"" + file + "\""; }
