#include "engine/setup_app.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "store/key_block.h"
#include "store/key_block_data.h"
#include "store/payload_catalogue.h"
#include "tests/engine/test_resources.h"

namespace {

std::string Utf8(const UniString& s)
{
    UniString copy;
    copy.Assign(s);
    copy.MakeNarrow(-1);
    return std::string(copy.NarrowPtr(0), std::size_t(copy.Length()));
}

class SetupAppStrings : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(app.Initialise(GetModuleHandleW(nullptr)), 1); }

    std::string Fetch(StringId id, int expectedResult = 1)
    {
        UniString out;
        out.AssignNarrow("stale", -1, -1);
        EXPECT_EQ(app.GetString(id, out), expectedResult) << id;
        EXPECT_TRUE(out.IsWide() || out.Length() == 0) << id;
        return Utf8(out);
    }

    SetupApp app{TestResources()};
};

TEST_F(SetupAppStrings, LanguageTableFirstThenDefaultThenConstant)
{
    EXPECT_EQ(Fetch(1), "one");
    EXPECT_EQ(Fetch(2), "two (default)") << "the default table before the constant table";
    EXPECT_EQ(Fetch(216), "three (constant)") << "found after two misses";
    EXPECT_EQ(Fetch(6), "six \xC5\x82") << "a wide record";
    ASSERT_EQ(app.SetLanguage(1), 1);
    EXPECT_EQ(Fetch(1), "jeden");
    EXPECT_EQ(Fetch(6), "six (default)") << "narrow in the default table";
    EXPECT_EQ(Fetch(93), "Test instalatora");
}

TEST_F(SetupAppStrings, MissingAndEmptyTexts)
{
    EXPECT_EQ(Fetch(5), "") << "an empty text is still found";
    EXPECT_EQ(Fetch(4, 0), "") << "an id no table holds";
    EXPECT_EQ(Fetch(0xFFFFFFFFu, 0), "");
}

TEST_F(SetupAppStrings, SetLanguageRefusesOtherSelectors)
{
    EXPECT_EQ(app.SetLanguage(1), 1);
    EXPECT_EQ(app.SetLanguage(2), 0);
    EXPECT_EQ(app.SetLanguage(0xFFFFFFFFu), 0);
    EXPECT_EQ(app.Language(), 1u);
    EXPECT_EQ(app.SetLanguage(0), 1);
    EXPECT_EQ(app.Language(), 0u);
}

TEST_F(SetupAppStrings, DocumentTexts)
{
    struct Case {
        const std::uint8_t* record;
        std::uint32_t length;
        const char* text;
    } const cases[] = {
        {documentWithBom, documentWithBomLength, "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 \xE2\x80\x94 document with a mark\n"},
        {documentPlain, documentPlainLength, "Document without a mark: \xC5\x82\n"},
        {documentTwoBytes, documentTwoBytesLength, "\xEF\xBB"},
    };
    for (const Case& c : cases) {
        UniString out;
        EXPECT_EQ(app.GetDocumentText(c.record, c.length, out), 1);
        EXPECT_FALSE(out.IsWide());
        EXPECT_EQ(std::string(out.NarrowPtr(0), std::size_t(out.Length())), c.text);
    }

    UniString untouched;
    untouched.AssignNarrow("kept", -1, -1);
    EXPECT_EQ(app.GetDocumentText(nullptr, 8, untouched), 0);
    EXPECT_EQ(app.GetDocumentText(documentPlain, 0, untouched), 0);
    EXPECT_EQ(app.GetDocumentText(documentPlain, documentPlainLength - 8, untouched), 0) << "a wrong length";
    EXPECT_EQ(std::string(untouched.NarrowPtr(0)), "kept");
}

TEST_F(SetupAppStrings, PresetLanguageIdComesFromTheTable)
{
    EXPECT_EQ(app.presetLanguageId, 0x0415);
    SetupApp other(TestResourcesWithBadLanguageId());
    ASSERT_EQ(other.Initialise(GetModuleHandleW(nullptr)), 1);
    EXPECT_EQ(other.presetLanguageId, 0) << "text that is not hexadecimal";
}

TEST(SetupAppInitialise, FailsSilentlyWithoutItsTables)
{
    const SetupResources* broken[] = {&TestResourcesWithoutConstantTable(), &TestResourcesWithEmptyTable()};
    for (const SetupResources* resources : broken) {
        SetupApp app(*resources);
        EXPECT_EQ(app.Initialise(GetModuleHandleW(nullptr)), 0);
        EXPECT_EQ(app.Run(), 0) << "no controller, nothing shown";
    }
    SetupApp noInstance(TestResources());
    EXPECT_EQ(noInstance.Initialise(nullptr), 0) << "the controller needs the module";
}

TEST(SetupAppInitialise, TheProductTablesLoad)
{
    SetupApp app;
    ASSERT_EQ(app.Initialise(GetModuleHandleW(nullptr)), 1);
    UniString text;
    for (StringId id : {40u, 58u, 86u, 93u, 94u, 123u, 124u, 144u}) {
        for (std::uint32_t language : {0u, 1u}) {
            app.SetLanguage(language);
            EXPECT_EQ(app.GetString(id, text), 1) << id << " in language " << language;
            EXPECT_GT(text.Length(), 0) << id;
        }
    }
}

// The slots each system gets, written out independently of the catalogue
// code: {first, second}, or {-1, -1} for an unsupported combination.
struct SlotCase {
    int osVersionCode;
    unsigned architecture;
    int first, second;
};

