// What the tool's windows work with, given to them by whoever creates them:
// the registry and where run commands live in it, the rights the tool runs
// with, the shell's way of starting programs, the test whether a target
// file exists, the manager's dialogs and the message filter that lets
// dropped files through. The program makes one from the system
// (CTarvelApp); tests make their own.
#pragma once

#include "app/platform/ExplorerEntries.h"
#include "app/platform/ShellLaunch_win32.h"
#include "app/registry/RegistryAccess.h"
#include "app/runcmd/ListingChangeWatch.h"
#include "app/runcmd/RunCommandFollower.h"
#include "app/runcmd/RunCommandStore.h"
#include "app/runcmd/RunEntries.h"
#include "app/ui/FileIconLoader_win32.h"
#include "wnd/MessageFilter.h"

class RunManagerChoices;

struct AppServices {
    // The registry every window reads and writes.
    IRegistry* registry;
    // HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER, and their App Paths key.
    RunCommandPlace place;
    // Where the main dialog registers (the machine's App Paths when the tool
    // runs elevated, else the user's), and whether it runs elevated.
    RunCommandRights rights;
    // Starts programs and Explorer (ShellOpen): shell32's ShellExecuteExW.
    ShellExecuteExFn shellExecute;
    // Whether a target file exists (the 失效 mark).
    TargetFileCheck targetExists;
    // The manager's file dialogs, import preview and Path editor.
    RunManagerChoices* choices;
    // How a window lets dropped files through when the tool runs elevated
    // (none when both functions are null).
    MessageFilter messageFilter;
    // Where the windows remember their places for the user, below
    // HKEY_CURRENT_USER (place.roots.user); empty: nothing is remembered.
    CStringW settingsKey;
    // Commands that work in terminals: their launchers follow every change
    // the store makes. Null: no launcher is made or changed.
    RunCommandFollower* launchers = nullptr;
    // Makes the manager's watch over the keys it lists (RegistryChangeWatch);
    // none: every refresh lists again.
    ListingWatchMaker watchListing = {};
    // Reads the manager's row icons on its worker; none: the target file's
    // own icon (FileIconLoader::ReadTargetFileIcon).
    FileIconLoader::Reader iconReader = {};
    // The current user's Explorer entries and the program they start (this
    // Velmora.exe); null: the window menu and the manager offer no switch.
    ExplorerIntegration* explorer = nullptr;
    CStringW explorerProgram = {};
    // False when the tool runs as another user than the one logged on: the
    // entries are then not written (ShellUser_win32.h).
    bool runsAsShellUser = true;

    // The run-command store over these services, asking through `prompts`.
    RunCommandStore Store(RunCommandPrompts& prompts) const {
        return RunCommandStore(*registry, place, rights, prompts, targetExists, launchers);
    }
};
