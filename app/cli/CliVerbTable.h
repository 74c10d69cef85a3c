// The console program's verbs, one row each: its name, operands, the flags
// it takes, whether it writes, its help and the function that runs it. The
// parser, the rights check, the help and the dispatch are all built from
// this one table: adding a verb is one row.
#pragma once

#include <vector>

#include "app/cli/CliArguments.h"
#include "app/cli/CliExitCode.h"
#include "base/wide_text.h"

struct CliVerbContext;

// Whether a verb changes run commands (and so needs administrator rights
// for the machine's): never, always, unless --dry-run, or only with a Path
// change (--add, --remove, --set, --clear).
enum class CliWrites { kNever, kAlways, kUnlessDryRun, kWithPathChange };

struct CliVerbRow {
    const char16_t* name;
    int minOperands;
    int maxOperands;           // -1: any number
    const char* operandNames;  // named in the "missing" message: "NAME PROGRAM"
    const char16_t* flags;     // the flags it takes besides --user and --machine, separated by blanks
    CliWrites writes;
    // Replacing another program only with --force (add, rename); a verb
    // whose whole point is the change (set-target, path) just makes it.
    bool replacesOnlyWithForce;
    const char* help;  // its part of the help (GBK)
    CliExitCode (*run)(const CliVerbContext& context);
    // Operand rules beyond their count (the terminal verb's action word):
    // the refusal, or empty. Null: none.
    CStringW (*checkOperands)(const CliRequest& request) = nullptr;
};

// Every verb, in the order the help lists them.
const std::vector<CliVerbRow>& CliVerbTable();
// The row of `name`, or null.
const CliVerbRow* FindCliVerb(const CStringW& name);
// Whether `verb` takes flag `flag` ("--json").
bool TakesFlag(const CliVerbRow& verb, const CStringW& flag);
// Whether `request` of `verb` would change run commands.
bool Writes(const CliVerbRow& verb, const CliRequest& request);
