#include "app/cli/CliVerbTable.h"

#include "app/cli/CliVerbContext.h"
#include "app/text/CommandsFileText.h"

namespace {

// The terminal verb's first operand is its action.
CStringW CheckTerminalAction(const CliRequest& request) {
    using velmora::FillIn;
    using velmora::WideFrom936;
    const CStringW& action = request.operands[0];
    const std::size_t names = request.operands.size() - 1;
    if (action != u"on" && action != u"off" && action != u"repair")
        return FillIn(WideFrom936(velmora::Text{"terminal 后应为 on、off 或 repair，而不是 %s",
                                                "terminal must be followed by on, off or repair, not %s"}),
                      {action});
    if (request.all && action != u"off")
        return WideFrom936(velmora::Text{"--all 只用于 terminal off", "--all is only for terminal off"});
    if (action == u"repair") {
        return names > 0 ? FillIn(WideFrom936(velmora::Text{"terminal repair 的参数太多：%s",
                                                            "Too many arguments for terminal repair: %s"}),
                                  {request.operands[1]})
                         : CStringW();
    }
    if (request.all)
        return names > 0 ? WideFrom936(velmora::Text{"terminal off --all 不接受名称",
                                                     "terminal off --all takes no names"})
                         : CStringW();
    return names == 0 ? FillIn(WideFrom936(velmora::Text{"terminal %s 缺少参数：NAME...",
                                                         "terminal %s is missing arguments: NAME..."}),
                               {action})
                      : CStringW();
}

// set changes at least one option.
CStringW CheckSetOptions(const CliRequest& request) {
    return request.ChangesOptions()
               ? CStringW()
               : velmora::WideFrom936(
                     velmora::Text{"set 缺少选项：--args、--cwd、--env、--admin 或 --no-admin",
                                   "set is missing an option: --args, --cwd, --env, --admin or --no-admin"});
}

// export writes a .reg FILE, or the commands file with --json.
CStringW CheckExportOperands(const CliRequest& request) {
    return request.json || !request.operands.empty() ? CStringW() : CliText(commands_text::kExportNeedsFile);
}

}  // namespace

