#include "wizard/wizard_controller.h"

#include <commctrl.h>

#include <cstring>

#include "engine/setup_app.h"

namespace {

constexpr StringId captionText = 93;
constexpr StringId windowClassName = 94;
constexpr StringId headerFontName = 40;
constexpr int mainWindowWidth = 500;
constexpr int mainWindowHeight = 400;
constexpr WORD mainIcon = 129;

}  // namespace

WizardController::WizardController(SetupApp& owner)
    : instance(nullptr), app(owner), mainWindow(nullptr), classAtom(0), headerFont(nullptr)
{
}

WizardController::~WizardController()
{
    ReleaseAll();
}

int WizardController::Initialise(HINSTANCE moduleInstance)
{
    instance = moduleInstance;
    if (instance == nullptr)
        return 0;
    UniString face;
    app.GetString(headerFontName, face);
    LOGFONTW font{};
    const int units = face.Length() < 31 ? face.Length() : 31;
    std::memcpy(font.lfFaceName, face.WidePtr(0), std::size_t(units) * sizeof(wchar_t));
    font.lfHeight = -30;
    font.lfWeight = FW_BOLD;
    headerFont = CreateFontIndirectW(&font);
    InitCommonControls();
    return 1;
}

LRESULT CALLBACK WizardController::MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

unsigned WizardController::Run()
{
    UniString className;
    app.GetString(windowClassName, className);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = MainWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(mainIcon));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className.WidePtr(0);
    classAtom = RegisterClassExW(&windowClass);

    UniString title;
    app.GetString(captionText, title);
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    const int x = (desktop.right - desktop.left - mainWindowWidth) / 2;
    const int y = (desktop.bottom - desktop.top - mainWindowHeight) / 2;
    mainWindow = CreateWindowExW(0, MAKEINTATOM(classAtom), title.WidePtr(0), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                 x, y, mainWindowWidth, mainWindowHeight, nullptr, nullptr, instance, this);
    if (mainWindow != nullptr)
        ShowWindow(mainWindow, SW_SHOW);

    MSG message;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    mainWindow = nullptr;
    return 1;
}

void WizardController::ReleaseAll()
{
    if (headerFont != nullptr) {
        DeleteObject(headerFont);
        headerFont = nullptr;
    }
    if (mainWindow != nullptr && IsWindow(mainWindow))
        DestroyWindow(mainWindow);
    mainWindow = nullptr;
    if (classAtom != 0) {
        UnregisterClassW(MAKEINTATOM(classAtom), instance);
        classAtom = 0;
    }
}

int WizardController::ShowMessageText(const wchar_t* text, UINT type)
{
    UniString caption;
    app.GetString(captionText, caption);
    return MessageBoxW(mainWindow, text, caption.WidePtr(0), type);
}

int WizardController::ShowMessage(StringId id, UINT type)
{
    UniString text;
    app.GetString(id, text);
    return ShowMessageText(text.WidePtr(0), type);
}
