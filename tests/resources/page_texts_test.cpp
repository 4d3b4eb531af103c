// Every text a page shows, fetched from the product's own string tables in
// each interface language, set into the page's real template and measured
// with the page's font: each must fit its control. A screenshot of every
// page is kept beside the build for the eye.
#include <windows.h>

#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/setup_app.h"
#include "engine/setup_resources.h"
#include "resources/windows/dialog_ids.h"
#include "tests/resources/page_window.h"
#include "tests/resources/screenshot.h"
#include "tests/resources/text_fit.h"

namespace {

constexpr StringId layoutNameText = 81;
constexpr const char* languageCodes[] = {"en", "pl"};

// The fourteen keys of the key assignment page, by row.
constexpr std::uint16_t keyRowScanCodes[KEY_ROW_COUNT] = {0x2A,   0x36,   0x1D,   0xE01D, 0x38, 0xE038, 0xE05B,
                                                          0xE05C, 0xE05D, 0x56,   0x0F,   0x3A, 0x46,   0x45};
// The texts of the key page's target list, in list order.
constexpr StringId keyTargetTexts[] = {326, 176, 280, 281, 282, 283, 284, 285, 228, 229, 230, 317, 175,
                                       311, 167, 174, 279, 278, 189, 190, 180, 179, 177, 178, 188, 173};

// One state of a page: what each control says and which controls are
// shown, ticked or enabled in it.
struct Screen {
    std::string name;
    std::map<int, std::wstring> texts;
    // Texts of fields that scroll: shown, not measured.
    std::map<int, std::wstring> scrolled;
    std::map<int, std::vector<std::wstring>> lists;
    std::map<int, int> selections;
    std::vector<int> shown;
    std::vector<int> hidden;
    std::vector<int> ticked;
    std::vector<int> enabled;
};

// The product's texts in one interface language. A text that is missing
// or empty fails the test.
class ProductTexts {
public:
    explicit ProductTexts(int language) : app(ProductResources()), language(language)
    {
        ready = app.Initialise(GetModuleHandleW(nullptr)) == 1 && app.SetLanguage(std::uint32_t(language)) == 1;
    }

    bool Ready() const { return ready; }
    SetupApp& App() { return app; }

    std::wstring Text(StringId id)
    {
        UniString text;
        if (!app.GetString(id, text) || text.IsEmpty()) {
            ADD_FAILURE() << "string " << id << " is missing or empty in the " << languageCodes[language]
                          << " tables";
            return L"";
        }
        return std::wstring(text.WidePtr(0), std::size_t(text.Length()));
    }

    // A template with one %s, as the pages format it.
    std::wstring Formatted(StringId pattern, const std::wstring& argument)
    {
        const std::wstring format = Text(pattern);
        if (format.empty())
            return L"";
        UniString text;
        EXPECT_EQ(text.Format(format.c_str(), argument.c_str()), 1) << "string " << pattern << " as a template";
        return std::wstring(text.WidePtr(0), std::size_t(text.Length()));
    }

    // The agreement in this language, as the agreement page decodes it.
    std::wstring Agreement()
    {
        const EmbeddedRecord& record = ProductResources().agreements[language];
        UniString text;
        if (!app.GetDocumentText(record.data, record.length, text) || text.MakeWide(-1) == nullptr ||
            text.IsEmpty()) {
            ADD_FAILURE() << "the " << languageCodes[language] << " agreement does not decode";
            return L"";
        }
        return std::wstring(text.WidePtr(0), std::size_t(text.Length()));
    }

