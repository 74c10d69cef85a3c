#include "app/terminal/TerminalBatch.h"

#include <algorithm>

#include "app/terminal/TerminalName.h"

const RunActionText kTerminalAction{"设为终端可用", "在终端中可用(&T)\tCtrl+T"};
const RunActionText kTerminalOffAction{"取消终端可用", "取消在终端中可用(&T)\tCtrl+T"};

CStringW TerminalFailureReason(TerminalResult result, const RunEntry& entry) {
    switch (result) {
        case TerminalResult::kBadName:
            return TerminalNameProblem(entry.command);
        case TerminalResult::kNotAProgram:
            return velmora::WideFrom936("目标不是可以启动的程序");
        case TerminalResult::kFileFailed:
            return velmora::WideFrom936("无法写入或删除终端启动文件（可能正在运行），未做修改");
        case TerminalResult::kRegistryFailed:
            return velmora::WideFrom936("注册表拒绝了修改，一切保持原样");
        default:
            return CStringW();
    }
}

TerminalBatch SetTerminal(TerminalShims& shims, const std::vector<RunEntry>& entries, bool on, bool canWriteMachine) {
    TerminalBatch batch;
    auto fail = [&](const RunEntry& entry, const CStringW& reason) {
        if (batch.outcome.failed++ == 0) {
            batch.outcome.firstFailedCommand = entry.command;
            batch.outcome.firstFailureReason = reason;
        }
    };
    for (const RunEntry& entry : entries) {
        if (entry.scope == RunScope::kLocalMachine && !canWriteMachine) {
            fail(entry, velmora::WideFrom936("修改本机的运行命令需要管理员权限"));
            continue;
        }
        bool last = false;
        const TerminalResult result = on ? shims.TurnOn(entry) : shims.TurnOff(entry, &last);
        if (result != TerminalResult::kDone && result != TerminalResult::kUnchanged) {
            fail(entry, TerminalFailureReason(result, entry));
            continue;
        }
        ++batch.outcome.done;
        if (last && std::find(batch.emptiedScopes.begin(), batch.emptiedScopes.end(), entry.scope) ==
                        batch.emptiedScopes.end()) {
            batch.emptiedScopes.push_back(entry.scope);
        }
    }
    return batch;
}

bool AllForTerminals(const std::vector<RunEntry>& entries) {
    return !entries.empty() &&
           std::all_of(entries.begin(), entries.end(), [](const RunEntry& entry) { return entry.terminal; });
}

CStringW TakeFolderOffPathQuestion(const CStringW& folder) {
    return velmora::FillIn(velmora::WideFrom936("已没有在终端中可用的命令。是否把 %s 从 PATH 中去掉？"), {folder});
}
