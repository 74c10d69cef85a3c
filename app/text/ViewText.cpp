#include "app/text/ViewText.h"

#include "app/text/QuestionText.h"
#include "base/language.h"

const char* const kRunManagerTitle = "管理运行命令";
const char* const kNothingSelectedText = "请先在列表中选择运行命令";
const char* const kTargetMissingReason = "目标文件及其所在文件夹都不存在";
const char* const kFilterLabel = "筛选：";
const char* const kFilterHint = "输入命令、目标或附加路径中的文字";

namespace {

using velmora::DecimalText;
using velmora::FillIn;
using velmora::WideFrom936;

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
    CStringW text;
    if (entry.broken && entry.shadowed)
        text = WideFrom936("失效、被覆盖");
    else if (entry.broken)
        text = WideFrom936("失效");
    else if (entry.shadowed)
        text = WideFrom936("被覆盖");
    if (!entry.runTakenBy.IsEmpty()) {
        if (!text.IsEmpty()) text += WideFrom936(velmora::Text{"、", ", "});
        text += WideFrom936(velmora::Text{"名称被占用", "name taken"});
    }
    return text;
}

const char* RunTakenText(bool alias) noexcept {
    static constexpr velmora::Text kProgram{"运行框启动的是 %s", "The Run box starts %s instead"};
    static constexpr velmora::Text kAlias{"运行框启动的是应用执行别名 %s",
                                          "The Run box starts the app execution alias %s instead"};
    return alias ? kAlias : kProgram;
}

std::vector<CStringW> OptionLines(const RunCommandOptions& options) {
    std::vector<CStringW> lines;
    if (!options.arguments.IsEmpty()) lines.push_back(WideFrom936("参数：") + options.arguments);
    if (!options.folder.IsEmpty()) lines.push_back(WideFrom936("起始位置：") + options.folder);
    for (const CStringW& variable : options.environment)
        lines.push_back(WideFrom936("环境变量：") + variable);
    if (options.administrator) lines.push_back(WideFrom936("以管理员身份运行"));
    return lines;
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

const RunActionText kRunAction{"运行", "运行(&R)"};
const RunActionText kOpenLocationAction{"打开位置", "打开位置(&L)"};
const RunActionText kRenameAction{"重命名", "重命名(&M)\tF2"};
const RunActionText kChangeTargetAction{"修改目标", "修改目标(&T)…\tF4"};
const RunActionText kEditPathAction{"编辑附加路径", "编辑附加路径(&P)…\tCtrl+P"};
const RunActionText kOptionsAction{"设置选项", "属性(&R)…\tAlt+Enter"};
const RunActionText kCopyToUserAction{"复制到当前用户", "复制到当前用户(&U)\tCtrl+U"};
const RunActionText kCopyToMachineAction{"复制到本机", "复制到本机(&A)\tCtrl+M"};
const RunActionText kDeleteAction{"删除", "删除(&D)\tDel"};
const RunActionText kExportAction{"导出", "导出(&E)…\tCtrl+E"};
const RunActionText kImportAction{"导入", "导入(&I)…\tCtrl+I"};
const RunActionText kRefreshAction{"刷新", "刷新(&F)\tF5"};
const RunActionText kTerminalAction{"设为终端可用", "在终端中可用(&T)\tCtrl+T"};
const RunActionText kTerminalOffAction{"取消终端可用", "取消在终端中可用(&T)\tCtrl+T"};

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
