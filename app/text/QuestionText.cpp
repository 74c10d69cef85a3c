#include "app/text/QuestionText.h"

const velmora::Text kReplaceQuestionCaption{"替换运行命令", "Replace run command"};
const velmora::Text kDeleteQuestionCaption{"删除运行命令", "Delete run commands"};
const velmora::Text kTerminalQuestionCaption{"终端命令", "Terminal commands"};

namespace {

using velmora::DecimalText;
using velmora::FillIn;
using velmora::Text;
using velmora::WideFrom936;

}  // namespace

const char* ScopeText(RunScope scope) noexcept {
    return scope == RunScope::kCurrentUser ? Text{"当前用户", "current user"} : Text{"本机", "this computer"};
}

CStringW ReplaceQuestionText(const ReplaceQuestion& question) {
    return FillIn(WideFrom936(Text{"命令“%s”已指向：%s\n是否改为：%s？",
                                   "The command \"%s\" already points to: %s\nChange it to: %s?"}),
                  {question.name, question.existing, question.replacement});
}

CStringW DeleteQuestionText(const std::vector<RunEntry>& entries) {
    CStringW text = WideFrom936(Text{"是否删除以下运行命令？\n", "Delete these run commands?\n"});
    const CStringW line = WideFrom936(Text{"\n“%s”（%s）：%s", "\n\"%s\" (%s): %s"});
    int shown = 0;
    for (const RunEntry& entry : entries) {
        if (shown == kDeleteQuestionLines) break;
        const CStringW target =
            entry.target.IsEmpty() ? WideFrom936(Text{"（无目标）", "(no target)"}) : entry.target;
        text += FillIn(line, {entry.command, WideFrom936(ScopeText(entry.scope)), target});
        ++shown;
    }
    const int more = static_cast<int>(entries.size()) - shown;
    if (more > 0)
        text += FillIn(WideFrom936(Text{"\n……以及另外 %s 个运行命令", "\n... and %s more run commands"}),
                       {DecimalText(more)});
    return text;
}

CStringW ManyEntriesQuestionText(const char* action, int count) {
    return FillIn(WideFrom936(Text{"是否对选中的 %s 个运行命令执行“%s”？",
                                   "%s run commands are selected. Go ahead with \"%s\" for all of them?"}),
                  {DecimalText(count), WideFrom936(action)});
}

CStringW TakeFolderOffPathQuestion(const CStringW& folder) {
    return FillIn(WideFrom936(Text{"已没有在终端中可用的命令。是否把 %s 从 PATH 中去掉？",
                                   "No command works in terminals any more. Take %s off PATH?"}),
                  {folder});
}
