// The arguments that have Explorer open a folder with `file` selected.
#pragma once

#include "base/wide_text.h"

inline CStringW ExplorerSelectArguments(const CStringW& file) { return u"/select,\"" + file + u"\""; }
