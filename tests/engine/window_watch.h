#pragma once
#include <windows.h>

#include <string>

// Finds a top-level window of this or another process by class and caption,
// waiting up to `milliseconds`. An empty caption matches any.
HWND WaitForWindow(const wchar_t* className, const std::wstring& caption, DWORD processId, int milliseconds);

// The text of a message box: the longest text among its static controls.
std::wstring MessageBoxText(HWND box);
