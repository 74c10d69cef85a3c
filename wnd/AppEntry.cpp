// The process entry of a GUI program built on this layer.
#include <windows.h>

#include "base/system_library_win32.h"
#include "wnd/WinApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    velmora::LoadDllsFromSystemOnly();
    return RunApplication(hInstance);
}
