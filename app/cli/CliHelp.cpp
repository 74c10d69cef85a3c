// The help texts of the console program.
#include "app/cli/CliVerbContext.h"
#include "app/cli/CliVerbTable.h"
#include "app/text/CommandsFileText.h"

namespace {

constexpr velmora::Text kScopeHelp{
    "范围：以管理员身份运行时改本机（HKEY_LOCAL_MACHINE）的运行命令，否则改当前用户的；\n"
    "  --user / --machine 指定范围。没有管理员权限时 --machine 的修改被拒绝（退出码 5），不写入任何内容。\n",
    "Scope: run as administrator, it changes this computer's run commands (HKEY_LOCAL_MACHINE), otherwise\n"
    "  the current user's; --user / --machine choose the scope. Without administrator rights a change\n"
    "  with --machine is refused (exit code 5) and nothing is written.\n"};

constexpr velmora::Text kLanguageHelp{
    "语言：--lang en|zh（任何命令都可以加），否则看环境变量 VELMORA_LANG，再看窗口菜单中记住的选择；\n"
    "  默认为中文。--json 的输出、退出码和写入的内容不随语言变化。\n",
    "Language: --lang en|zh (with any verb), else the environment variable VELMORA_LANG, else the choice\n"
    "  remembered from the window menu; Chinese by default. --json output, exit codes and what is written\n"
    "  never change with the language.\n"};

constexpr velmora::Text kExitCodeHelp{
    "退出码：\n"
    "  0  成功\n"
    "  1  check 发现了问题\n"
    "  2  用法错误：未知的命令或选项、缺少或多余的参数、不合规则的名称\n"
    "  3  找不到：没有该运行命令，或程序、文件不存在\n"
    "  4  已存在：名称已指向其他程序（或导入会替换），未加 --force\n"
    "  5  需要管理员权限\n"
    "  6  注册表或文件错误（文件损坏、无法读写、注册表拒绝）\n",
    "Exit codes:\n"
    "  0  success\n"
    "  1  check found problems\n"
    "  2  usage error: unknown verb or option, missing or extra arguments, a name against the rules\n"
    "  3  not found: no such run command, or the program or file does not exist\n"
    "  4  exists: the name points to another program (or the import would replace), no --force\n"
    "  5  administrator rights needed\n"
    "  6  registry or file error (damaged file, cannot read or write, the registry refused)\n"};

}  // namespace

CStringW CliOverviewHelp() {
    CStringW text = CliText(velmora::Text{
        "velmora：管理运行命令（App Paths）的命令行程序。\n"
        "用法：velmora VERB [参数] [选项]     velmora VERB --help     velmora --version\n\n",
        "velmora: the command-line program that manages run commands (App Paths).\n"
        "Usage: velmora VERB [ARGUMENTS] [OPTIONS]     velmora VERB --help     velmora --version\n\n"});
    for (const CliVerbRow& verb : CliVerbTable()) text += CliText(verb.help);
    return text + u"\n" + CliText(kScopeHelp) + u"\n" + CliText(kLanguageHelp) + u"\n" +
           CliText(kExitCodeHelp) + CliText(commands_text::kApplyExitCodes);
}

CStringW CliVerbHelp(const CStringW& verb) {
    const CliVerbRow* row = FindCliVerb(verb);
    if (row == nullptr) return CliOverviewHelp();
    return CliText(row->help) + u"\n" + CliText(kScopeHelp) + u"\n" + CliText(kExitCodeHelp) +
           CliText(commands_text::kApplyExitCodes);
}
