#include "text/utf8.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Units = std::vector<WideChar>;
using Bytes = std::string;

Bytes Encode(const Units& units)
{
    const int size = EncodeUtf8(units.data(), nullptr, int(units.size()), 0);
    Bytes out(std::size_t(size), '\0');
    EXPECT_EQ(EncodeUtf8(units.data(), &out[0], int(units.size()), size), size);
    return out;
}

struct EncodeCase {
    Units units;
    Bytes bytes;
};

TEST(Utf8, EncodesEachUnitByItself)
{
    const EncodeCase cases[] = {
        {{0x41}, "A"},
        {{0x00E9}, "\xC3\xA9"},
        {{0x07FF}, "\xDF\xBF"},
        {{0x0800}, "\xE0\xA0\x80"},
        {{0x20AC}, "\xE2\x82\xAC"},
        {{0xFFFF}, "\xEF\xBF\xBF"},
        {{0xD83D, 0xDE00}, "\xED\xA0\xBD\xED\xB8\x80"},  // a pair becomes two sequences
        {{0x61, 0x0000, 0x62}, Bytes("a\0b", 3)},        // a 0 inside the count is a 0 byte
    };
    for (const EncodeCase& c : cases) {
        EXPECT_EQ(Encode(c.units), c.bytes);
        EXPECT_EQ(Utf8Size(c.units.data(), int(c.units.size()), 0), int(c.bytes.size()));
    }
}

