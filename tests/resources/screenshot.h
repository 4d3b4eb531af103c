#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What the screen shows of a window: 8-bit RGB, top row first.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    COLORREF Pixel(int x, int y) const
    {
        const unsigned char* p = &rgb[(std::size_t(y) * width + x) * 3];
        return RGB(p[0], p[1], p[2]);
    }
};

// Grabs `window`'s area of the X screen with ImageMagick's import and keeps
// it as a PNG file at `unixPath`. Wine starts Unix programs as it starts
// Windows ones, but gives no handle to wait on, so the shell that runs
// them leaves a marker when it is done. Returns false, with `error` set,
// when no picture came.
bool TakeScreenshot(HWND window, const std::string& unixPath, Screenshot& shot, std::string& error);
