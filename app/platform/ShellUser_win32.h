// Whether the tool runs as the user who is logged on. An administrator's
// elevated Velmora is that user (the split token shares the user and so
// HKEY_CURRENT_USER); a Velmora elevated with another account's password
// (a standard user's over-the-shoulder prompt) runs as that other account,
// and its HKEY_CURRENT_USER and SendTo folder are not the logged-on user's.
#pragma once

// True when the process's user is the user of the shell's desktop window
// (Explorer's process), or when that cannot be told (no shell running, its
// process or token closed to us): the entries then go to the process's own
// user, as everything else it writes for "the user".
bool RunsAsShellUser();