    std::vector<std::wstring> Texts(std::initializer_list<StringId> ids)
    {
        std::vector<std::wstring> texts;
        for (StringId id : ids)
            texts.push_back(Text(id));
        return texts;
    }

private:
    SetupApp app;
    int language;
    bool ready;
};

std::vector<Screen> StartPageScreens(ProductTexts& texts, int language)
{
    Screen firstInstall;
    firstInstall.texts = {
        {IDC_START_TITLE, texts.Formatted(97, texts.Text(layoutNameText))},
        {IDC_START_BODY, texts.Text(131)},
        {IDC_INTERFACE_LANGUAGE_LABEL, texts.Text(1)},
        {IDC_CANCEL, texts.Text(98)},
        {IDC_UNINSTALL, texts.Text(127)},
        {IDC_MODIFY, texts.Text(128)},
        {IDC_RUN_ASSOCIATED, texts.Text(140)},
        {IDC_NEXT, texts.Text(99)},
    };
    firstInstall.lists = {{IDC_INTERFACE_LANGUAGE_LIST, texts.Texts({92, 91})}};
    firstInstall.selections = {{IDC_INTERFACE_LANGUAGE_LIST, language}};
    firstInstall.hidden = {IDC_UNINSTALL, IDC_MODIFY, IDC_RUN_ASSOCIATED};

    // This version installed: uninstall, modify and the wide button instead
    // of Next.
    Screen installed = firstInstall;
    installed.name = "installed";
    installed.texts[IDC_START_TITLE] = texts.Formatted(141, texts.Text(layoutNameText));
    installed.texts[IDC_START_BODY] = texts.Text(136);
    installed.hidden = {IDC_NEXT};
    installed.shown = {IDC_UNINSTALL, IDC_MODIFY, IDC_RUN_ASSOCIATED};
    installed.enabled = {IDC_MODIFY};
    return {firstInstall, installed};
}

std::vector<Screen> AgreementPageScreens(ProductTexts& texts)
{
    Screen screen;
    screen.texts = {
        {IDC_AGREEMENT_HEADING, texts.Text(132)},
        {IDC_ACCEPT_AGREEMENT, texts.Text(105)},
        {IDC_CANCEL, texts.Text(98)},
        {IDC_BACK, texts.Text(100)},
        {IDC_NEXT, texts.Text(99)},
    };
    screen.scrolled = {{IDC_AGREEMENT_TEXT, texts.Agreement()}};
    return {screen};
}

std::vector<Screen> OptionsPageScreens(ProductTexts& texts)
{
    // The input-language list names locales as the system does; Polish is
    // the one this layout is for.
    wchar_t localeName[128] = {};
    EXPECT_NE(GetLocaleInfoW(0x0415, LOCALE_SLANGUAGE, localeName, 128), 0);
    const std::wstring layoutName = texts.Text(layoutNameText);

    Screen screen;
    screen.texts = {
        {IDC_INPUT_LANGUAGE_LABEL, texts.Formatted(101, layoutName)},
        {IDC_SCRIPT_FRAGMENT, texts.Formatted(102, std::wstring(localeName) + L" - " + layoutName)},
        {IDC_USER_KEYBOARD_VALUES, texts.Text(139)},
        {IDC_DESKTOP_SHORTCUTS, texts.Text(106)},
        {IDC_ALTERNATE_DRIVERS, texts.Text(109)},
        {IDC_LAYOUT_LABEL, texts.Text(110)},
        {IDC_NUMPAD_LABEL, texts.Text(111)},
        {IDC_OPTIONS_NOTE, texts.Text(112)},
        {IDC_CANCEL, texts.Text(98)},
        {IDC_KEY_PAGE, texts.Text(152)},
        {IDC_BACK, texts.Text(100)},
        {IDC_INSTALL, texts.Text(104)},
    };
    screen.lists = {
        {IDC_INPUT_LANGUAGE_LIST, {localeName}},
        {IDC_LAYOUT_LIST, texts.Texts({113, 114, 115})},
        {IDC_NUMPAD_LIST, texts.Texts({119, 120})},
    };
    screen.ticked = {IDC_SCRIPT_FRAGMENT, IDC_USER_KEYBOARD_VALUES};
    return {screen};
}

std::vector<Screen> FinishPageScreens(ProductTexts& texts)
{
    // After an install on Vista or later where the association is missing:
    // the longest body, with the extra paragraph.
    const std::wstring extraParagraph = L"\n\n" + texts.Text(133);
    Screen installed;
    installed.texts = {
        {IDC_FINISH_HEADING, texts.Text(136)},
        {IDC_FINISH_BODY, texts.Text(135) + extraParagraph},
        {IDC_RESTART, texts.Text(137)},
    };
    Screen olderWindows = installed;
    olderWindows.name = "before-vista";
    olderWindows.texts[IDC_FINISH_BODY] = texts.Formatted(134, texts.Text(layoutNameText)) + extraParagraph;
    Screen uninstalled = installed;
    uninstalled.name = "uninstalled";
    uninstalled.texts[IDC_FINISH_HEADING] = L"";
    uninstalled.texts[IDC_FINISH_BODY] = texts.Text(130);
    return {installed, olderWindows, uninstalled};
}

// Every row ticked, its list holding all targets with the key's own
// target selected, as a ticked row first shows it.
std::vector<Screen> KeyPageScreens(ProductTexts& texts)
{
    const std::vector<std::wstring> targets = [&] {
        std::vector<std::wstring> all;
        for (StringId id : keyTargetTexts)
            all.push_back(texts.Text(id));
        return all;
    }();
    Screen screen;
    for (int row = 0; row < KEY_ROW_COUNT; ++row) {
        const KeyRemapEntry* key = texts.App().FindKeyEntry(keyRowScanCodes[row]);
        if (key == nullptr) {
            ADD_FAILURE() << "no key table row for scan code 0x" << std::hex << keyRowScanCodes[row];
            continue;
        }
        int ownTarget = 0;
        for (int i = 0; i < int(std::size(keyTargetTexts)); ++i)
            if (keyTargetTexts[i] == key->labelId)
                ownTarget = i;
        screen.texts[IDC_KEY_CHECK_FIRST + row] = texts.Text(key->labelId);
        screen.lists[IDC_KEY_LIST_FIRST + row] = targets;
        screen.selections[IDC_KEY_LIST_FIRST + row] = ownTarget;
        screen.ticked.push_back(IDC_KEY_CHECK_FIRST + row);
        screen.enabled.push_back(IDC_KEY_LIST_FIRST + row);
    }
    screen.texts[IDC_CANCEL] = texts.Text(98);
    screen.texts[IDC_KEY_PAGE_NAME] = texts.Text(152);
    screen.texts[IDC_RETURN_TO_OPTIONS] = texts.Text(100);
    return {screen};
}

std::vector<Screen> ScreensOf(WORD templateId, ProductTexts& texts, int language)
{
    switch (templateId) {
    case IDD_START_PAGE:
        return StartPageScreens(texts, language);
    case IDD_AGREEMENT_PAGE:
        return AgreementPageScreens(texts);
    case IDD_OPTIONS_PAGE:
        return OptionsPageScreens(texts);
    case IDD_FINISH_PAGE:
        return FinishPageScreens(texts);
    default:
        return KeyPageScreens(texts);
    }
}

bool Apply(PageWindow& page, const Screen& screen, std::string& missing)
{
    for (const auto* texts : {&screen.texts, &screen.scrolled})
        for (const auto& [id, text] : *texts)
            if (!SetWindowTextW(page.Control(id), text.c_str()))
                missing += " " + std::to_string(id);
    for (const auto& [id, items] : screen.lists) {
        const HWND list = page.Control(id);
        if (list == nullptr)
            missing += " " + std::to_string(id);
        for (const std::wstring& item : items)
            SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        const auto selection = screen.selections.find(id);
        SendMessageW(list, CB_SETCURSEL, selection != screen.selections.end() ? selection->second : 0, 0);
    }
    for (int id : screen.shown)
        ShowWindow(page.Control(id), SW_SHOW);
    for (int id : screen.hidden)
        ShowWindow(page.Control(id), SW_HIDE);
    for (int id : screen.ticked)
        SendMessageW(page.Control(id), BM_SETCHECK, BST_CHECKED, 0);
    for (int id : screen.enabled)
        EnableWindow(page.Control(id), TRUE);
    return missing.empty();
}

// The page's own background makes up most of the picture, and its texts
// leave dark pixels on it.
void ExpectPagePainted(const Screenshot& shot)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    long background = 0, dark = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            const COLORREF pixel = shot.Pixel(x, y);
            if (pixel == face)
                ++background;
            else if (GetRValue(pixel) + GetGValue(pixel) + GetBValue(pixel) < 3 * 64)
                ++dark;
        }
    const long all = long(shot.width) * shot.height;
    EXPECT_GT(background * 2, all) << "the page's face colour covers " << background << " of " << all << " pixels";
    EXPECT_GT(dark, 200) << "no text on the screen";
}

