#include "store/record.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "store/byte_order.h"
#include "store/key_block.h"
#include "store/key_block_data.h"
#include "store/record_builder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Sample(std::size_t size)
{
    Bytes bytes(size);
    std::uint32_t state = 12345;
    for (auto& b : bytes) {
        state = state * 1103515245u + 12345u;
        b = std::uint8_t("abcde fghij\n"[(state >> 16) % 12]);
    }
    return bytes;
}

class Record : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(keyBlock.Load(keyBlockData, int(keyBlockDataLength)), 1); }

    Bytes Encipher(Bytes plain)
    {
        EXPECT_EQ(EncipherRecord(keyBlock, plain), 1);
        return plain;
    }

    // Decodes `record` with `length` as its length constant. Returns whether
    // it decoded; `out` gets the content, `length` and `items` what the call
    // left in them.
    bool Decode(const Bytes& record, std::uint32_t& length, Bytes* out = nullptr, std::uint32_t* items = nullptr)
    {
        std::unique_ptr<std::uint8_t[]> decoded(keyBlock.DecodeRecord(record.data(), length, items));
        if (decoded == nullptr)
            return false;
        if (out != nullptr)
            out->assign(decoded.get(), decoded.get() + length);
        return true;
    }

    // Decoding must fail and leave the caller's length and count alone.
    void ExpectRejected(const Bytes& record, std::uint32_t length)
    {
        const std::uint32_t entryLength = length;
        std::uint32_t items = 0xC0FFEEu;
        EXPECT_FALSE(Decode(record, length, nullptr, &items));
        EXPECT_EQ(length, entryLength);
        EXPECT_EQ(items, 0xC0FFEEu);
    }

    KeyBlock keyBlock;
};

TEST_F(Record, RoundTripsContentAndItemCount)
{
    for (std::size_t size : {std::size_t(1), std::size_t(7), std::size_t(8), std::size_t(1000),
                             std::size_t(300000)}) {
        const Bytes content = Sample(size);
        const Bytes record = Encipher(BuildPlainRecord(content.data(), content.size(), 77));
        ASSERT_EQ(record.size() % 8, 0u);
        std::uint32_t length = std::uint32_t(record.size()), items = 0;
        Bytes decoded;
        ASSERT_TRUE(Decode(record, length, &decoded, &items)) << size;
        EXPECT_EQ(decoded, content);
        EXPECT_EQ(length, size);
        EXPECT_EQ(items, 77u);
    }
}

TEST_F(Record, EmptyContentDecodesToAnEmptyBuffer)
{
    const Bytes record = Encipher(BuildPlainRecord(nullptr, 0, 0));
    std::uint32_t length = std::uint32_t(record.size());
    std::unique_ptr<std::uint8_t[]> decoded(keyBlock.DecodeRecord(record.data(), length, nullptr));
    EXPECT_NE(decoded, nullptr);
    EXPECT_EQ(length, 0u);
}

TEST_F(Record, LengthZeroIsRejected)
{
    const Bytes record = Encipher(BuildPlainRecord(Sample(10).data(), 10, 0));
    ExpectRejected(record, 0);
}

TEST_F(Record, WrongKeyOrLengthConstantIsRejected)
{
    const Bytes content = Sample(500);
    const Bytes record = Encipher(BuildPlainRecord(content.data(), content.size(), 0));

    KeyBlock otherKey;
    Bytes otherSource(keyBlockData, keyBlockData + keyBlockDataLength);
    for (auto& b : otherSource)
        b ^= 0x5C;
    ASSERT_EQ(otherKey.Load(otherSource.data(), int(otherSource.size())), 1);
    std::uint32_t length = std::uint32_t(record.size());
    EXPECT_EQ(otherKey.DecodeRecord(record.data(), length, nullptr), nullptr);
    EXPECT_EQ(length, record.size());

    ExpectRejected(record, std::uint32_t(record.size() - 8));
}

TEST_F(Record, DamagedPackedDataIsRejectedButPaddingIsNotChecked)
{
    const Bytes content = Sample(2000);
    const Bytes plain = BuildPlainRecord(content.data(), content.size(), 0);
    const std::uint32_t packedLength = ReadRecordHeader(plain.data()).packedLength;
    const std::uint32_t padding = std::uint32_t(plain.size()) - recordHeaderSize - packedLength;
    ASSERT_GT(padding, 0u) << "pick a sample size whose record needs padding";

    for (std::uint32_t offset : {0u, packedLength / 2, packedLength - 1}) {
        Bytes damaged = plain;
        damaged[recordHeaderSize + offset] ^= 0x01;
        ExpectRejected(Encipher(damaged), std::uint32_t(plain.size()));
    }

    Bytes paddingChanged = plain;
    paddingChanged.back() = 0xAA;
    std::uint32_t length = std::uint32_t(plain.size());
    Bytes decoded;
    EXPECT_TRUE(Decode(Encipher(paddingChanged), length, &decoded));
    EXPECT_EQ(decoded, content);
}

