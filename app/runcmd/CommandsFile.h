// The commands file: run commands as a JSON file the user keeps (in git,
// beside their dotfiles) and applies on another machine. UTF-8, a version
// and a list of commands, each with its name, scope, program, Path folders,
// options, terminal use and whether it is required
// (docs/commands-file.schema.json). Plain code: reading it refuses anything
// that could not be written as a command, with the line and column, before
// anything is applied.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "app/runcmd/JsonReader.h"
#include "app/runcmd/RunCommandOptions.h"
#include "app/runcmd/RunScope.h"
#include "base/wide_text.h"

// The only version there is.
constexpr int kCommandsFileVersion = 1;

struct FileCommand {
    CStringW name;  // as the file gives it: "tools\ed"
    RunScope scope = RunScope::kCurrentUser;
    CStringW program;               // unexpanded: %VARIABLES% stay
    std::vector<CStringW> folders;  // the Path value's folders, unexpanded
    RunCommandOptions options;
    bool terminal = false;
    // A program missing on this machine is an error, not a skip.
    bool required = false;
    int line = 0;  // where the command's object starts
    int column = 0;
};

enum class CommandsFileError {
    kNone,
    kJson,            // not JSON; `json` says how
    kWrongType,       // a value of another type than its field takes; `field` names it
    kMissingField,    // `field` is required here
    kUnknownField,    // `field` is none of the format's
    kUnknownVersion,  // a version this program does not know
    kBadName,  // a name that cannot be a command (empty, blanks at its ends, too long, a control character)
    kDuplicateName,   // a name the file gave already for that scope
    kBadScope,        // neither "user" nor "machine"
    kBadProgram,      // not a full path to an .exe, or a control character or quote in it
    kBadFolder,       // an empty folder, or one holding ; " or a control character
    kBadEnvironment,  // not NAME=VALUE with a name and a value
    kNotForTerminal,  // terminal use or options for a name no launcher file can have
};

struct CommandsFileRead {
    std::vector<FileCommand> commands;
    CommandsFileError error = CommandsFileError::kNone;
    JsonError json = JsonError::kNone;
    CStringW field;  // the field the error is about, when there is one
    int line = 0;
    int column = 0;
};

// Where the file's commands go: each command's own scope, or `fallback` when
// it names none; `forced` (--user, --machine) puts every command there.
struct CommandsFileScopes {
    RunScope fallback = RunScope::kCurrentUser;
    std::optional<RunScope> forced;
};

// Reads a commands file. On any error no command is given.
CommandsFileRead ReadCommandsFile(const unsigned char* data, std::size_t size, CommandsFileScopes scopes);

// Whether `program` can be a command's program: a full path (a drive, a
// share or a leading %VARIABLE%) to an .exe, without quotes or control
// characters.
bool IsCommandsFileProgram(const CStringW& program);
