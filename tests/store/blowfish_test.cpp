#include "store/blowfish.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> Hex(const std::string& text)
{
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        bytes.push_back(std::uint8_t(std::stoul(text.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::uint32_t BigEndianWord(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return std::uint32_t(bytes[at]) << 24 | std::uint32_t(bytes[at + 1]) << 16 | std::uint32_t(bytes[at + 2]) << 8 |
           bytes[at + 3];
}

// The published vectors write each block big-endian. Here a block's halves
// are little-endian in memory, so a vector's word 0x01234567 is stored as
// the bytes 67 45 23 01.
std::vector<std::uint8_t> LittleEndianBlock(const std::vector<std::uint8_t>& bigEndian)
{
    return {bigEndian[3], bigEndian[2], bigEndian[1], bigEndian[0],
            bigEndian[7], bigEndian[6], bigEndian[5], bigEndian[4]};
}

struct Vector {
    const char* key;
    const char* plain;
    const char* cipher;
};

// Eric Young's published test set: fixed 8-byte keys, and the same 24-byte
// key cut to 1, 2, 3, 8 and 24 bytes.
const Vector publishedVectors[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    {"F0", "FEDCBA9876543210", "F9AD597C49DB005E"},
    {"F0E1", "FEDCBA9876543210", "E91D21C1D961A6D6"},
    {"F0E1D2", "FEDCBA9876543210", "E9C2B70A1BC65CF3"},
    {"F0E1D2C3B4A59687", "FEDCBA9876543210", "E87A244E2CC85E82"},
    {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210", "05044B62FA52D080"},
};

TEST(Blowfish, PublishedVectorsOnBlockHalves)
{
    for (const Vector& v : publishedVectors) {
        SCOPED_TRACE(v.key);
        const auto key = Hex(v.key), plain = Hex(v.plain), cipher = Hex(v.cipher);
        BlowfishContext context;
        context.SetKey(key.data(), int(key.size()));

        std::uint32_t left = BigEndianWord(plain, 0), right = BigEndianWord(plain, 4);
        context.EncryptBlock(left, right);
        EXPECT_EQ(left, BigEndianWord(cipher, 0));
        EXPECT_EQ(right, BigEndianWord(cipher, 4));
        context.DecryptBlock(left, right);
        EXPECT_EQ(left, BigEndianWord(plain, 0));
        EXPECT_EQ(right, BigEndianWord(plain, 4));
    }
}

TEST(Blowfish, PublishedVectorsOnLittleEndianBytes)
{
    for (const Vector& v : publishedVectors) {
        SCOPED_TRACE(v.key);
        const auto key = Hex(v.key);
        const auto plain = LittleEndianBlock(Hex(v.plain)), cipher = LittleEndianBlock(Hex(v.cipher));
        BlowfishContext context;
        context.SetKey(key.data(), int(key.size()));

        std::vector<std::uint8_t> block(8);
        context.Encrypt(plain.data(), block.data(), 8);
        EXPECT_EQ(block, cipher);
        context.Decrypt(cipher.data(), block.data(), 8);
        EXPECT_EQ(block, plain);
    }
}

std::vector<std::uint8_t> EncipherSample(const std::vector<std::uint8_t>& key)
{
    BlowfishContext context;
    context.SetKey(key.data(), int(key.size()));
    std::vector<std::uint8_t> data(64);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = std::uint8_t(i * 37 + 11);
    context.Encrypt(data.data(), data.data(), std::uint32_t(data.size()));
    return data;
}

TEST(Blowfish, ShortKeysRepeatThroughTheSchedule)
{
    const std::vector<std::vector<std::uint8_t>> shortKeys = {{0xA5}, {0x01, 0xFE}, {0x10, 0x20, 0x30}};
    for (const auto& key : shortKeys) {
        std::vector<std::uint8_t> repeated(72);
        for (std::size_t i = 0; i < repeated.size(); ++i)
            repeated[i] = key[i % key.size()];
        EXPECT_EQ(EncipherSample(key), EncipherSample(repeated)) << "key length " << key.size();
    }
}

TEST(Blowfish, OnlyTheFirst72KeyBytesCount)
{
    std::vector<std::uint8_t> key(100);
    for (std::size_t i = 0; i < key.size(); ++i)
        key[i] = std::uint8_t(i * 7 + 3);
    const std::vector<std::uint8_t> first72(key.begin(), key.begin() + 72);
    EXPECT_EQ(EncipherSample(key), EncipherSample(first72));

    std::vector<std::uint8_t> tailChanged = key;
    tailChanged[80] ^= 0xFF;
    EXPECT_EQ(EncipherSample(key), EncipherSample(tailChanged));

    std::vector<std::uint8_t> byte71Changed = key;
    byte71Changed[71] ^= 0xFF;
    EXPECT_NE(EncipherSample(key), EncipherSample(byte71Changed));
}

TEST(Blowfish, PaddedLength)
{
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {
        {0, 0}, {1, 8}, {7, 8}, {8, 8}, {9, 16}, {16, 16}, {0xFFFFFFF8u, 0xFFFFFFF8u}};
    for (const auto& c : cases)
        EXPECT_EQ(BlowfishContext::PaddedLength(c.first), c.second) << c.first;
}

class BlowfishBuffers : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::uint8_t key[] = {'r', 'e', 'c', 'o', 'r', 'd'};
        context.SetKey(key, sizeof key);
        for (std::size_t i = 0; i < plain.size(); ++i)
            plain[i] = std::uint8_t(200 - i);
    }

    BlowfishContext context;
    std::vector<std::uint8_t> plain = std::vector<std::uint8_t>(24);
};

TEST_F(BlowfishBuffers, NineBytesCoverTwoWholeBlocks)
{
    std::vector<std::uint8_t> enciphered(24);
    context.Encrypt(plain.data(), enciphered.data(), 24);

    std::vector<std::uint8_t> work(24, 0xEE);
    context.Decrypt(enciphered.data(), work.data(), 9);
    EXPECT_EQ(std::vector<std::uint8_t>(work.begin(), work.begin() + 16),
              std::vector<std::uint8_t>(plain.begin(), plain.begin() + 16));
    EXPECT_EQ(std::vector<std::uint8_t>(work.begin() + 16, work.end()), std::vector<std::uint8_t>(8, 0xEE));
}

TEST_F(BlowfishBuffers, LengthZeroChangesNothing)
{
    std::vector<std::uint8_t> work(8, 0x5A);
    context.Decrypt(plain.data(), work.data(), 0);
    context.Decrypt(work.data(), work.data(), 0);
    EXPECT_EQ(work, std::vector<std::uint8_t>(8, 0x5A));
}

TEST_F(BlowfishBuffers, InPlaceMatchesSeparateBuffers)
{
    std::vector<std::uint8_t> separate(24);
    context.Decrypt(plain.data(), separate.data(), 24);
    std::vector<std::uint8_t> inPlace = plain;
    context.Decrypt(inPlace.data(), inPlace.data(), 24);
    EXPECT_EQ(inPlace, separate);
    EXPECT_NE(inPlace, plain);

    context.Encrypt(inPlace.data(), inPlace.data(), 24);
    EXPECT_EQ(inPlace, plain);
}

}  // namespace
