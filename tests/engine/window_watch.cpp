#include "tests/engine/window_watch.h"

namespace {

struct Search {
    const wchar_t* className;
    const std::wstring* caption;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    Search& search = *reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[256] = {}, text[512] = {};
    GetClassNameW(window, name, 256);
    GetWindowTextW(window, text, 512);
    if (owner == search.processId && lstrcmpW(name, search.className) == 0 &&
        (search.caption->empty() || *search.caption == text)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM parameter)
{
    std::wstring& longest = *reinterpret_cast<std::wstring*>(parameter);
    wchar_t name[64] = {}, text[1024] = {};
    GetClassNameW(child, name, 64);
    if (lstrcmpiW(name, L"Static") == 0) {
        GetWindowTextW(child, text, 1024);
        if (lstrlenW(text) > int(longest.size()))
            longest = text;
    }
    return TRUE;
}

}  // namespace

HWND WaitForWindow(const wchar_t* className, const std::wstring& caption, DWORD processId, int milliseconds)
{
    for (int waited = 0; waited <= milliseconds; waited += 50) {
        Search search{className, &caption, processId, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            return search.found;
        Sleep(50);
    }
    return nullptr;
}

std::wstring MessageBoxText(HWND box)
{
    std::wstring longest;
    EnumChildWindows(box, LongestStatic, reinterpret_cast<LPARAM>(&longest));
    return longest;
}