TEST(Utf8, EncodeArgumentRules)
{
    const WideChar text[] = {0x48, 0xE9, 0};
    char out[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(EncodeUtf8(text, out, -1, 0), 3) << "dstSize 0 only sizes";
    EXPECT_EQ(out[0], 'x');
    EXPECT_EQ(EncodeUtf8(text, nullptr, -1, 8), -1);
    EXPECT_EQ(EncodeUtf8(nullptr, out, 5, 8), 0);
    EXPECT_EQ(EncodeUtf8(text, out, 0, 8), 0);
    EXPECT_EQ(EncodeUtf8(text, out, -1, 2), -1) << "never writes past dstSize";
    EXPECT_EQ(out[2], 'x');
    EXPECT_EQ(EncodeUtf8(text, out, -1, 8), 3);
    EXPECT_EQ(Bytes(out, 4), "H\xC3\xA9x") << "no terminator is written";
    EXPECT_EQ(Utf8Size(text, -1, 0), 3);
    EXPECT_EQ(Utf8Size(text, -1, 17), 17);
    EXPECT_EQ(Utf8Size(nullptr, 4, 0), 0);
}

struct DecodeCase {
    Bytes bytes;
    int result;  // units, or -1
    Units units;
};

TEST(Utf8, DecodesStrictlyByStructure)
{
    const DecodeCase cases[] = {
        {"A\xC3\xA9\xE2\x82\xAC", 3, {0x41, 0xE9, 0x20AC}},
        {"\xED\xA0\xBD\xED\xB8\x80", 2, {0xD83D, 0xDE00}},
        {"\xC0\x80", 1, {0x0000}},      // overlong forms are not refused
        {"\xED\xA0\x80", 1, {0xD800}},  // nor are encoded surrogates
        {"\xF0\x9F\x98\x80", -1, {}},   // four-byte sequences are
        {"A\x80" "B", -1, {}},          // a stray follow byte
        {"A\xC3", -1, {}},              // cut off by the end of the count
        {"\xE2\x82", -1, {}},
        {"\xC3" "A", -1, {}},           // follow byte out of range
        {"\xE2\x82" "A", -1, {}},
        {"\xFF", -1, {}},
        {"\xF8\x80\x80\x80\x80", -1, {}},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        Units out(c.bytes.size() + 1, 0x7777);
        const int written = DecodeUtf8(c.bytes.data(), out.data(), int(c.bytes.size()), int(out.size()));
        EXPECT_EQ(written, c.result);
        if (written >= 0) {
            EXPECT_EQ(Units(out.begin(), out.begin() + written), c.units);
            EXPECT_EQ(out[std::size_t(written)], 0x7777) << "no terminator is written";
        }
    }
}

TEST(Utf8, DecodeArgumentRules)
{
    WideChar out[4] = {9, 9, 9, 9};
    EXPECT_EQ(DecodeUtf8("ab\xC3\xA9", out, -1, 0), 3) << "dstSize 0 only counts";
    EXPECT_EQ(out[0], 9);
    EXPECT_EQ(DecodeUtf8("ab", nullptr, -1, 4), -1);
    EXPECT_EQ(DecodeUtf8(nullptr, out, 3, 4), 0);
    EXPECT_EQ(DecodeUtf8("ab", out, 0, 4), 0);
    EXPECT_EQ(DecodeUtf8("abcde", out, -1, 4), -1) << "never writes past dstSize";
}

struct CountCase {
    Bytes bytes;
    int count;
};

TEST(Utf8, Utf16CountWalksLeadBytes)
{
    const CountCase cases[] = {
        {"A\xC3\xA9\xE2\x82\xAC", 3},
        {"A\x80" "B", 2},               // the walk ends at the stray byte
        {"\xF0\x9F\x98\x80" "A", 2},    // a four-byte lead counts as one
        {"A\xC3", 2},                   // a cut sequence counts as one
        {"\xFF" "AB", 1},
        {"", 0},
    };
    for (const CountCase& c : cases)
        EXPECT_EQ(Utf16Count(c.bytes.data(), int(c.bytes.size()), 0), c.count) << testing::PrintToString(c.bytes);
    EXPECT_EQ(Utf16Count("ab\xC3\xA9", -1, 0), 3);
    EXPECT_EQ(Utf16Count("ab", 2, 9), 9);
    EXPECT_EQ(Utf16Count(nullptr, 5, 0), 0);
}

TEST(Utf8, CharOffset)
{
    const char text[] = "a\xC3\xA9" "b";
    struct Case {
        int n, count;
        const char* expected;
    } const cases[] = {
        {2, -1, text + 3},
        {1, 4, text + 1},
        {3, 4, text + 4},     // fewer characters than asked: the end
        {4, 4, nullptr},      // n not below the byte count
        {0, 4, text},
        {-1, 4, nullptr},
        {1, 0, nullptr},
        {1, 2, text + 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf8CharOffset(text, c.n, c.count), c.expected) << c.n << "/" << c.count;
    EXPECT_EQ(Utf8CharOffset(nullptr, 1, 4), nullptr);
    const char cut[] = "\xE2\x82";
    EXPECT_EQ(Utf8CharOffset(cut, 1, 2), cut + 2);
    const char stray[] = "\x80" "abcdef";
    EXPECT_EQ(Utf8CharOffset(stray, 3, -1), stray + 4) << "a stray lead byte is taken as 4 and ends the walk";
}

TEST(Utf8, RandomUnitsSurviveTheRoundTrip)
{
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> unit(0, 0xFFFF), kind(0, 3), size(0, 40);
    for (int round = 0; round < 2000; ++round) {
        Units units(std::size_t(size(random)));
        for (auto& u : units) {
            // Bias towards the ranges that change the encoded size, and
            // towards surrogates, paired or not.
            switch (kind(random)) {
            case 0: u = WideChar(unit(random) & 0x7F); break;
            case 1: u = WideChar(0x80 + unit(random) % 0x780); break;
            case 2: u = WideChar(0xD800 + unit(random) % 0x800); break;
            default: u = WideChar(unit(random)); break;
            }
        }
        const Bytes bytes = Encode(units);
        Units back(units.size() + 1);
        const int written = DecodeUtf8(bytes.data(), back.data(), int(bytes.size()), int(back.size()));
        ASSERT_EQ(written, int(units.size()));
        back.resize(std::size_t(written));
        ASSERT_EQ(back, units);
        ASSERT_EQ(Utf16Count(bytes.data(), int(bytes.size()), 0), int(units.size()));
    }
}

}  // namespace
