#include "app/text/ViewText.h"

#include "app/text/QuestionText.h"
#include "base/language.h"

using velmora::Text;

const Text kRunManagerTitle{"管理运行命令", "Manage run commands"};
const Text kNothingSelectedText{"请先在列表中选择运行命令", "Select a run command in the list first"};
const Text kTargetMissingReason{"目标文件及其所在文件夹都不存在",
                                "Neither the target file nor its folder exists"};
const Text kFilterLabel{"筛选：", "Filter:"};
const Text kFilterHint{"输入命令、目标或附加路径中的文字", "Type part of a command, target or Path"};

namespace {

using velmora::WideFrom936;

// In RunColumn order.
constexpr Text kColumnHeadings[] = {
    {"命令", "Command"}, {"目标", "Target"},   {"范围", "Scope"},
    {"状态", "State"},   {"附加路径", "Path"}, {"终端", "Terminal"},
};
static_assert(sizeof(kColumnHeadings) / sizeof(kColumnHeadings[0]) == kRunColumnCount);

constexpr Text kBrokenAndShadowed{"失效、被覆盖", "Broken, overridden"};
constexpr Text kBroken{"失效", "Broken"};
constexpr Text kShadowed{"被覆盖", "Overridden"};
constexpr Text kStateJoin{"、", ", "};
constexpr Text kNameTaken{"被占用", "Name taken"};
constexpr Text kArgumentsLine{"参数：", "Arguments: "};
constexpr Text kFolderLine{"起始位置：", "Start in: "};
constexpr Text kVariableLine{"环境变量：", "Environment variable: "};
constexpr Text kAdministratorLine{"以管理员身份运行", "Run as administrator"};
constexpr Text kTerminalShadowedBy{"被遮蔽：", "Hidden by: "};
constexpr Text kLauncherMissing{"（启动文件缺失）", " (launcher missing)"};

}  // namespace

const Text& ColumnHeading(RunColumn column) noexcept {
    const auto index = static_cast<int>(column);
    return kColumnHeadings[index >= 0 && index < kRunColumnCount ? index : 0];
}

CStringW StateText(const RunEntry& entry) {
    CStringW text;
    if (entry.broken && entry.shadowed)
        text = WideFrom936(kBrokenAndShadowed);
    else if (entry.broken)
        text = WideFrom936(kBroken);
    else if (entry.shadowed)
        text = WideFrom936(kShadowed);
    if (!entry.runTakenBy.IsEmpty()) {
        if (!text.IsEmpty()) text += WideFrom936(kStateJoin);
        text += WideFrom936(kNameTaken);
    }
    return text;
}

const char* RunTakenText(bool alias) noexcept {
    static constexpr Text kProgram{"运行框启动的是 %s", "The Run box starts %s instead"};
    static constexpr Text kAlias{"运行框启动的是应用执行别名 %s",
                                 "The Run box starts the app execution alias %s instead"};
    return alias ? kAlias : kProgram;
}

std::vector<CStringW> OptionLines(const RunCommandOptions& options) {
    std::vector<CStringW> lines;
    if (!options.arguments.IsEmpty()) lines.push_back(WideFrom936(kArgumentsLine) + options.arguments);
    if (!options.folder.IsEmpty()) lines.push_back(WideFrom936(kFolderLine) + options.folder);
    for (const CStringW& variable : options.environment)
        lines.push_back(WideFrom936(kVariableLine) + variable);
    if (options.administrator) lines.push_back(WideFrom936(kAdministratorLine));
    return lines;
}

CStringW TerminalText(const RunEntry& entry) {
    if (!entry.terminal) return CStringW();
    if (!entry.terminalShadowedBy.IsEmpty())
        return WideFrom936(kTerminalShadowedBy) + entry.terminalShadowedBy;
    if (entry.terminalLauncherMissing) return u"\u2713" + WideFrom936(kLauncherMissing);
    return u"\u2713";
}

