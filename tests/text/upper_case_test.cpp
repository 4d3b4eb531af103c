#include "text/upper_case.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

// Generated from the same Unicode files as the table, but straight from the
// data: every unit whose upper case differs from it, ascending.
extern const WideChar upperCaseReference[][2];
extern const int upperCaseReferenceCount;

namespace {

std::string Hex(unsigned value)
{
    char text[9];
    std::snprintf(text, sizeof text, "%04X", value);
    return text;
}

TEST(UpperCaseUnit, MatchesUnicodeForEveryUnit)
{
    std::vector<WideChar> expected(0x10000);
    for (unsigned unit = 0; unit < 0x10000; ++unit)
        expected[unit] = WideChar(unit);
    for (int i = 0; i < upperCaseReferenceCount; ++i)
        expected[upperCaseReference[i][0]] = upperCaseReference[i][1];

    std::string mismatches;
    int mismatchCount = 0;
    for (unsigned unit = 0; unit < 0x10000; ++unit) {
        unsigned actual = UpperCaseUnit(WideChar(unit));
        if (actual == expected[unit])
            continue;
        if (++mismatchCount <= 10)
            mismatches += " U+" + Hex(unit) + "->" + Hex(actual) + " (want " + Hex(expected[unit]) + ")";
    }
    EXPECT_EQ(mismatchCount, 0) << "first mismatches:" << mismatches;
}

struct Case {
    unsigned unit;
    unsigned upper;
    const char* why;
};

const Case telling[] = {
    {0x0061, 0x0041, "ASCII"},
    {0x00DF, 0x00DF, "sharp s has no single capital"},
    {0x00B5, 0x00B5, "micro sign is kept"},
    {0x00FF, 0x0178, "y diaeresis leaves Latin-1"},
    {0x0131, 0x0049, "dotless i"},
    {0x017F, 0x0053, "long s"},
    {0x03C2, 0x03A3, "final sigma"},
    {0x03D0, 0x03D0, "Greek beta symbol is kept"},
    {0x1F80, 0x1F88, "ypogegrammeni to its title form"},
    {0x1FB3, 0x1FBC, "ypogegrammeni to its title form"},
    {0x043F, 0x041F, "Cyrillic"},
    {0xD83D, 0xD83D, "surrogate"},
    {0xFF41, 0xFF21, "fullwidth"},
    {0x0265, 0x0265, "capital added in Unicode 6.0"},
};

TEST(UpperCaseUnit, TellingCases)
{
    for (const Case& c : telling)
        EXPECT_EQ(unsigned(UpperCaseUnit(WideChar(c.unit))), c.upper) << "U+" << Hex(c.unit) << ": " << c.why;
}

TEST(UpperCaseUnit, PairTableIsStrictlyAscending)
{
    ASSERT_GT(casePairCount, 0);
    for (int i = 1; i < casePairCount; ++i)
        EXPECT_LT(unsigned(casePairs[i - 1][0]), unsigned(casePairs[i][0])) << "at row " << i << ", U+" << Hex(casePairs[i][0]);
}

}  // namespace
