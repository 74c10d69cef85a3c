#include "app/text/ExplorerText.h"

#include "base/language.h"

namespace {

using velmora::DecimalText;
using velmora::FillIn;
using velmora::Text;
using velmora::WideFrom936;

}  // namespace

// The verb and the shortcut's title are written into the registry and the
// SendTo folder, and found there again by name: one language, whichever the
// user reads.
CStringW ExplorerVerbText() { return WideFrom936("添加为运行命令…"); }

CStringW SendToShortcutTitle() { return WideFrom936("添加为运行命令"); }

const RunActionText kExplorerSwitchAction{
    Text{"资源管理器中的“添加为运行命令”", "\"Add as run command\" in File Explorer"},
    Text{"在资源管理器的右键菜单和“发送到”中(&X)", "In File E&xplorer's context menu and \"Send to\""}};

CStringW ExplorerEntryText(int entry) {
    switch (entry) {
        case 0:
            return WideFrom936(Text{"右键菜单（程序）", "Context menu (programs)"});
        case 1:
            return WideFrom936(Text{"右键菜单（快捷方式）", "Context menu (shortcuts)"});
        default:
            return WideFrom936(Text{"“发送到”快捷方式", "\"Send to\" shortcut"});
    }
}

CStringW ExplorerStateText(bool present, bool stale, bool startsOther, const CStringW& program) {
    if (!present) return WideFrom936(Text{"未开启", "Off"});
    if (stale) return FillIn(WideFrom936(Text{"已失效：%s 已不存在", "Broken: %s is gone"}), {program});
    if (startsOther)
        return FillIn(WideFrom936(Text{"指向另一个 Velmora：%s", "Points to another Velmora: %s"}),
                      {program});
    return FillIn(WideFrom936(Text{"已开启：%s", "On: %s"}), {program});
}

CStringW ExplorerOnText(const CStringW& program) {
    return FillIn(
        WideFrom936(Text{"已在资源管理器的右键菜单和“发送到”中加入“添加为运行命令”：%s",
                         "Added \"Add as run command\" to Explorer's context menu and \"Send to\": %s"}),
        {program});
}

CStringW ExplorerOffText() {
    return WideFrom936(Text{"已从资源管理器的右键菜单和“发送到”中去掉“添加为运行命令”",
                            "Took \"Add as run command\" out of Explorer's context menu and \"Send to\""});
}

CStringW ExplorerFailedText(bool on) {
    return on ? WideFrom936(
                    Text{"未能加入资源管理器的右键菜单和“发送到”：注册表或文件拒绝了修改，没有留下任何修改",
                         "Could not add to Explorer's context menu and \"Send to\": the registry or a file "
                         "refused the change; no change was left behind"})
              : WideFrom936(Text{"未能全部去掉资源管理器的右键菜单和“发送到”：注册表或文件拒绝了修改",
                                 "Could not take everything out of Explorer's context menu and \"Send to\": "
                                 "the registry or a file refused the change"});
}

CStringW ExplorerOtherUserText() {
    return WideFrom936(
        Text{"Velmora 以另一个账户的管理员权限运行，而不是登录的用户：右键菜单和“发送到”只为登录的用户写入，"
             "请不以管理员身份运行 Velmora 再试。没有做任何修改",
             "Velmora runs with the administrator rights of another account than the signed-in user: the "
             "context menu "
             "and \"Send to\" are written only for the signed-in user. Run Velmora without administrator "
             "rights and "
             "try again. Nothing was changed"});
}

CStringW ExplorerRepairText(int mended, int removed, const CStringW& program) {
    if (mended == 0 && removed == 0)
        return WideFrom936(Text{"资源管理器的右键菜单和“发送到”没有失效的项",
                                "Explorer's context menu and \"Send to\" have no broken items"});
    CStringW text;
    if (mended > 0)
        text = FillIn(WideFrom936(Text{"已把 %s 项改为指向 %s", "Made %s items point to %s"}),
                      {DecimalText(mended), program});
    if (removed > 0) {
        if (!text.empty()) text += WideFrom936(Text{"；", "; "});
        text += FillIn(WideFrom936(Text{"已删除 %s 项", "Deleted %s items"}), {DecimalText(removed)});
    }
    return text;
}

CStringW ExplorerStaleProblemText() { return WideFrom936(Text{"资源管理器项失效", "Explorer item broken"}); }

CStringW StartFileMissingText(const CStringW& path) {
    return FillIn(WideFrom936(Text{"找不到文件，没有取用任何程序：\n%s",
                                   "The file cannot be found; no program was taken:\n%s"}),
                  {path});
}
