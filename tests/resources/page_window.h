#pragma once
#include <windows.h>

#include <string>

// A page template shown the way the wizard shows its pages: a child dialog
// at the top left of a plain frame window, on the test's screen.
class PageWindow {
public:
    explicit PageWindow(WORD templateId);
    ~PageWindow();
    PageWindow(const PageWindow&) = delete;
    PageWindow& operator=(const PageWindow&) = delete;

    HWND Dialog() const { return dialog; }
    // Null when the template has no such control.
    HWND Control(int id) const { return dialog != nullptr ? GetDlgItem(dialog, id) : nullptr; }

    // Shows the frame and lets every window paint and reach the screen.
    void Paint();

private:
    HWND frame;
    HWND dialog;
};

// Handles the messages that come in for `milliseconds`.
void PumpMessages(int milliseconds);
