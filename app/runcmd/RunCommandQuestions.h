// The questions asked before a run command is replaced or deleted, and the
// scope names they use. The store asks them (RunCommandStore.h); the window
// or the console that answers only shows them.
#pragma once

#include <vector>

#include "app/runcmd/RunEntries.h"
#include "base/wide_text.h"

// Captions of the two questions: 替换运行命令, 删除运行命令.
extern const char* const kReplaceQuestionCaption;
extern const char* const kDeleteQuestionCaption;

// 本机 or 当前用户.
const char* ScopeText(RunScope scope) noexcept;

// 命令“NAME”已指向：OLD
// 是否改为：NEW？
CStringW ReplaceQuestionText(const CStringW& name, const CStringW& existing, const CStringW& newPath);

// The delete question: one line per entry, command, scope and target, at most
// kDeleteQuestionLines of them and then how many more there are.
constexpr int kDeleteQuestionLines = 10;
CStringW DeleteQuestionText(const std::vector<const RunEntry*>& entries);
