// The tool's confirmation box.
#pragma once

#include <windows.h>

#include "base/wide_text.h"

// Shows a modal message box with an OK button and icon resource `nIconId` of
// `hInstance`, owned by `hWndOwner`. Returns when the user has closed it.
void ShowIconMessageBox(HINSTANCE hInstance, HWND hWndOwner, UINT nIconId, CStringW strCaption,
                        CStringW strText);
