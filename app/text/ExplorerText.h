// The words of the Explorer entries: the verb and the SendTo shortcut as
// Explorer shows them, each entry's name and state, and what came of
// turning them on, off or mending them. Shared by the windows and the
// console.
#pragma once

#include "app/text/ViewText.h"
#include "base/wide_text.h"

// The verb on programs and shortcuts: 添加为运行命令…
CStringW ExplorerVerbText();
// The SendTo shortcut's title (its file name without ".lnk"): 添加为运行命令
CStringW SendToShortcutTitle();
// The window menu's and the manager's switch, checked while the entries are on.
extern const RunActionText kExplorerSwitchAction;

// Each entry by name: 0 the verb on programs, 1 the verb on shortcuts, 2
// the SendTo shortcut.
CStringW ExplorerEntryText(int entry);
// An entry's state: 已开启, 未开启, or 已失效 (its Velmora is gone) naming
// the program it starts; 指向另一个 Velmora when it starts another copy.
CStringW ExplorerStateText(bool present, bool stale, bool startsOther, const CStringW& program);

// After `velmora explorer on` / `off` / the menu's switch.
CStringW ExplorerOnText(const CStringW& program);
CStringW ExplorerOffText();
CStringW ExplorerFailedText(bool on);
// The elevated token belongs to another user than the one logged on:
// nothing is written.
CStringW ExplorerOtherUserText();
// After a repair: how many entries were mended (made to start `program`)
// or removed.
CStringW ExplorerRepairText(int mended, int removed, const CStringW& program);
// `check`'s word for an entry whose Velmora is gone.
CStringW ExplorerStaleProblemText();

// The main window was started with a file that is not there: nothing taken.
CStringW StartFileMissingText(const CStringW& path);