std::string Utf8(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(std::size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

void ExpectFits(HWND control, int id, const std::wstring& text)
{
    const TextFit fit = MeasureControlText(control, text);
    EXPECT_TRUE(fit.Fits()) << "control " << id << ": \"" << Utf8(text) << "\" needs " << fit.needed.cx << "x"
                            << fit.needed.cy << " pixels, has " << fit.available.cx << "x" << fit.available.cy;
}

struct PageCase {
    WORD templateId;
    int language;
};

class PageTexts : public testing::TestWithParam<PageCase> {};

TEST_P(PageTexts, FitTheirControls)
{
    const PageCase page = GetParam();
    ProductTexts texts(page.language);
    ASSERT_TRUE(texts.Ready()) << "the product's tables do not load";

    for (const Screen& screen : ScreensOf(page.templateId, texts, page.language)) {
        SCOPED_TRACE(testing::Message() << "template " << page.templateId << " (" << languageCodes[page.language]
                                        << ") " << screen.name);
        PageWindow window(page.templateId);
        ASSERT_NE(window.Dialog(), nullptr) << "the template does not make a dialog";
        std::string missing;
        EXPECT_TRUE(Apply(window, screen, missing)) << "controls not in the template:" << missing;
        window.Paint();

        const std::string file = std::string(SCREENSHOT_DIR) + "/" + std::to_string(page.templateId) +
                                 (screen.name.empty() ? "" : "-" + screen.name) + "-" +
                                 languageCodes[page.language] + ".png";
        Screenshot shot;
        std::string error;
        if (TakeScreenshot(window.Dialog(), file, shot, error))
            ExpectPagePainted(shot);
        else
            ADD_FAILURE() << "no screenshot " << file << ": " << error;

        for (const auto& [id, text] : screen.texts)
            if (IsWindowVisible(window.Control(id)))
                ExpectFits(window.Control(id), id, text);
        // The key page's fourteen lists are alike: each item is measured once.
        std::set<std::wstring> measured;
        for (const auto& [id, items] : screen.lists)
            for (const std::wstring& item : items)
                if (measured.insert(item).second)
                    ExpectFits(window.Control(id), id, item);
    }
}

std::vector<PageCase> AllPages()
{
    std::vector<PageCase> cases;
    for (WORD id : {IDD_START_PAGE, IDD_AGREEMENT_PAGE, IDD_OPTIONS_PAGE, IDD_FINISH_PAGE, IDD_KEY_PAGE})
        for (int language : {0, 1})
            cases.push_back({id, language});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, PageTexts, testing::ValuesIn(AllPages()),
                         [](const testing::TestParamInfo<PageCase>& info) {
                             return std::to_string(info.param.templateId) + "_" +
                                    languageCodes[info.param.language];
                         });

}  // namespace
