// The program's own start-up and lookups over the product's records: the
// application object initialises from them, and every id the code uses gives
// a text in both interface languages, as the wizard fetches it.
#include <gtest/gtest.h>

#include <shlwapi.h>

#include <cwctype>
#include <string>

#include "engine/setup_app.h"
#include "engine/setup_resources.h"
#include "used_string_ids.h"

namespace {

class ProductApp : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(app.Initialise(GetModuleHandleW(nullptr)), 1); }

    SetupApp app{ProductResources()};
};

TEST_F(ProductApp, EveryUsedIdHasATextInBothLanguages)
{
    for (std::uint32_t language = 0; language < 2; ++language) {
        ASSERT_EQ(app.SetLanguage(language), 1);
        for (const std::uint32_t id : usedStringIds) {
            UniString text;
            EXPECT_EQ(app.GetString(id, text), 1) << "id " << id << ", language " << language;
            EXPECT_GT(text.Length(), 0) << "id " << id << ", language " << language;
        }
    }
}

TEST_F(ProductApp, BothAgreementTextsDecode)
{
    const SetupResources& resources = ProductResources();
    for (const EmbeddedRecord& agreement : resources.agreements) {
        UniString text;
        ASSERT_EQ(app.GetDocumentText(agreement.data, agreement.length, text), 1);
        EXPECT_GT(text.Length(), 1000);
    }
}

TEST_F(ProductApp, FirstSettingsComeFromTheProductTexts)
{
    // The default variant is named by the product's texts; the keypad choice
    // follows the test machine's locale.
    EXPECT_EQ(app.GetLayoutIndex(), 0);
    EXPECT_GE(app.GetKeepNumpadDecimal(), 0);
}

// The program a shell association names, upper-cased as the wizard compares it.
std::wstring AssociatedProgram(const wchar_t* association)
{
    wchar_t path[2048] = L"";
    DWORD size = 2048;
    if (FAILED(AssocQueryStringW(0, ASSOCSTR_EXECUTABLE, association, nullptr, path, &size)))
        return std::wstring();
    std::wstring text(path);
    for (wchar_t& c : text)
        c = wchar_t(std::towupper(c));
    return text;
}

TEST_F(ProductApp, AssociationsTheWizardUsesNamePrograms)
{
    // The start page's button starts Explorer on Control Panel.
    UniString folder, argument;
    ASSERT_EQ(app.GetString(41, folder), 1);
    ASSERT_EQ(app.GetString(95, argument), 1);
    const std::wstring explorer = AssociatedProgram(folder.WidePtr(0));
    ASSERT_GE(explorer.size(), 12u);
    EXPECT_EQ(explorer.substr(explorer.size() - 12), L"EXPLORER.EXE");
    EXPECT_EQ(std::wstring(argument.WidePtr(0)).rfind(L"::{", 0), 0u);

    // The documents' suffix names a program, and the probe text finds it.
    UniString suffix, probe;
    ASSERT_EQ(app.GetString(42, suffix), 1);
    ASSERT_EQ(app.GetString(45, probe), 1);
    const std::wstring browser = AssociatedProgram(suffix.WidePtr(0));
    EXPECT_NE(browser.find(probe.WidePtr(0)), std::wstring::npos) << browser;
    EXPECT_EQ(AssociatedProgram(L".no-such-suffix").find(probe.WidePtr(0)), std::wstring::npos);
}

}  // namespace
