// The commands file of a set of run commands (the format CommandsFile.h
// reads): what `export --json` writes, indented, each command's fields in
// one order and only those that are not their default, so that the same
// commands always give the same bytes.
#pragma once

#include <vector>

#include "app/runcmd/RunEntries.h"
#include "base/wide_text.h"

// The file of `entries`, sorted: the machine's first, then by name (ASCII
// letter case ignored). Ends with a line feed.
CStringW CommandsFileOf(std::vector<RunEntry> entries);