const std::vector<CliVerbRow>& CliVerbTable() {
    static const std::vector<CliVerbRow> verbs = {
        {u"list",
         0,
         1,
         "PATTERN",
         u"--broken --json",
         CliWrites::kNever,
         false,
         {"velmora list [PATTERN] [--user | --machine] [--broken] [--json]\n"
          "  列出运行命令：命令、范围、状态（失效、被覆盖）、目标、附加路径。\n"
          "  PATTERN 与管理窗口的筛选相同：命令、目标或附加路径中含有该文字（不分大小写）。\n"
          "  --broken 只列失效的；--json 输出一个 JSON 文档。\n",
          "velmora list [PATTERN] [--user | --machine] [--broken] [--json]\n"
          "  Lists run commands: command, scope, state (broken, overridden), target, Path.\n"
          "  PATTERN works as the manager's filter: the command, target or Path contains the text (any "
          "case).\n"
          "  --broken lists only the broken ones; --json writes one JSON document.\n"},
         &ListVerb},
        {u"show",
         1,
         1,
         "NAME",
         u"--json",
         CliWrites::kNever,
         false,
         {"velmora show NAME [--user | --machine] [--json]\n"
          "  显示运行命令的键中每个值及其类型，以及子键。\n",
          "velmora show NAME [--user | --machine] [--json]\n"
          "  Shows each value of the run command's key with its type, and the subkeys.\n"},
         &ShowVerb},
        {u"add",
         2,
         2,
         "NAME PROGRAM",
         u"--path --force --terminal --args --cwd --env --admin",
         CliWrites::kAlways,
         true,
         {"velmora add NAME PROGRAM [--user | --machine] [--path DIR;DIR] [--force] [--terminal]\n"
          "                         [--args TEXT] [--cwd DIR] [--env NAME=VALUE]... [--admin]\n"
          "  添加运行命令 NAME，启动 PROGRAM（.exe）。名称最多 25 个字符，可以嵌套（tools\\ed）。\n"
          "  名称已指向其他程序时不替换（退出码 4），除非加 --force。--path 设置附加路径。\n"
          "  --terminal 同时让它在终端中可用（见 terminal）。--args、--cwd、--env、--admin 设置选项（见 "
          "set）。\n"
          "  全部一起写入，任何一步失败都不留下任何修改。\n",
          "velmora add NAME PROGRAM [--user | --machine] [--path DIR;DIR] [--force] [--terminal]\n"
          "                         [--args TEXT] [--cwd DIR] [--env NAME=VALUE]... [--admin]\n"
          "  Adds the run command NAME, which starts PROGRAM (.exe). Names have at most 25 characters\n"
          "  and may be nested (tools\\ed). A name that points to another program is not replaced\n"
          "  (exit code 4) unless --force is given. --path sets the Path value.\n"
          "  --terminal also makes it work in terminals (see terminal). --args, --cwd, --env and --admin\n"
          "  set options (see set). Everything is written together: if any step fails, nothing is "
          "changed.\n"},
         &AddVerb},
        {u"set",
         1,
         1,
         "NAME",
         u"--args --cwd --env --admin --no-admin",
         CliWrites::kAlways,
         false,
         {"velmora set NAME [--args TEXT] [--cwd DIR] [--env NAME=VALUE]... [--admin | --no-admin] [--user | "
          "--machine]\n"
          "  设置运行命令的选项。--args：预设参数，%* 处放入输入的参数（原样），没有 %* 时放在后面；\n"
          "  %% 是一个 %，%NAME% 是环境变量。--cwd：起始位置。--env：为程序设置环境变量（可多次）。\n"
          "  --admin：以管理员身份运行。空的 TEXT 或 DIR 清除该项，--env NAME= 去掉该变量。\n"
          "  有选项的命令由启动文件夹中 options "
          "下的同名启动程序启动；最后一个选项清除后恢复为普通运行命令。\n"
          "  名称不能带分组，也不能是 con、nul 等设备名。\n",
          "velmora set NAME [--args TEXT] [--cwd DIR] [--env NAME=VALUE]... [--admin | --no-admin] [--user | "
          "--machine]\n"
          "  Sets the options of a run command. --args: preset arguments; the arguments typed go where %* "
          "stands\n"
          "  (as typed), or after them without %*; %% is one %, %NAME% is an environment variable.\n"
          "  --cwd: start in this folder. --env: sets an environment variable for the program (may be "
          "repeated).\n"
          "  --admin: run as administrator. An empty TEXT or DIR clears it, --env NAME= drops the variable.\n"
          "  A command with options is started by the launcher of the same name under options in the "
          "launcher\n"
          "  folder; when its last option is cleared it is a plain run command again.\n"
          "  The name cannot have a group and cannot be a device name such as con or nul.\n"},
         &SetVerb,
         &CheckSetOptions},
        {u"remove",
         1,
         -1,
         "NAME...",
         u"",
         CliWrites::kAlways,
         false,
         {"velmora remove NAME... [--user | --machine]\n"
          "  删除运行命令（键及其所有值），以及嵌套名称留下的空分组。有一个找不到就不删除任何一个。\n",
          "velmora remove NAME... [--user | --machine]\n"
          "  Deletes run commands (the key and all its values), and the empty groups a nested name leaves.\n"
          "  If one of them cannot be found, none is deleted.\n"},
         &RemoveVerb},
        {u"rename",
         2,
         2,
         "OLD NEW",
         u"--force",
         CliWrites::kAlways,
         true,
         {"velmora rename OLD NEW [--user | --machine] [--force]\n"
          "  重命名，保留每个值及其类型。NEW 已存在时不替换，除非加 --force。\n",
          "velmora rename OLD NEW [--user | --machine] [--force]\n"
          "  Renames, keeping every value and its type. An existing NEW is not replaced unless --force is "
          "given.\n"},
         &RenameVerb},
        {u"set-target",
         2,
         2,
         "NAME PROGRAM",
         u"--force",
         CliWrites::kAlways,
         false,
         {"velmora set-target NAME PROGRAM [--user | --machine]\n"
          "  修改目标：只改默认值，类型不变（REG_EXPAND_SZ 仍为 REG_EXPAND_SZ）。不需要 --force。\n",
          "velmora set-target NAME PROGRAM [--user | --machine]\n"
          "  Changes the target: only the default value changes, its type stays (REG_EXPAND_SZ stays\n"
          "  REG_EXPAND_SZ). Needs no --force.\n"},
         &SetTargetVerb},
        {u"path",
         1,
         1,
         "NAME",
         u"--add --remove --set --clear --json",
         CliWrites::kWithPathChange,
         false,
         {"velmora path NAME [--add DIR | --remove DIR | --set LIST | --clear] [--user | --machine] "
          "[--json]\n"
          "  不带选项时列出附加路径（Path 值）中的文件夹；否则修改它。空列表删除 Path 值。\n",
          "velmora path NAME [--add DIR | --remove DIR | --set LIST | --clear] [--user | --machine] "
          "[--json]\n"
          "  Without an option lists the folders of the Path value; otherwise changes it. An empty list\n"
          "  deletes the Path value.\n"},
         &PathVerb},
        {u"check",
         0,
         0,
         "",
         u"--json",
         CliWrites::kNever,
         false,
         {"velmora check [--user | --machine] [--json]\n"
          "  检查失效的、被当前用户覆盖的和名称不合规则的运行命令；发现问题时退出码为 1。\n",
          "velmora check [--user | --machine] [--json]\n"
          "  Checks for run commands that are broken, overridden by the current user's, or badly named;\n"
          "  exit code 1 when it finds a problem.\n"},
         &CheckVerb},
        {u"export", 0, -1, "FILE [NAME...]", u"--json", CliWrites::kNever, false, commands_text::kExportHelp,
         &ExportVerb, &CheckExportOperands},
        {u"import",
         1,
         1,
         "FILE",
         u"--dry-run --force",
         CliWrites::kUnlessDryRun,
         false,
         {"velmora import FILE [--dry-run] [--force] [--user | --machine]\n"
          "  导入 .reg 文件。--dry-run 只显示将添加、替换、跳过（附行号和原因）的内容，不做修改。\n"
          "  会替换已有运行命令时，不加 --force 就不做任何修改（退出码 4）。损坏的文件不导入任何内容。\n"
          "  文件中本机的运行命令需要管理员权限，当前用户的不需要，与 --user / --machine 无关。\n",
          "velmora import FILE [--dry-run] [--force] [--user | --machine]\n"
          "  Imports a .reg file. --dry-run only shows what would be added, replaced or skipped (with line\n"
          "  and reason) and changes nothing. When it would replace existing run commands, nothing is "
          "changed\n"
          "  without --force (exit code 4). Nothing of a damaged file is imported.\n"
          "  The file's run commands for this computer need administrator rights, the current user's do "
          "not,\n"
          "  whatever --user or --machine says.\n"},
         &ImportVerb},
        {u"apply", 1, 1, "FILE", u"--dry-run --prune --json", CliWrites::kUnlessDryRun, false,
         commands_text::kApplyHelp, &ApplyVerb},
        {u"add-folder", 1, 1, "DIR", u"--pattern --dry-run --force", CliWrites::kUnlessDryRun, true,
         commands_text::kAddFolderHelp, &AddFolderVerb},
        {u"terminal",
         1,
         -1,
         "on|off|repair NAME...",
         u"--all",
         CliWrites::kAlways,
         false,
         {"velmora terminal on NAME... | off NAME... | off --all | repair [--user | --machine]\n"
          "  让运行命令也能在 cmd、PowerShell 和 Windows Terminal 中使用：在该范围的启动文件夹\n"
          "  （%LOCALAPPDATA%\\Velmora\\bin 或 %ProgramData%\\Velmora\\bin）放一个同名的小启动程序，\n"
          "  并把文件夹加到 PATH 末尾（新打开的终端生效）。启动程序每次运行时读取运行命令，\n"
          "  所以改名、改目标、删除都会同步。名称不能带分组，也不能是 con、nul 等设备名。\n"
          "  off --all 取消该范围的全部终端命令，并把文件夹从 PATH 中去掉；repair "
          "修复缺失或多余的启动文件。\n",
          "velmora terminal on NAME... | off NAME... | off --all | repair [--user | --machine]\n"
          "  Makes run commands work in cmd, PowerShell and Windows Terminal too: puts a small launcher of\n"
          "  the same name in the scope's launcher folder\n"
          "  (%LOCALAPPDATA%\\Velmora\\bin or %ProgramData%\\Velmora\\bin) and adds the folder to the end "
          "of\n"
          "  PATH (for terminals opened from then on). The launcher reads the run command at every start,\n"
          "  so renames, new targets and deletions follow. The name cannot have a group and cannot be a\n"
          "  device name such as con or nul.\n"
          "  off --all turns off every terminal command of the scope and takes the folder off PATH; repair\n"
          "  mends missing or extra launchers.\n"},
         &TerminalVerb,
         &CheckTerminalAction},
        {u"explorer",
         1,
         1,
         "on|off|status|repair",
         u"",
         CliWrites::kNever,
         false,
         {"velmora explorer on | off | status | repair\n"
          "  "
          "资源管理器中的“添加为运行命令…”：程序和快捷方式的右键菜单（经典菜单），以及“发送到”中的快捷方式，"
          "\n"
          "  都启动本目录中的 Velmora.exe。只为当前用户写入（HKEY_CURRENT_USER\\Software\\Classes 和 SendTo "
          "文件夹），\n"
          "  不需要管理员权限。off 删除它写入的每个键和文件；status 显示每一项；repair 把指向已不存在的\n"
          "  Velmora 的项改为指向本程序。\n",
          "velmora explorer on | off | status | repair\n"
          "  \"Add as run command\" in Explorer: the context menu of programs and shortcuts (classic menu)\n"
          "  and a shortcut in \"Send to\", which all start the Velmora.exe of this folder. Written for the\n"
          "  current user only (HKEY_CURRENT_USER\\Software\\Classes and the SendTo folder); needs no\n"
          "  administrator rights. off deletes every key and file it wrote; status shows each item; repair\n"
          "  makes items that point to a Velmora that is gone point to this program.\n"},
         &ExplorerVerb,
         &CheckExplorerAction},
    };
    return verbs;
}

const CliVerbRow* FindCliVerb(const CStringW& name) {
    for (const CliVerbRow& verb : CliVerbTable()) {
        if (name == verb.name) return &verb;
    }
    return nullptr;
}

bool TakesFlag(const CliVerbRow& verb, const CStringW& flag) {
    // Every verb acts in a scope and speaks a language.
    if (flag == u"--user" || flag == u"--machine" || flag == u"--lang") return true;
    return (u" " + CStringW(verb.flags) + u" ").find(u" " + flag + u" ") != CStringW::npos;
}

bool Writes(const CliVerbRow& verb, const CliRequest& request) {
    switch (verb.writes) {
        case CliWrites::kNever:
            return false;
        case CliWrites::kAlways:
            return true;
        case CliWrites::kUnlessDryRun:
            return !request.dryRun;
        case CliWrites::kWithPathChange:
            return request.pathChange != PathChange::kShow;
    }
    return true;
}
