#include "store/string_table.h"

#include <gtest/gtest.h>

#include <string>

#include "store/embedded_record.h"
#include "store/key_block.h"
#include "store/key_block_data.h"
#include "text/unistring.h"

DECLARE_RECORD(oneEntryTable);
DECLARE_RECORD(unsignedIdsTable);

namespace {

class StringTables : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(keyBlock.Load(keyBlockData, int(keyBlockDataLength)), 1); }

    // Decodes a table record made by the build and attaches it.
    void Attach(StringTable& table, const std::uint8_t* record, std::uint32_t length)
    {
        std::uint32_t count = 0;
        std::uint8_t* buffer = keyBlock.DecodeRecord(record, length, &count);
        ASSERT_NE(buffer, nullptr);
        ASSERT_EQ(table.Attach(buffer, count), 1);
    }

    std::string Text(const StringTable& table, StringId id)
    {
        const std::uint8_t* record = table.Find(id);
        if (record == nullptr)
            return "<missing>";
        UniString s;
        s.AssignRecord(record);
        s.MakeNarrow(-1);
        return std::string(s.NarrowPtr(0), std::size_t(s.Length()));
    }

    KeyBlock keyBlock;
};

TEST_F(StringTables, IdsCompareUnsigned)
{
    StringTable table;
    Attach(table, unsignedIdsTable, unsignedIdsTableLength);
    EXPECT_EQ(table.Count(), 5u);
    const std::pair<StringId, const char*> cases[] = {
        {0, "zero"},
        {5, "five"},
        {0x7FFFFFFF, "7fffffff"},
        {0x80000000u, "80000000"},
        {0xFFFFFFFFu, "ffffffff"},
        {4, "<missing>"},
        {6, "<missing>"},
        {0x80000001u, "<missing>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Text(table, c.first), c.second) << c.first;
}

TEST_F(StringTables, OneEntry)
{
    StringTable table;
    Attach(table, oneEntryTable, oneEntryTableLength);
    EXPECT_EQ(Text(table, 77), "only");
    for (StringId other : {0u, 76u, 78u, 0xFFFFFFFFu})
        EXPECT_EQ(table.Find(other), nullptr) << other;
}

TEST_F(StringTables, AttachRefusesNothingAndKeepsWhatItHas)
{
    StringTable table;
    EXPECT_EQ(table.Find(77), nullptr) << "an empty table finds nothing";
    Attach(table, oneEntryTable, oneEntryTableLength);
    EXPECT_EQ(table.Attach(nullptr, 3), 0);
    std::uint8_t* spare = new std::uint8_t[8]();
    EXPECT_EQ(table.Attach(spare, 0), 0);
    delete[] spare;
    EXPECT_EQ(Text(table, 77), "only");

    table.Release();
    EXPECT_EQ(table.Count(), 0u);
    EXPECT_EQ(table.Find(77), nullptr);
    table.Release();
}

}  // namespace
