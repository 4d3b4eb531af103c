#pragma once
#include <windows.h>

#include <string>

// How much room a text takes in a control, drawn the way the control draws
// it with the control's own font, against the room the control has for it.
struct TextFit {
    SIZE needed;
    SIZE available;
    bool Fits() const { return needed.cx <= available.cx && needed.cy <= available.cy; }
};

// For a static control, a push button, a check box, or one item of a
// drop-down list.
TextFit MeasureControlText(HWND control, const std::wstring& text);
