// The program's entry: one application object on this stack for the whole
// run, with COM in a multithreaded apartment around it.
#include <windows.h>
#include <objbase.h>

#include "engine/setup_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    SetupApp app;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (app.Initialise(instance) && app.Run()) {
        app.Shutdown();
        CoUninitialize();
    }
    return 0;
}
