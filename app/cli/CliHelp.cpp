// The help texts of the console program.
#include "app/cli/CliVerbContext.h"
#include "app/cli/CliVerbTable.h"
#include "app/text/CommandsFileText.h"

namespace {

const char kScopeHelp[] =
    "范围：以管理员身份运行时改本机（HKEY_LOCAL_MACHINE）的运行命令，否则改当前用户的；\n"
    "  --user / --machine 指定范围。没有管理员权限时 --machine 的修改被拒绝（退出码 5），不写入任何内容。\n";

const char kExitCodeHelp[] =
    "退出码：\n"
    "  0  成功\n"
    "  1  check 发现了问题\n"
    "  2  用法错误：未知的命令或选项、缺少或多余的参数、不合规则的名称\n"
    "  3  找不到：没有该运行命令，或程序、文件不存在\n"
    "  4  已存在：名称已指向其他程序（或导入会替换），未加 --force\n"
    "  5  需要管理员权限\n"
    "  6  注册表或文件错误（文件损坏、无法读写、注册表拒绝）\n";

}  // namespace

CStringW CliOverviewHelp() {
    CStringW text = CliText(
        "velmora：管理运行命令（App Paths）的命令行程序。\n"
        "用法：velmora VERB [参数] [选项]     velmora VERB --help     velmora --version\n\n");
    for (const CliVerbRow& verb : CliVerbTable()) text += CliText(verb.help);
    return text + u"\n" + CliText(kScopeHelp) + u"\n" + CliText(kExitCodeHelp) +
           CliText(commands_text::kApplyExitCodes);
}

CStringW CliVerbHelp(const CStringW& verb) {
    const CliVerbRow* row = FindCliVerb(verb);
    if (row == nullptr) return CliOverviewHelp();
    return CliText(row->help) + u"\n" + CliText(kScopeHelp) + u"\n" + CliText(kExitCodeHelp) +
           CliText(commands_text::kApplyExitCodes);
}
