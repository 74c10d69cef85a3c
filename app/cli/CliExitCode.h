// What the console program's exit code tells a script: one code per kind of
// outcome, documented in the help text and the README.
#pragma once

enum class CliExitCode {
    kSuccess = 0,
    kProblemsFound = 1,  // check found broken, hidden or ill-named entries
    kUsage = 2,          // unknown verb or flag, missing or extra argument, a name the rules refuse
    kNotFound = 3,       // no such run command, or the program or file named does not exist
    kExists =
        4,  // the name points at another program (or the import would replace) and --force was not given
    kNeedsAdmin = 5,  // the machine's entries without administrator rights; nothing written
    kFailed = 6,      // the registry refused a step, or a file could not be read or written, or is damaged
    // apply alone, so that a script tells its outcomes from every other verb's:
    kInStep = 10,          // every command was as the file says: nothing written
    kChanged = 11,         // commands were added, changed or removed, and none failed
    kChangesPending = 12,  // --dry-run: the plan has changes
    kApplyFailed = 13,     // the file was refused, or a command could not be applied (the others were)
};
