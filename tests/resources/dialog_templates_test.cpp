// The page templates as the program carries them, read from this test's own
// resources (the same resource objects as the program's) and compared field
// by field with the layout the pages are written against.
#include <gtest/gtest.h>

#include <vector>

#include "tests/resources/dialog_template.h"

namespace {

constexpr WORD buttonClass = 0x80;
constexpr WORD editClass = 0x81;
constexpr WORD staticClass = 0x82;
constexpr WORD comboClass = 0x85;

// Every control is a visible child unless its row says otherwise.
constexpr DWORD child = WS_CHILD | WS_VISIBLE;
constexpr DWORD pushButton = child | BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD defaultButton = child | BS_DEFPUSHBUTTON | WS_TABSTOP;
constexpr DWORD checkBox = child | BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD dropDownList = child | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD leftText = child | SS_LEFT;
constexpr DWORD rightCentredText = child | SS_RIGHT | SS_CENTERIMAGE;
constexpr DWORD etchedLine = child | SS_ETCHEDHORZ;

struct Control {
    std::int32_t id;
    WORD classOrdinal;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
};

struct Page {
    WORD id;
    DWORD style;
    WORD weight;
    BYTE charset;
    std::vector<Control> controls;
};

const Control topLine{-1, staticClass, etchedLine, 0, 0, 0, 318, 1};
const Control bottomLine{-1, staticClass, etchedLine, 0, 0, 147, 318, 1};

std::vector<Control> KeyPageControls()
{
    std::vector<Control> controls{topLine, bottomLine};
    for (int row = 1; row <= 14; ++row) {
        const bool left = row <= 10;
        const short y = short(5 + 14 * (left ? row - 1 : row - 11));
        controls.push_back({1300 + row, buttonClass, checkBox | BS_LEFTTEXT, WS_EX_RIGHT, short(left ? 2 : 160), y,
                            72, 12});
        controls.push_back({1400 + row, comboClass, dropDownList | WS_DISABLED, 0, short(left ? 76 : 234), y, 80, 160});
    }
    controls.push_back({300, buttonClass, pushButton, 0, 8, 152, 50, 16});
    controls.push_back({303, staticClass, child | SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN, 0, 142, 152, 50, 16});
    controls.push_back({301, buttonClass, defaultButton, 0, 201, 152, 50, 16});
    return controls;
}

std::vector<Page> Pages()
{
    constexpr DWORD centred = WS_CHILD | DS_SETFONT | DS_CENTER;
    return {
        {200, WS_CHILD | DS_SETFONT | DS_3DLOOK, 0, ANSI_CHARSET,
         {topLine, bottomLine,
          {308, staticClass, leftText, 0, 8, 4, 302, 10},
          {309, staticClass, leftText, 0, 8, 18, 302, 107},
          {307, staticClass, leftText | WS_GROUP, 0, 8, 128, 222, 18},
          {2002, comboClass, dropDownList, 0, 230, 131, 80, 160},
          {300, buttonClass, pushButton, 0, 8, 152, 50, 16},
          {315, buttonClass, pushButton, 0, 83, 152, 50, 16},
          {2003, buttonClass, (pushButton & ~WS_VISIBLE) | WS_DISABLED, 0, 142, 152, 50, 16},
          {2, buttonClass, defaultButton, 0, 201, 152, 109, 16},
          {1, buttonClass, pushButton, 0, 260, 152, 50, 16}}},
        {201, centred, 0, DEFAULT_CHARSET,
         {topLine, bottomLine,
          {311, staticClass, leftText, 0, 8, 4, 302, 16},
          {306, editClass, child | ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_TABSTOP, WS_EX_STATICEDGE, 8, 24, 302,
           120},
          {300, buttonClass, pushButton, 0, 8, 152, 50, 16},
          {305, buttonClass, checkBox, 0, 83, 152, 114, 16},
          {301, buttonClass, pushButton, 0, 201, 152, 50, 16},
          {1, buttonClass, defaultButton | WS_DISABLED, 0, 260, 152, 50, 16}}},
        {202, centred, 0, ANSI_CHARSET,
         {topLine, bottomLine,
          {313, staticClass, leftText, 0, 8, 4, 302, 10},
          {1202, comboClass, dropDownList | CBS_SORT, 0, 8, 16, 302, 144},
          {1200, buttonClass, checkBox, 0, 14, 32, 294, 12},
          {1205, buttonClass, checkBox, 0, 14, 48, 294, 12},
          {1212, buttonClass, checkBox | WS_GROUP, 0, 14, 64, 294, 12},
          {314, staticClass, rightCentredText, 0, 8, 98, 196, 12},
          {1214, comboClass, dropDownList, 0, 206, 98, 104, 101},
          {316, staticClass, rightCentredText, 0, 8, 114, 196, 12},
          {1215, comboClass, dropDownList, 0, 206, 114, 104, 101},
          {317, staticClass, rightCentredText, 0, 8, 130, 302, 12},
          {300, buttonClass, pushButton, 0, 8, 152, 50, 16},
          {303, buttonClass, pushButton, 0, 142, 152, 50, 16},
          {301, buttonClass, pushButton, 0, 201, 152, 50, 16},
          {206, buttonClass, defaultButton, 0, 260, 152, 50, 16},
          {1213, buttonClass, checkBox | BS_LEFTTEXT | BS_RIGHT | WS_GROUP, 0, 14, 80, 294, 12}}},
        {203, centred, 0, ANSI_CHARSET,
         {topLine, bottomLine,
          {-1, staticClass, etchedLine, 0, 8, 66, 302, 1},
          {1209, staticClass, leftText, 0, 8, 4, 302, 60},
          {1204, staticClass, leftText, 0, 8, 70, 302, 40},
          {1213, buttonClass, defaultButton, 0, 114, 152, 90, 16}}},
        {204, centred, FW_NORMAL, EASTEUROPE_CHARSET, KeyPageControls()},
    };
}

class DialogTemplates : public testing::TestWithParam<Page> {};

TEST_P(DialogTemplates, MatchTheirLayout)
{
    const Page& page = GetParam();
    DialogTemplate dialog;
    std::string error;
    ASSERT_TRUE(ReadDialogTemplate(GetModuleHandleW(nullptr), page.id, dialog, error)) << error;

    EXPECT_EQ(dialog.style, page.style);
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.helpId, 0u);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, 318);
    EXPECT_EQ(dialog.cy, 172);
    EXPECT_EQ(dialog.menu, L"");
    EXPECT_EQ(dialog.windowClass, L"") << "no class of its own";
    EXPECT_EQ(dialog.title, L"") << "no caption";
    EXPECT_EQ(dialog.typeface, L"Arial");
    EXPECT_EQ(dialog.pointSize, 11);
    EXPECT_EQ(dialog.weight, page.weight);
    EXPECT_EQ(dialog.italic, 0);
    EXPECT_EQ(dialog.charset, page.charset);

    ASSERT_EQ(dialog.items.size(), page.controls.size()) << "controls of template " << page.id;
    for (std::size_t i = 0; i < page.controls.size(); ++i) {
        const Control& want = page.controls[i];
        const DialogItem& item = dialog.items[i];
        SCOPED_TRACE(testing::Message() << "template " << page.id << ", control " << i << " (id " << want.id << ")");
        EXPECT_EQ(item.id, want.id) << "tab order";
        EXPECT_EQ(item.classOrdinal, want.classOrdinal);
        EXPECT_EQ(item.className, L"");
        EXPECT_EQ(item.style, want.style) << std::hex << "0x" << item.style << " instead of 0x" << want.style;
        EXPECT_EQ(item.exStyle, want.exStyle);
        EXPECT_EQ(item.x, want.x);
        EXPECT_EQ(item.y, want.y);
        EXPECT_EQ(item.cx, want.cx);
        EXPECT_EQ(item.cy, want.cy);
        EXPECT_EQ(item.title, L"") << "texts come from the string tables";
        EXPECT_EQ(item.helpId, 0u);
        EXPECT_EQ(item.creationDataSize, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, DialogTemplates, testing::ValuesIn(Pages()),
                         [](const testing::TestParamInfo<Page>& info) { return std::to_string(info.param.id); });

}  // namespace
