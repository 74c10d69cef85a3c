// The options of a run command: preset arguments, a working folder,
// environment variables and "run as administrator", kept as values of the
// command's own key (RunCommandOptionNames.h). A command with options has its
// default value naming a launcher that applies them and keeps its real
// program in a value of its own; the store's follower keeps that in step.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "app/registry/RegistryAccess.h"
#include "app/runcmd/RunCommandOptionNames.h"
#include "base/wide_text.h"

struct RunCommandOptions {
    CStringW arguments;                 // as stored: %*, %%, %NAME%
    CStringW folder;                    // unexpanded
    std::vector<CStringW> environment;  // NAME=VALUE, in their order
    bool administrator = false;

    bool Any() const noexcept {
        return !arguments.IsEmpty() || !folder.IsEmpty() || !environment.empty() || administrator;
    }
    friend bool operator==(const RunCommandOptions&, const RunCommandOptions&) = default;
};

// A change to a command's options; what is not given stays as it is.
struct RunCommandOptionsChange {
    std::optional<CStringW> arguments;  // empty: cleared
    std::optional<CStringW> folder;     // empty: cleared
    std::vector<CStringW> environment;  // NAME=VALUE sets NAME; NAME= removes it
    std::optional<bool> administrator;

    bool Empty() const noexcept { return !arguments && !folder && environment.empty() && !administrator; }
};

// The change that gives a command with none the options `options`.
RunCommandOptionsChange ChangeSettingAll(const RunCommandOptions& options);

// The change that turns `from` into `to` and touches only what differs (a
// variable gone is removed by "NAME=").
RunCommandOptionsChange ChangeBetween(const RunCommandOptions& from, const RunCommandOptions& to);

// `options` with `change` made; false (and nothing made) when an
// environment text has no name before its "=" or no "=" at all.
bool ApplyOptionsChange(const RunCommandOptions& options, const RunCommandOptionsChange& change,
                        RunCommandOptions* pChanged);

// Takes a value of an entry's key read by name and type into `options`
// when it is one of them; false for any other value.
bool TakeOptionValue(const CStringW& name, std::uint32_t type, const std::vector<unsigned char>& data,
                     RunCommandOptions& options);
// The options of an open key.
RunCommandOptions ReadRunCommandOptions(IRegistry& registry, RegKey key);

// The texts of a REG_MULTI_SZ value, and the bytes that store them (an
// empty text ends the value on the platform, so none is kept).
std::vector<CStringW> TextsOfMultiString(const std::vector<unsigned char>& data);
std::vector<unsigned char> MultiStringBytes(const std::vector<CStringW>& texts);

// The program entry `keyPath` (below `root`) starts: its program value when
// it has options, else its default value; empty when it has neither.
CStringW ReadCommandTarget(IRegistry& registry, RegKey root, const CStringW& keyPath);

// True for a path naming a launcher of the options folder
// (...\Velmora\bin\options\NAME.exe of any scope or machine): never a
// command's real program.
bool IsOptionsLauncherPath(const CStringW& file);
