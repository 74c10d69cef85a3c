// How a change to run commands came out: one set of outcomes for every
// change the store makes, whatever the view that shows it.
#pragma once

enum class ChangeResult {
    kDone,                // the change is stored
    kUnchanged,           // it was so already: nothing written
    kDeclined,            // the user said No to replacing: nothing written
    kNotFound,            // the entry is no longer there: nothing written
    kInvalidName,         // the name makes no entry, lies inside the entry, or the target is blank
    kNotForTerminal,      // the command works (or is to work) in terminals and the name cannot
    kNotAProgram,         // for terminals: the target is missing or is not a program
    kNeedsAdministrator,  // the machine's entries without administrator rights: nothing written
    kRegistryFailed,      // the registry refused a step: everything as it was
    kLauncherFailed,      // a launcher could not be written or removed (running?): everything as it was
    kFolderUnsafe,  // the machine's launcher folder is not safe and could not be made so: nothing written
};

// Whether the change was made or there was nothing to make.
constexpr bool Succeeded(ChangeResult result) noexcept {
    return result == ChangeResult::kDone || result == ChangeResult::kUnchanged;
}
