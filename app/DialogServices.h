// What the tool's dialogs work with, given to them by whoever creates them:
// the registry, the shell's way of starting programs and the scope new
// entries go to. The program makes one from the system (CTarvelApp); tests
// make their own.
#pragma once

#include "app/RegistryAccess.h"
#include "app/RunEntries.h"
#include "app/ShellLaunch.h"

struct DialogServices {
    // The registry both dialogs read and write.
    IRegistry* registry;
    // Starts programs and Explorer (ShellOpen): shell32's ShellExecuteExW.
    ShellExecuteExFn shellExecute;
    // Where the main dialog registers: the machine's App Paths when the tool
    // runs elevated, else the user's.
    RunScope scope;
};
