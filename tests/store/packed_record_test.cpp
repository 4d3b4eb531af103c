// A record made by the packer at build time must give back the fixture file
// byte for byte, in the native build and in the Windows builds alike.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "store/embedded_record.h"
#include "store/key_block.h"
#include "store/key_block_data.h"

DECLARE_RECORD(packedSampleRecord);

namespace {

TEST(PackedRecord, DecodesToTheFixtureFile)
{
    std::ifstream in(FIXTURE_DIR "/packed_sample.txt", std::ios::binary);
    ASSERT_TRUE(in) << FIXTURE_DIR;
    const std::vector<std::uint8_t> expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

    KeyBlock keyBlock;
    ASSERT_EQ(keyBlock.Load(keyBlockData, int(keyBlockDataLength)), 1);
    std::uint32_t length = packedSampleRecordLength, items = 0;
    std::unique_ptr<std::uint8_t[]> decoded(keyBlock.DecodeRecord(packedSampleRecord, length, &items));
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(std::vector<std::uint8_t>(decoded.get(), decoded.get() + length), expected);
    EXPECT_EQ(items, 3u);
    EXPECT_EQ(packedSampleRecordLength % 8, 0u);
}

}  // namespace
