#include "tests/resources/page_window.h"

namespace {

INT_PTR CALLBACK PageProcedure(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

ATOM FrameClass()
{
    static const ATOM atom = [] {
        WNDCLASSEXW frameClass{};
        frameClass.cbSize = sizeof frameClass;
        frameClass.lpfnWndProc = DefWindowProcW;
        frameClass.hInstance = GetModuleHandleW(nullptr);
        frameClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        frameClass.lpszClassName = L"PageTestFrame";
        return RegisterClassExW(&frameClass);
    }();
    return atom;
}

}  // namespace

void PumpMessages(int milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < DWORD(milliseconds));
}

PageWindow::PageWindow(WORD templateId) : frame(nullptr), dialog(nullptr)
{
    const DWORD frameStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    frame = CreateWindowExW(0, MAKEINTATOM(FrameClass()), L"Page", frameStyle, 16, 16, 400, 300, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    if (frame == nullptr)
        return;
    dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), frame, PageProcedure, 0);
    if (dialog == nullptr)
        return;
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
    RECT page{};
    GetWindowRect(dialog, &page);
    RECT outer{0, 0, page.right - page.left, page.bottom - page.top};
    AdjustWindowRectEx(&outer, frameStyle, FALSE, 0);
    SetWindowPos(frame, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top, SWP_NOZORDER | SWP_NOMOVE);
}

PageWindow::~PageWindow()
{
    if (frame != nullptr)
        DestroyWindow(frame);
    PumpMessages(0);
}

void PageWindow::Paint()
{
    ShowWindow(frame, SW_SHOW);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(frame);
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // Wine hands painted windows to the X server from its message loop.
    PumpMessages(500);
}
