#include "app/text/ExplorerText.h"

namespace {

using velmora::DecimalText;
using velmora::FillIn;
using velmora::WideFrom936;

}  // namespace

CStringW ExplorerVerbText() { return WideFrom936("添加为运行命令…"); }

CStringW SendToShortcutTitle() { return WideFrom936("添加为运行命令"); }

const RunActionText kExplorerSwitchAction{
    {"资源管理器中的“添加为运行命令”", "\"Add as run command\" in File Explorer"},
    {"在资源管理器的右键菜单和“发送到”中(&X)", "In File E&xplorer's context menu and \"Send to\""}};

CStringW ExplorerEntryText(int entry) {
    switch (entry) {
        case 0:
            return WideFrom936("右键菜单（程序）");
        case 1:
            return WideFrom936("右键菜单（快捷方式）");
        default:
            return WideFrom936("“发送到”快捷方式");
    }
}

CStringW ExplorerStateText(bool present, bool stale, bool startsOther, const CStringW& program) {
    if (!present) return WideFrom936("未开启");
    if (stale) return FillIn(WideFrom936("已失效：%s 已不存在"), {program});
    if (startsOther) return FillIn(WideFrom936("指向另一个 Velmora：%s"), {program});
    return FillIn(WideFrom936("已开启：%s"), {program});
}

CStringW ExplorerOnText(const CStringW& program) {
    return FillIn(WideFrom936("已在资源管理器的右键菜单和“发送到”中加入“添加为运行命令”：%s"), {program});
}

CStringW ExplorerOffText() { return WideFrom936("已从资源管理器的右键菜单和“发送到”中去掉“添加为运行命令”"); }

CStringW ExplorerFailedText(bool on) {
    return on ? WideFrom936(
                    "未能加入资源管理器的右键菜单和“发送到”：注册表或文件拒绝了修改，没有留下任何修改")
              : WideFrom936("未能全部去掉资源管理器的右键菜单和“发送到”：注册表或文件拒绝了修改");
}

CStringW ExplorerOtherUserText() {
    return WideFrom936(
        "Velmora 以另一个账户的管理员权限运行，而不是登录的用户：右键菜单和“发送到”只为登录的用户写入，"
        "请不以管理员身份运行 Velmora 再试。没有做任何修改");
}

CStringW ExplorerRepairText(int mended, int removed, const CStringW& program) {
    if (mended == 0 && removed == 0) return WideFrom936("资源管理器的右键菜单和“发送到”没有失效的项");
    CStringW text;
    if (mended > 0) text = FillIn(WideFrom936("已把 %s 项改为指向 %s"), {DecimalText(mended), program});
    if (removed > 0) {
        if (!text.empty()) text += WideFrom936("；");
        text += FillIn(WideFrom936("已删除 %s 项"), {DecimalText(removed)});
    }
    return text;
}

CStringW ExplorerStaleProblemText() { return WideFrom936("资源管理器项失效"); }

CStringW StartFileMissingText(const CStringW& path) {
    return FillIn(WideFrom936("找不到文件，没有取用任何程序：\n%s"), {path});
}
