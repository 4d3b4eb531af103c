#pragma once
#include <windows.h>

#include "store/string_table.h"

class SetupApp;

// Owns the main window and runs the message loop. The pages come later;
// for now the main window is an empty frame, which is enough for message
// boxes to have an owner and for a second start to find the first.
class WizardController {
public:
    explicit WizardController(SetupApp& app);
    virtual ~WizardController();
    WizardController(const WizardController&) = delete;
    WizardController& operator=(const WizardController&) = delete;

    int Initialise(HINSTANCE instance);
    // Creates the main window and runs the message loop until it is gone.
    unsigned Run();
    void ReleaseAll();

    int ShowMessageText(const wchar_t* text, UINT type);
    int ShowMessage(StringId id, UINT type);
    HWND MainWindowHandle() const { return mainWindow; }

private:
    static LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance;
    SetupApp& app;
    HWND mainWindow;
    ATOM classAtom;
    HFONT headerFont;
};
