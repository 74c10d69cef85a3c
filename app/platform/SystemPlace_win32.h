// Where the system keeps run commands: App Paths below HKEY_LOCAL_MACHINE
// and HKEY_CURRENT_USER, as the registry interface names them.
#pragma once

#include "app/runcmd/RunCommandPlace.h"

RunCommandPlace SystemRunCommandPlace();
