#include "store/key_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "store/key_block_data.h"
#include "store/record_builder.h"

namespace {

class InspectableKeyBlock : public KeyBlock {
public:
    using KeyBlock::firstMoveCount;
    using KeyBlock::firstMoveSource;
    using KeyBlock::firstMoveTarget;
    using KeyBlock::keyWindowLength;
    using KeyBlock::keyWindowOffset;
    using KeyBlock::secondMoveCount;
    using KeyBlock::secondMoveSource;
    using KeyBlock::secondMoveTarget;
    using KeyBlock::xorCount;
    using KeyBlock::xorKeyPosition;
    using KeyBlock::xorStart;

    std::vector<std::uint8_t> Bytes() const { return {Block(), Block() + BlockSize()}; }
};

std::vector<std::uint8_t> Pattern(std::size_t size)
{
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = std::uint8_t(i * 131 + 7);
    return bytes;
}

TEST(KeyBlock, RefusesAnyLengthButTheBlockSize)
{
    const auto source = Pattern(969);
    struct Case {
        const std::uint8_t* source;
        int length;
    } const cases[] = {{source.data(), 967}, {source.data(), 969}, {source.data(), 0}, {nullptr, 968}};
    for (const Case& c : cases) {
        KeyBlock keyBlock;
        ASSERT_EQ(keyBlock.Load(source.data(), 968), 1);
        EXPECT_EQ(keyBlock.Load(c.source, c.length), 0) << c.length;
        EXPECT_EQ(keyBlock.Block(), nullptr) << "a refused load keeps no earlier block";
    }
}

// The derivation, redone with plain moves: it must match the block Load
// leaves, and each step must change the bytes the cipher key is read from.
TEST(KeyBlock, EveryDerivationStepChangesTheKeyBytes)
{
    InspectableKeyBlock keyBlock;
    ASSERT_EQ(keyBlock.Load(keyBlockData, int(keyBlockDataLength)), 1);
    ASSERT_GE(keyBlock.keyWindowOffset, 0);
    ASSERT_LE(keyBlock.keyWindowOffset + keyBlock.keyWindowLength, keyBlock.BlockSize());
    ASSERT_EQ(keyBlock.keyWindowLength, 495);

    // Only the first 72 key bytes reach the cipher's key schedule.
    const auto keyBytes = [&](const std::vector<std::uint8_t>& block) {
        return std::vector<std::uint8_t>(block.begin() + keyBlock.keyWindowOffset,
                                         block.begin() + keyBlock.keyWindowOffset + 72);
    };
    std::vector<std::uint8_t> block(keyBlockData, keyBlockData + keyBlockDataLength);
    auto before = keyBytes(block);

    std::memmove(&block[keyBlock.firstMoveTarget], &block[keyBlock.firstMoveSource], keyBlock.firstMoveCount);
    EXPECT_NE(keyBytes(block), before) << "first move";
    before = keyBytes(block);

    std::memmove(&block[keyBlock.secondMoveTarget], &block[keyBlock.secondMoveSource], keyBlock.secondMoveCount);
    EXPECT_NE(keyBytes(block), before) << "second move";
    before = keyBytes(block);

    const std::uint8_t value = block[keyBlock.xorKeyPosition];
    ASSERT_NE(value, 0);
    for (int i = 0; i < keyBlock.xorCount; ++i)
        block[keyBlock.xorStart + i] ^= value;
    EXPECT_NE(keyBytes(block), before) << "XOR step";

    EXPECT_EQ(keyBlock.Bytes(), block);
}

struct MoveCase {
    int target, source, count, expectedCount;
};

TEST(KeyBlock, MoveRangeActsAsAClampedMove)
{
    const MoveCase cases[] = {
        {10, 20, 100, 100},     // overlapping, forwards
        {20, 10, 100, 100},     // overlapping, backwards
        {0, 500, 300, 300},     // apart
        {100, 900, 200, 68},    // source runs past the end
        {900, 100, 200, 68},    // target runs past the end
        {50, 50, 10, 10},       // onto itself
        {-1, 10, 10, 0},        // out of range: nothing
        {10, -1, 10, 0},
        {968, 10, 10, 0},
        {10, 968, 10, 0},
    };
    for (const MoveCase& c : cases) {
        InspectableKeyBlock keyBlock;
        const auto source = Pattern(968);
        ASSERT_EQ(keyBlock.Load(source.data(), 968), 1);
        auto expected = keyBlock.Bytes();
        if (c.expectedCount > 0)
            std::memmove(&expected[c.target], &expected[c.source], c.expectedCount);
        keyBlock.MoveRange(c.target, c.source, c.count);
        EXPECT_EQ(keyBlock.Bytes(), expected) << c.target << " <- " << c.source << " x" << c.count;
    }
}

struct XorCase {
    int start, count, keyPosition, expectedCount;
};

TEST(KeyBlock, XorRangeUsesTheKeyByteAsItWasBefore)
{
    const XorCase cases[] = {
        {100, 50, 10, 50},     // key byte outside the range
        {100, 50, 120, 50},    // key byte inside: it becomes 0
        {900, 200, 5, 68},     // clamped at the end
        {-1, 10, 5, 0},        // out of range: nothing
        {10, 10, 968, 0},
        {968, 10, 5, 0},
    };
    for (const XorCase& c : cases) {
        InspectableKeyBlock keyBlock;
        const auto source = Pattern(968);
        ASSERT_EQ(keyBlock.Load(source.data(), 968), 1);
        auto expected = keyBlock.Bytes();
        if (c.expectedCount > 0) {
            const std::uint8_t value = expected[c.keyPosition];
            ASSERT_NE(value, 0);
            for (int i = 0; i < c.expectedCount; ++i)
                expected[c.start + i] ^= value;
        }
        keyBlock.XorRange(c.start, c.count, c.keyPosition);
        EXPECT_EQ(keyBlock.Bytes(), expected) << c.start << " x" << c.count << " key " << c.keyPosition;
        if (c.keyPosition >= c.start && c.keyPosition < c.start + c.expectedCount) {
            EXPECT_EQ(keyBlock.Bytes()[c.keyPosition], 0);
        }
    }
}

TEST(KeyBlock, NothingDecodesAfterRelease)
{
    KeyBlock keyBlock;
    ASSERT_EQ(keyBlock.Load(keyBlockData, int(keyBlockDataLength)), 1);
    const std::uint8_t text[] = "released";
    auto record = BuildPlainRecord(text, sizeof text, 0);
    ASSERT_EQ(EncipherRecord(keyBlock, record), 1);

    std::uint32_t length = std::uint32_t(record.size());
    std::unique_ptr<std::uint8_t[]> decoded(keyBlock.DecodeRecord(record.data(), length, nullptr));
    ASSERT_NE(decoded, nullptr);

    keyBlock.Release();
    EXPECT_EQ(keyBlock.Block(), nullptr);
    length = std::uint32_t(record.size());
    EXPECT_EQ(keyBlock.DecodeRecord(record.data(), length, nullptr), nullptr);
    EXPECT_EQ(length, record.size());
    keyBlock.Release();  // a second release is harmless
}

}  // namespace
