// The help texts of the console program.
#include "app/cli/CliVerbContext.h"

namespace {

struct VerbHelp {
    const char16_t* verb;
    const char* text;
};

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

const VerbHelp kVerbHelp[] = {
    {u"list",
     "velmora list [PATTERN] [--user | --machine] [--broken] [--json]\n"
     "  列出运行命令：命令、范围、状态（失效、被覆盖）、目标、附加路径。\n"
     "  PATTERN 与管理窗口的筛选相同：命令、目标或附加路径中含有该文字（不分大小写）。\n"
     "  --broken 只列失效的；--json 输出一个 JSON 文档。\n"},
    {u"show",
     "velmora show NAME [--user | --machine] [--json]\n"
     "  显示运行命令的键中每个值及其类型，以及子键。\n"},
    {u"add",
     "velmora add NAME PROGRAM [--user | --machine] [--path DIR;DIR] [--force] [--terminal]\n"
     "  添加运行命令 NAME，启动 PROGRAM（.exe）。名称最多 25 个字符，可以嵌套（tools\\ed）。\n"
     "  名称已指向其他程序时不替换（退出码 4），除非加 --force。--path 设置附加路径。\n"
     "  --terminal 同时让它在终端中可用（见 terminal）。\n"},
    {u"remove",
     "velmora remove NAME... [--user | --machine]\n"
     "  删除运行命令（键及其所有值），以及嵌套名称留下的空分组。有一个找不到就不删除任何一个。\n"},
    {u"rename",
     "velmora rename OLD NEW [--user | --machine] [--force]\n"
     "  重命名，保留每个值及其类型。NEW 已存在时不替换，除非加 --force。\n"},
    {u"set-target",
     "velmora set-target NAME PROGRAM [--user | --machine] [--force]\n"
     "  修改目标：只改默认值，类型不变（REG_EXPAND_SZ 仍为 REG_EXPAND_SZ）。\n"},
    {u"path",
     "velmora path NAME [--add DIR | --remove DIR | --set LIST | --clear] [--user | --machine] [--json]\n"
     "  不带选项时列出附加路径（Path 值）中的文件夹；否则修改它。空列表删除 Path 值。\n"},
    {u"check",
     "velmora check [--user | --machine] [--json]\n"
     "  检查失效的、被当前用户覆盖的和名称不合规则的运行命令；发现问题时退出码为 1。\n"},
    {u"export",
     "velmora export FILE [NAME...] [--user | --machine]\n"
     "  导出为注册表编辑器的 .reg 文件（UTF-16）；不指定名称时导出全部。\n"},
    {u"import",
     "velmora import FILE [--dry-run] [--force] [--user | --machine]\n"
     "  导入 .reg 文件。--dry-run 只显示将添加、替换、跳过（附行号和原因）的内容，不做修改。\n"
     "  会替换已有运行命令时，不加 --force 就不做任何修改（退出码 4）。损坏的文件不导入任何内容。\n"},
    {u"terminal",
     "velmora terminal on NAME... | off NAME... | off --all | repair [--user | --machine]\n"
     "  让运行命令也能在 cmd、PowerShell 和 Windows Terminal 中使用：在该范围的启动文件夹\n"
     "  （%LOCALAPPDATA%\\Velmora\\bin 或 %ProgramData%\\Velmora\\bin）放一个同名的小启动程序，\n"
     "  并把文件夹加到 PATH 末尾（新打开的终端生效）。启动程序每次运行时读取运行命令，\n"
     "  所以改名、改目标、删除都会同步。名称不能带分组，也不能是 con、nul 等设备名。\n"
     "  off --all 取消该范围的全部终端命令，并把文件夹从 PATH 中去掉；repair 修复缺失或多余的启动文件。\n"},
};

}  // namespace

CStringW CliOverviewHelp() {
    CStringW text = CliText(
        "velmora：管理运行命令（App Paths）的命令行程序。\n"
        "用法：velmora VERB [参数] [选项]     velmora VERB --help     velmora --version\n\n");
    for (const VerbHelp& help : kVerbHelp) text += CliText(help.text);
    return text + u"\n" + CliText(kScopeHelp) + u"\n" + CliText(kExitCodeHelp);
}

CStringW CliVerbHelp(const CStringW& verb) {
    for (const VerbHelp& help : kVerbHelp) {
        if (verb == help.verb) return CliText(help.text) + u"\n" + CliText(kScopeHelp) + u"\n" + CliText(kExitCodeHelp);
    }
    return CliOverviewHelp();
}
