// The process entry of a GUI program built on this layer.
#include <windows.h>

#include "wnd/WinApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) { return RunApplication(hInstance); }
