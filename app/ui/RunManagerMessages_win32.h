// The run-command manager's private window messages and its timer, in one
// place, so that no two share a number.
#pragma once

#include <windows.h>

#include "skin/QebDialog.h"

namespace velmora::app {

// Posted by the icon loader's worker (RowIcons): icons wait to be taken.
constexpr UINT kIconsReadMessage = WM_APP + 1;
// Posted when the user has set a column's width (wParam: the column): the
// others take up the difference once the list has finished with it.
constexpr UINT kRefitColumnsMessage = WM_APP + 2;
// Posted by the first icon a paint asks for (RowIcons): the files asked for
// go to the worker once the paint is done.
constexpr UINT kAskIconsMessage = WM_APP + 3;

// The timer that reads the values still waiting while the window is idle;
// not the frame's resize timer.
constexpr UINT_PTR kValueFillTimer = CQebDialog::RESIZE_TIMER_ID + 1;

}  // namespace velmora::app