TEST_F(Record, UnpackedLengthMustMatchTheStreamExactly)
{
    const Bytes content = Sample(4096);
    const Bytes packed = DeflateRaw(content.data(), content.size());
    const std::uint32_t crc = Crc32(0, content.data(), std::uint32_t(content.size()));
    for (std::uint32_t claimed : {4095u, 4097u, 1u}) {
        const Bytes record = Encipher(AssemblePlainRecord(packed, claimed, crc, 0));
        ExpectRejected(record, std::uint32_t(record.size()));
    }
}

TEST_F(Record, WrongUnpackedCrcIsRejected)
{
    const Bytes content = Sample(100);
    const Bytes packed = DeflateRaw(content.data(), content.size());
    const std::uint32_t crc = Crc32(0, content.data(), std::uint32_t(content.size()));
    const Bytes record = Encipher(AssemblePlainRecord(packed, 100, crc ^ 1, 0));
    ExpectRejected(record, std::uint32_t(record.size()));
}

TEST_F(Record, StreamMustEndWithinPackedLength)
{
    const Bytes content = Sample(4096);
    Bytes packed = DeflateRaw(content.data(), content.size());
    packed.pop_back();
    const Bytes record =
        Encipher(AssemblePlainRecord(packed, 4096, Crc32(0, content.data(), std::uint32_t(content.size())), 0));
    ExpectRejected(record, std::uint32_t(record.size()));
}

TEST_F(Record, PackedLengthPastTheRecordIsRejected)
{
    const Bytes content = Sample(64);
    Bytes plain = BuildPlainRecord(content.data(), content.size(), 0);
    ResourceRecordHeader header = ReadRecordHeader(plain.data());
    for (std::uint32_t packedLength : {header.storedLength - recordHeaderSize + 1, 0xFFFFFFF0u}) {
        header.packedLength = packedLength;
        WriteRecordHeader(plain.data(), header);
        ExpectRejected(Encipher(plain), std::uint32_t(plain.size()));
    }
}

TEST_F(Record, ShorterThanItsHeaderIsRejected)
{
    for (std::uint32_t stored : {8u, 16u}) {
        Bytes plain(stored, 0);
        WriteLittleEndian32(plain.data(), stored);
        ExpectRejected(Encipher(plain), stored);
    }
}

TEST_F(Record, ImpossibleUnpackedLengthIsRejectedWithoutAllocating)
{
    const Bytes content = Sample(64);
    const Bytes packed = DeflateRaw(content.data(), content.size());
    const std::uint32_t crc = Crc32(0, content.data(), std::uint32_t(content.size()));
    for (std::uint32_t claimed : {0xFFFFFFFFu, 0xFFFFFFFEu, 0x80000000u}) {
        const Bytes record = Encipher(AssemblePlainRecord(packed, claimed, crc, 0));
        ExpectRejected(record, std::uint32_t(record.size()));
    }
}

// A length constant that is not a multiple of 8 still deciphers whole
// blocks; the array must span the padded length.
TEST_F(Record, UnpaddedLengthDecipheresWholeBlocks)
{
    const Bytes content = Sample(3);
    const Bytes packed = DeflateRaw(content.data(), content.size());
    Bytes plain(recordHeaderSize + packed.size());
    ResourceRecordHeader header{std::uint32_t(plain.size()), 3, std::uint32_t(packed.size()),
                                Crc32(0, content.data(), 3), Crc32(0, packed.data(), std::uint32_t(packed.size())), 5};
    ASSERT_NE(plain.size() % 8, 0u);
    WriteRecordHeader(plain.data(), header);
    std::copy(packed.begin(), packed.end(), plain.begin() + recordHeaderSize);

    const Bytes record = Encipher(plain);
    ASSERT_EQ(record.size() % 8, 0u);
    std::uint32_t length = header.storedLength, items = 0;
    Bytes decoded;
    ASSERT_TRUE(Decode(record, length, &decoded, &items));
    EXPECT_EQ(decoded, content);
    EXPECT_EQ(items, 5u);
}

TEST(Crc32, MatchesTheCommonCheckValue)
{
    const std::uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(Crc32(0, digits, 9), 0xCBF43926u);
    EXPECT_EQ(Crc32(0, nullptr, 9), 0u);
    EXPECT_EQ(Crc32(0, digits, 0), 0u);
}

}  // namespace
