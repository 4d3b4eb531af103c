// The program's own start-up and lookups over the product's records: the
// application object initialises from them, and every id the code uses gives
// a text in both interface languages, as the wizard fetches it.
#include <gtest/gtest.h>

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

}  // namespace
