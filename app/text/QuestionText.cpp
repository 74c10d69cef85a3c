#include "app/text/QuestionText.h"

const char* const kReplaceQuestionCaption = "替换运行命令";
const char* const kDeleteQuestionCaption = "删除运行命令";
const char* const kTerminalQuestionCaption = "终端命令";

namespace {

using velmora::DecimalText;
using velmora::FillIn;
using velmora::WideFrom936;

}  // namespace

const char* ScopeText(RunScope scope) noexcept {
    return scope == RunScope::kCurrentUser ? "当前用户" : "本机";
}

CStringW ReplaceQuestionText(const ReplaceQuestion& question) {
    return FillIn(WideFrom936("命令“%s”已指向：%s\n是否改为：%s？"),
                  {question.name, question.existing, question.replacement});
}

CStringW DeleteQuestionText(const std::vector<RunEntry>& entries) {
    CStringW text = WideFrom936("是否删除以下运行命令？\n");
    const CStringW line = WideFrom936("\n“%s”（%s）：%s");
    int shown = 0;
    for (const RunEntry& entry : entries) {
        if (shown == kDeleteQuestionLines) break;
        const CStringW target = entry.target.IsEmpty() ? WideFrom936("（无目标）") : entry.target;
        text += FillIn(line, {entry.command, WideFrom936(ScopeText(entry.scope)), target});
        ++shown;
    }
    const int more = static_cast<int>(entries.size()) - shown;
    if (more > 0) text += FillIn(WideFrom936("\n……以及另外 %s 个运行命令"), {DecimalText(more)});
    return text;
}

CStringW ManyEntriesQuestionText(const char* action, int count) {
    return FillIn(WideFrom936("是否对选中的 %s 个运行命令执行“%s”？"),
                  {DecimalText(count), WideFrom936(action)});
}

CStringW TakeFolderOffPathQuestion(const CStringW& folder) {
    return FillIn(WideFrom936("已没有在终端中可用的命令。是否把 %s 从 PATH 中去掉？"), {folder});
}
