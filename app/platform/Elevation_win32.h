// Whether the tool runs with administrator rights, and so where it registers
// run commands: below HKEY_LOCAL_MACHINE when it does, below
// HKEY_CURRENT_USER (which the Run box and the shell honour from Windows 7
// on) when it does not. Decided once, at start-up, by CTarvelApp, which
// gives the rights to the dialogs.
#pragma once

#include <windows.h>

#include "app/runcmd/RunCommandStore.h"

// The process token's elevation (Vista and later). Where the system knows no
// elevation (the token has no TokenElevation class, as before Vista), what
// registering below HKEY_LOCAL_MACHINE needs instead: whether the machine's
// App Paths key opens for creating subkeys and setting values.
bool DetectElevation();

// The rights of a tool that runs `elevated` or not: new entries go to the
// machine's scope when it is, else to the user's.
RunCommandRights RightsFor(bool elevated);
