// Where a run command is registered.
#pragma once

// Below HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER. The shell looks in the
// user's first.
enum class RunScope { kLocalMachine, kCurrentUser };
