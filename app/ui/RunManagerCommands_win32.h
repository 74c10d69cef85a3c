// The manager's commands, one row each: the id its button or menu item
// sends, its texts, its key, when it is enabled and its handler. The row of
// buttons, the context menu, the keys of the list and the dispatch of
// WM_COMMAND are all built from this one table: adding a command is one row.
#pragma once

#include <windows.h>

#include "app/runcmd/RunEntries.h"
#include "app/text/ViewText.h"

class CRunManagerDlg;

struct RunManagerCommand {
    // When the command can be used, by what is selected.
    enum class Needs {
        kNothing,          // always
        kSome,             // one entry or more
        kOne,              // exactly one entry
        kMachineSelected,  // administrator rights and an entry of the machine's
        kUserSelected,     // administrator rights and an entry of the user's
    };
    UINT id;                    // 0 for a key alone
    const RunActionText* text;  // its name and menu item; null: no menu item
    WORD key;                   // the list's key for it, 0 when none
    bool withControl;           // the key is pressed with Ctrl
    Needs needs;
    bool button;           // one of the buttons below the list, in table order
    bool separatorBefore;  // in the context menu
    void (CRunManagerDlg::*handler)();
    // When set: the menu item shows a check mark while this is true.
    bool (CRunManagerDlg::*checked)() const = nullptr;
};

// The table, in the order of the buttons and of the context menu.
const RunManagerCommand* RunManagerCommands(std::size_t* pCount) noexcept;
