// The tool's questions: Yes and No, with No the default.
#pragma once

#include <windows.h>

#include "base/wide_text.h"

// Asks with the question icon in a modal box owned by `hOwner`; Enter on
// the default button answers No. True only for Yes.
bool AskYesNo(HWND hOwner, const CStringW& caption, const CStringW& text);
