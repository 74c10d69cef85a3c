// The questions Velmora asks, worded: before a run command is replaced or
// deleted, before an action on many entries, before the launcher folder
// leaves PATH; and the scope names they use.
#pragma once

#include <vector>

#include "app/runcmd/RunCommandQuestions.h"
#include "app/runcmd/RunEntries.h"
#include "base/language.h"
#include "base/wide_text.h"

// Captions: 替换运行命令, 删除运行命令, 终端命令.
extern const velmora::Text kReplaceQuestionCaption;
extern const velmora::Text kDeleteQuestionCaption;
extern const velmora::Text kTerminalQuestionCaption;

// 本机 or 当前用户.
const char* ScopeText(RunScope scope) noexcept;

// 命令“NAME”已指向：OLD
// 是否改为：NEW？
CStringW ReplaceQuestionText(const ReplaceQuestion& question);

// The delete question: one line per entry, command, scope and target, at most
// kDeleteQuestionLines of them and then how many more there are.
constexpr int kDeleteQuestionLines = 10;
CStringW DeleteQuestionText(const std::vector<RunEntry>& entries);

// Asked before starting or opening more than kManyEntries entries at once.
constexpr int kManyEntries = 5;
CStringW ManyEntriesQuestionText(const char* action, int count);

// Asked when a scope's last launcher went: whether `folder` leaves PATH.
CStringW TakeFolderOffPathQuestion(const CStringW& folder);
