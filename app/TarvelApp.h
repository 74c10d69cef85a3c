// CTarvelApp: the application object. It runs the main dialog and ends the
// process when the dialog closes.
#pragma once

#include "wnd/WinApp.h"

class CTarvelApp : public CWinApp {
public:
    BOOL InitInstance() override;
};
