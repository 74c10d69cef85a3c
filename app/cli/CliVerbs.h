// The console program's verbs over the run-command store. Each verb picks
// what to act on (looking names up one by one, not listing everything), makes
// one call into the store and writes what came of it:
// data to the output, messages about failures to the error stream, in
// Chinese as the windows word them; --json writes one JSON document. The
// Win32 side only supplies the registry, the file system and the console.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "app/cli/CliExitCode.h"
#include "app/launcher/LauncherFiles.h"
#include "app/platform/ExplorerEntries.h"
#include "app/registry/RegistryAccess.h"
#include "app/runcmd/RunCommandPlace.h"
#include "app/runcmd/RunEntries.h"
#include "base/wide_text.h"

// Where the verbs write. Each call is whole lines (ending in "\n").
class CliOutput {
public:
    virtual ~CliOutput() = default;
    virtual void Out(const CStringW& text) = 0;
    virtual void Err(const CStringW& text) = 0;
};

// What the verbs work with, given by the program (or a test).
struct CliServices {
    IRegistry* registry = nullptr;
    RunCommandPlace place;
    bool elevated = false;
    // Whether an entry's target file exists (the 失效 mark).
    TargetFileCheck targetExists;
    // A program named on the command line as the path to register: made
    // absolute against the current folder.
    std::function<CStringW(const CStringW& path)> fullPath;
    // Whether that program exists (and is not a folder).
    std::function<bool(const CStringW& path)> programExists;
    // Reads a whole file; false when it cannot.
    std::function<bool(const CStringW& file, std::vector<unsigned char>* pData)> readFile;
    // The names of the files (not folders) in a folder; false when it
    // cannot be listed.
    std::function<bool(const CStringW& folder, std::vector<CStringW>* pNames)> listFolder;
    // Writes a whole file, replacing it; false when it cannot.
    std::function<bool(const CStringW& file, const std::vector<unsigned char>& data)> writeFile;
    CStringW version;  // what --version prints after "Velmora ": VELMORA_VERSION_TEXT
    // The launcher files of terminal commands; without them the store
    // changes no launcher and the terminal verb is refused.
    LauncherFiles* launcherFiles = nullptr;
    // The current user's Explorer entries; null: the explorer verb fails.
    ExplorerIntegration* explorer = nullptr;
    // The windows program the entries start (Velmora.exe beside Velmora.com).
    CStringW windowProgram;
    // False when the process runs as another user than the one logged on
    // (elevated with another account): the entries are then not written.
    bool runsAsShellUser = true;
};

// Runs the arguments after the program's name; the exit code is the result.
CliExitCode RunCli(const std::vector<CStringW>& args, const CliServices& services, CliOutput& output);