std::vector<CStringW> FixedColumnTexts(RunColumn column) {
    std::vector<CStringW> texts{WideFrom936(ColumnHeading(column))};
    if (column == RunColumn::kScope) {
        for (const RunScope scope : {RunScope::kLocalMachine, RunScope::kCurrentUser})
            texts.push_back(WideFrom936(ScopeText(scope)));
    } else if (column == RunColumn::kState) {
        texts.push_back(WideFrom936(kBroken));
        texts.push_back(WideFrom936(kShadowed));
        texts.push_back(WideFrom936(kNameTaken));
    }
    return texts;
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

// Menu items of English Windows end in "..." where a dialog follows, as the
// Chinese ones end in "…".
const RunActionText kRunAction{{"运行", "Run"}, {"运行(&R)", "&Run"}};
const RunActionText kOpenLocationAction{{"打开位置", "Open location"},
                                        {"打开位置(&L)", "Open file &location"}};
const RunActionText kRenameAction{{"重命名", "Rename"}, {"重命名(&M)\tF2", "Rena&me\tF2"}};
const RunActionText kChangeTargetAction{{"修改目标", "Change target"},
                                        {"修改目标(&T)…\tF4", "Change &target...\tF4"}};
const RunActionText kEditPathAction{{"编辑附加路径", "Edit Path"},
                                    {"编辑附加路径(&P)…\tCtrl+P", "Edit &Path...\tCtrl+P"}};
const RunActionText kOptionsAction{{"设置选项", "Set options"},
                                   {"属性(&R)…\tAlt+Enter", "Pr&operties...\tAlt+Enter"}};
const RunActionText kCopyToUserAction{{"复制到当前用户", "Copy to current user"},
                                      {"复制到当前用户(&U)\tCtrl+U", "Copy to current &user\tCtrl+U"}};
const RunActionText kCopyToMachineAction{{"复制到本机", "Copy to this machine"},
                                         {"复制到本机(&A)\tCtrl+M", "Copy to this m&achine\tCtrl+M"}};
const RunActionText kDeleteAction{{"删除", "Delete"}, {"删除(&D)\tDel", "&Delete\tDel"}};
const RunActionText kExportAction{{"导出", "Export"}, {"导出(&E)…\tCtrl+E", "&Export...\tCtrl+E"}};
const RunActionText kImportAction{{"导入", "Import"}, {"导入(&I)…\tCtrl+I", "&Import...\tCtrl+I"}};
const RunActionText kRefreshAction{{"刷新", "Refresh"}, {"刷新(&F)\tF5", "Re&fresh\tF5"}};
const RunActionText kTerminalAction{{"设为终端可用", "Make usable in terminals"},
                                    {"在终端中可用(&T)\tCtrl+T", "Usable in &terminals\tCtrl+T"}};
const RunActionText kTerminalOffAction{
    {"取消终端可用", "Stop terminal use"},
    {"取消在终端中可用(&T)\tCtrl+T", "No longer usable in &terminals\tCtrl+T"}};

const Text kSelectOneText{"请只选择一个运行命令", "Select only one run command"};
const Text kDropProgramText{"只能拖入程序（.exe）文件", "Only a program (.exe) file can be dropped here"};
const Text kImportColumnCommand{"命令", "Command"};
const Text kImportColumnAction{"操作", "Action"};
const Text kImportColumnTarget{"目标", "Target"};
const Text kImportAdd{"添加", "Add"};
const Text kImportReplace{"替换", "Replace"};
const Text kImportSkip{"跳过", "Skip"};
const Text kImportButton{"导入", "Import"};
const Text kCancelButton{"取消", "Cancel"};
const Text kOkButton{"确定", "OK"};
const Text kBrowseButton{"浏览…", "Browse..."};
const Text kRegFileFilter{"注册表文件 (*.reg)|*.reg|所有文件 (*.*)|*.*|",
                          "Registration entries (*.reg)|*.reg|All files (*.*)|*.*|"};
const Text kProgramFileFilter{"程序 (*.exe)|*.exe|所有文件 (*.*)|*.*|",
                              "Programs (*.exe)|*.exe|All files (*.*)|*.*|"};
const Text kExportFileName{"运行命令.reg", "Run commands.reg"};
