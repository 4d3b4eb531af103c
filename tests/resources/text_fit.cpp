#include "tests/resources/text_fit.h"

namespace {

// Holds a control's device context with the control's font selected.
struct ControlDc {
    HWND window;
    HDC dc;
    HGDIOBJ previousFont;
    explicit ControlDc(HWND control)
        : window(control), dc(GetDC(control)),
          previousFont(SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0))))
    {
    }
    ~ControlDc()
    {
        SelectObject(dc, previousFont);
        ReleaseDC(window, dc);
    }
    ControlDc(const ControlDc&) = delete;
    ControlDc& operator=(const ControlDc&) = delete;
};

SIZE Measure(HDC dc, const std::wstring& text, UINT flags, LONG wrapWidth)
{
    RECT rect{0, 0, wrapWidth, 0};
    DrawTextW(dc, text.c_str(), int(text.size()), &rect, flags | DT_CALCRECT);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

bool IsCheckBox(DWORD style)
{
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return true;
    default:
        return false;
    }
}

}  // namespace

TextFit MeasureControlText(HWND control, const std::wstring& text)
{
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    const DWORD style = DWORD(GetWindowLongW(control, GWL_STYLE));
    RECT client{};
    GetClientRect(control, &client);
    ControlDc context(control);
    TextFit fit{{0, 0}, {client.right, client.bottom}};

    if (lstrcmpiW(className, L"ComboBox") == 0) {
        // The closed list shows the selected item in its item field; the
        // text starts a border's width in.
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(control, &info);
        const int border = GetSystemMetrics(SM_CXBORDER);
        fit.available = {info.rcItem.right - info.rcItem.left - 2 * border, info.rcItem.bottom - info.rcItem.top};
        fit.needed = Measure(context.dc, text, DT_SINGLELINE | DT_NOPREFIX, 0);
    } else if (lstrcmpiW(className, L"Button") == 0) {
        const bool multiLine = (style & BS_MULTILINE) != 0;
        const UINT flags = multiLine ? DT_WORDBREAK : DT_SINGLELINE;
        if (IsCheckBox(style)) {
            // The glyph, then half a digit's width of space before the text.
            INT digit = 0;
            GetCharWidth32W(context.dc, L'0', L'0', &digit);
            fit.available.cx -= GetSystemMetrics(SM_CXMENUCHECK) + digit / 2;
        } else {
            // The raised edge and the focus rectangle inside it.
            fit.available.cx -= 4 * GetSystemMetrics(SM_CXEDGE);
            fit.available.cy -= 2 * GetSystemMetrics(SM_CYEDGE);
        }
        fit.needed = Measure(context.dc, text, flags, fit.available.cx);
    } else {
        // Statics wrap their text unless they centre it vertically, which
        // makes them single-line.
        UINT flags = DT_EXPANDTABS | ((style & SS_CENTERIMAGE) ? DT_SINGLELINE : DT_WORDBREAK);
        if (style & SS_NOPREFIX)
            flags |= DT_NOPREFIX;
        fit.needed = Measure(context.dc, text, flags, client.right);
    }
    return fit;
}
