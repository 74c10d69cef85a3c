// The file Velmora.exe is started with ("Velmora.exe PROGRAM", as Explorer's
// verb and the SendTo shortcut start it), read from the whole command line
// as the process got it. Plain code.
#pragma once

#include <functional>

#include "base/wide_text.h"

struct StartFile {
    bool given = false;  // the command line holds anything after the program's name
    CStringW path;       // the file to take, as written; empty when none was given
};

// The file named by `commandLine` (GetCommandLineW: the program's own name
// first). The program's name ends at its closing quote, or at the first
// blank or tab when it is not quoted. The first argument after it is read
// by the platform's rules (quotes group blanks, 2n backslashes before a quote
// give n and the quote acts, 2n+1 give n and a literal quote, "" inside
// quotes is a quote); any further argument is ignored. An unquoted path
// with blanks (Velmora.exe C:\Program Files\x.exe) splits into several
// arguments: when the first alone is no file (`exists`) but the rest of the
// line, blanks at its ends removed, is one, the rest is taken whole.
StartFile StartFileOf(const CStringW& commandLine, const std::function<bool(const CStringW&)>& exists);
