// The console program's arguments: a verb, its operands and its flags, read
// from UTF-16 arguments as the platform split them. Plain code: every flag is
// one row of a table here, every verb one row of the verb table
// (CliVerbTable.h), and every refusal comes back as a text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/language.h"
#include "base/wide_text.h"

// How `path` changes the Path value; kShow only prints it.
enum class PathChange { kShow, kAdd, kRemove, kSet, kClear };

struct CliRequest {
    CStringW verb;                   // "list", ...; empty with --help or --version alone
    std::vector<CStringW> operands;  // in order
    bool help = false;               // --help (-h, /?): the verb's help, or the overview
    CStringW language;               // --lang en|zh, before or after the verb
    bool version = false;
    bool user = false;        // --user
    bool machine = false;     // --machine
    bool broken = false;      // list --broken
    bool json = false;        // --json
    bool force = false;       // --force
    bool dryRun = false;      // import --dry-run
    bool terminal = false;    // add --terminal
    bool all = false;         // terminal off --all
    bool prune = false;       // apply --prune
    bool hasPattern = false;  // add-folder --pattern GLOB
    CStringW pattern;
    bool hasPathList = false;  // add --path LIST
    CStringW pathList;
    PathChange pathChange = PathChange::kShow;  // path --add/--remove/--set/--clear
    CStringW pathArgument;
    // A command's options (add, set): --args TEXT, --cwd DIR, --env
    // NAME=VALUE (each one given), --admin, --no-admin.
    bool hasArguments = false;
    CStringW arguments;
    bool hasFolder = false;
    CStringW folder;
    std::vector<CStringW> environment;
    CStringW environmentArgument;  // the last --env, before it is kept
    bool administrator = false;
    bool noAdministrator = false;

    // Whether any option of a command was given.
    bool ChangesOptions() const {
        return hasArguments || hasFolder || !environment.empty() || administrator || noAdministrator;
    }
};

struct CliParse {
    CliRequest request;
    CStringW error;  // empty when the arguments are sound
};

// Parses the arguments after the program's name. Flags may come anywhere
// after the verb; a flag's value is the next argument or follows "=";
// after "--" every argument is an operand. Refused: no verb, an unknown verb
// or flag, a flag the verb does not take, a flag without its value, too few
// or too many operands, --user with --machine, two Path changes.
CliParse ParseCliArguments(const std::vector<CStringW>& args);

// The language the console speaks: --lang (its last value before "--"),
// over `environment` (VELMORA_LANG), over `remembered` (the user's choice in
// the registry); Chinese when none names a language. Chosen before anything
// is printed, so that even a refusal of the arguments reads in it.
velmora::Language CliLanguage(const std::vector<CStringW>& args, std::optional<std::string_view> environment,
                              std::optional<std::string_view> remembered);
