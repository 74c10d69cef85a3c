// The console program's verbs, one row each: its name, operands, the flags
// it takes, whether it writes, its help and the function that runs it. The
// parser, the rights check, the help and the dispatch are all built from
// this one table: adding a verb is one row.
#pragma once

#include <vector>

#include "app/cli/CliArguments.h"
#include "app/cli/CliExitCode.h"
#include "base/language.h"
#include "base/wide_text.h"

struct CliVerbContext;

// A verb's help in Chinese and English, read in the current language. It is
// printed as it stands, never filled in, so its `%` are text (%*, %%,
// %NAME%) and not holes: the two languages must each have one, the same
// number of `%`, and no Chinese punctuation in the English.
class CliHelpText {
public:
    consteval CliHelpText(const char* chinese, const char* english) : m_chinese(chinese), m_english(english) {
        if (velmora::text_check::IsEmpty(chinese) || velmora::text_check::IsEmpty(english))
            throw "a verb's help must have both languages";
        if (PercentSigns(chinese) != PercentSigns(english))
            throw "the two languages of a verb's help must have as many percent signs";
        if (velmora::text_check::HasChinesePunctuation(english))
            throw "an English help uses Chinese punctuation";
    }
    // NOLINTNEXTLINE(google-explicit-constructor): a text's two languages, checked the same way
    consteval CliHelpText(const velmora::Text& text) : CliHelpText(text.chinese(), text.english()) {}
    // NOLINTNEXTLINE(google-explicit-constructor): the help reads as its current language
    operator const char*() const noexcept {
        return velmora::CurrentLanguage() == velmora::Language::kEnglish ? m_english : m_chinese;
    }

    static consteval int PercentSigns(const char* text) {
        int count = 0;
        for (int at = 0; text[at] != 0; ++at) count += text[at] == '%' ? 1 : 0;
        return count;
    }

private:
    const char* m_chinese;
    const char* m_english;
};

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
    CliHelpText help;  // its part of the help
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
