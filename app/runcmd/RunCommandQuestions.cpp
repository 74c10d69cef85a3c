#include "app/runcmd/RunCommandQuestions.h"

const char* const kReplaceQuestionCaption = "替换运行命令";
const char* const kDeleteQuestionCaption = "删除运行命令";

namespace {

using velmora::DecimalText;
using velmora::FillIn;
using velmora::WideFrom936;

}  // namespace

const char* ScopeText(RunScope scope) noexcept {
    return scope == RunScope::kCurrentUser ? "当前用户" : "本机";
}

CStringW ReplaceQuestionText(const CStringW& name, const CStringW& existing, const CStringW& newPath) {
    return FillIn(WideFrom936("命令“%s”已指向：%s\n是否改为：%s？"), {name, existing, newPath});
}

CStringW DeleteQuestionText(const std::vector<const RunEntry*>& entries) {
    CStringW text = WideFrom936("是否删除以下运行命令？\n");
    const CStringW line = WideFrom936("\n“%s”（%s）：%s");
    int shown = 0;
    for (const RunEntry* entry : entries) {
        if (shown == kDeleteQuestionLines) break;
        const CStringW target = entry->target.IsEmpty() ? WideFrom936("（无目标）") : entry->target;
        text += FillIn(line, {entry->command, WideFrom936(ScopeText(entry->scope)), target});
        ++shown;
    }
    const int more = static_cast<int>(entries.size()) - shown;
    if (more > 0) text += FillIn(WideFrom936("\n……以及另外 %s 个运行命令"), {DecimalText(more)});
    return text;
}