const SlotCase slotCases[] = {
    {50, 0, 0, -1}, {50, 9, 0, -1}, {51, 0, 1, -1}, {51, 6, 1, -1}, {51, 9, 1, -1},
    {52, 0, 2, -1}, {52, 6, 2, 3},  {52, 9, 2, 4},  {52, 5, -1, -1},
    {60, 0, 5, -1}, {60, 6, 5, 6},  {60, 9, 5, 7},  {60, 0xFFFF, -1, -1},
    {61, 0, 8, -1}, {61, 6, 8, 9},  {61, 9, 8, 10},
    {62, 0, 11, -1}, {62, 9, 11, 12}, {62, 6, -1, -1},
    {63, 0, 11, -1}, {63, 9, 11, 12}, {63, 6, -1, -1},
    {100, 0, 11, -1}, {100, 9, 11, 12}, {100, 6, -1, -1},
    {53, 0, 11, -1}, {64, 0, 11, -1}, {64, 9, 11, 12}, {64, 5, -1, -1},
};

const char* const setNames[] = {"standard", "alternate"};
const char* const layoutNames[] = {"QWERTY", "QWERTZ", "AZERTY"};

std::string Identity(int set, int layout, int slot)
{
    return std::string("set ") + setNames[set] + ", layout " + std::to_string(layout) + ", slot " +
           std::to_string(slot);
}

// Which catalogue entry a record holds, told by its content alone: an IA-64
// placeholder names its entry; a driver names its layout and set in its
// version block, and its processor and Windows release in its header.
std::string IdentityOf(const std::uint8_t* record, int length)
{
    KeyBlock keyBlock;
    keyBlock.Load(keyBlockData, int(keyBlockDataLength));
    std::uint32_t size = std::uint32_t(length);
    std::unique_ptr<std::uint8_t[]> image(keyBlock.DecodeRecord(record, size, nullptr));
    if (!image)
        return "<undecodable>";
    const std::string bytes(reinterpret_cast<const char*>(image.get()), size);
    const std::string placeholder = "placeholder for the IA-64 layout driver, which is not built yet: ";
    if (bytes.compare(0, placeholder.size(), placeholder) == 0)
        return bytes.substr(placeholder.size(), bytes.size() - placeholder.size() - 1);
    auto word = [&](std::size_t at) {
        return at + 2 <= size ? unsigned(std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8) : 0u;
    };
    const std::size_t header = word(0x3C) | std::size_t(word(0x3E)) << 16;
    const unsigned machine = word(header + 4), major = word(header + 24 + 40), minor = word(header + 24 + 42);
    const struct {
        unsigned machine, major, minor;
        int slot;
    } slots[] = {{0x14C, 5, 0, 0}, {0x14C, 5, 1, 1}, {0x14C, 5, 2, 2},  {0x8664, 5, 2, 4},  {0x14C, 6, 0, 5},
                 {0x8664, 6, 0, 7}, {0x14C, 6, 1, 8}, {0x8664, 6, 1, 10}, {0x14C, 6, 2, 11}, {0x8664, 6, 2, 12}};
    for (const auto& s : slots) {
        if (s.machine != machine || s.major != major || s.minor != minor)
            continue;
        for (int set = 0; set < 2; ++set) {
            for (int layout = 0; layout < 3; ++layout) {
                std::string wide;
                for (char c : std::string("(") + layoutNames[layout] + ", " + setNames[set] + " set)")
                    wide += std::string{c, '\0'};
                if (bytes.find(wide) != std::string::npos)
                    return Identity(set, layout, s.slot);
            }
        }
    }
    return "<unknown image>";
}

TEST(SelectDriverRecords, EveryVersionArchitectureSetAndLayout)
{
    SetupApp app;
    ASSERT_EQ(app.Initialise(GetModuleHandleW(nullptr)), 1);
    struct SetChoice {
        int stored, alternate, set;
    } const choices[] = {{0, 0, 0}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}};
    for (const SlotCase& c : slotCases) {
        for (const SetChoice& choice : choices) {
            for (int layout = 0; layout < 3; ++layout) {
                SCOPED_TRACE(testing::Message() << "code " << c.osVersionCode << " arch " << c.architecture
                                                << " set " << choice.set << " layout " << layout);
                app.osVersionCode = c.osVersionCode;
                app.processorArchitecture = std::uint16_t(c.architecture);
                app.storedDriverSetFlag = choice.stored;
                app.alternateDriverSet = choice.alternate;
                app.layoutIndex = layout;
                const std::uint8_t *first = reinterpret_cast<const std::uint8_t*>(1), *second = first;
                int firstLength = 0, secondLength = 0;
                const int result = app.SelectDriverRecords(first, firstLength, second, secondLength);
                if (c.first < 0) {
                    EXPECT_EQ(result, 0);
                    EXPECT_EQ(first, nullptr);
                    EXPECT_EQ(firstLength, -1);
                    continue;
                }
                ASSERT_EQ(result, 1);
                EXPECT_EQ(IdentityOf(first, firstLength), Identity(choice.set, layout, c.first));
                if (c.second < 0) {
                    EXPECT_EQ(second, nullptr);
                    EXPECT_EQ(secondLength, -1);
                } else {
                    EXPECT_EQ(IdentityOf(second, secondLength), Identity(choice.set, layout, c.second));
                }
            }
        }
    }
}

}  // namespace
