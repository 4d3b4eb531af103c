// Every directive example, run the same way by the native and the Windows
// builds: both must give exactly these texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdarg>
#include <functional>
#include <limits>
#include <string>

#include "text/unistring.h"

namespace {

int AppendFormatted(UniString& s, const WideChar* format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = s.FormatAppend(format, args);
    va_end(args);
    return result;
}

std::string Utf8(const UniString& s)
{
    UniString copy;
    copy.Assign(s);
    copy.MakeNarrow(-1);
    return std::string(copy.NarrowPtr(0), std::size_t(copy.Length()));
}

struct Case {
    const char* expected;
    int line;
    std::function<int(UniString&)> format;
};

#define CASE(expected, ...) Case{expected, __LINE__, [](UniString& s) { return s.Format(__VA_ARGS__); }}

const WideChar abcdef[] = WIDE("abcdef");
const WideChar withNul[] = {'a', 0, 'b', 'c', 0};
const WideChar withTab[] = WIDE("a\tb");
const WideChar eAcute[] = {0xE9, 0};
const WideChar highUnit[] = {0x0142, 0};
const char hello[] = "h\xC3\xA9llo";
const unsigned char deadBeef[] = {0xDE, 0xAD, 0xBE};
const unsigned char oneToEight[] = {1, 2, 3, 4, 5, 6, 7, 8};
const unsigned char address[] = {0x01, 0x00, 0xA8, 0xC0};
// {6B29FC40-CA47-1067-B31D-00DD010662DA} as the structure lies in memory.
const unsigned char guid[] = {0x40, 0xFC, 0x29, 0x6B, 0x47, 0xCA, 0x67, 0x10,
                              0xB3, 0x1D, 0x00, 0xDD, 0x01, 0x06, 0x62, 0xDA};
const WideChar* const nullWide = nullptr;

const Case directiveCases[] = {
    // Parser
    CASE("%", WIDE("%%")),
    CASE("q", WIDE("%q")),
    CASE("q", WIDE("%5q")),
    CASE("abc", WIDE("abc%")),
    CASE("42   ", WIDE("%*d"), -5, 42),
    CASE("ab", WIDE("%.*s"), 2, abcdef),
    CASE("x\r\ny", WIDE("x%Ny")),
    // Text
    CASE("   ab", WIDE("%5s"), WIDE("ab")),
    CASE("ab   ", WIDE("%-5s"), WIDE("ab")),
    CASE("000ab", WIDE("%05s"), WIDE("ab")),
    CASE("ab   ", WIDE("%-05s"), WIDE("ab")),
    CASE("{null}", WIDE("%s"), nullWide),
    CASE("  {null}", WIDE("%8s"), nullWide),
    CASE("a{09}b", WIDE("%#s"), withTab),
    CASE("{e9}", WIDE("%$s"), eAcute),
    CASE("{E9}", WIDE("%$S"), eAcute),
    CASE("{42}", WIDE("%$s"), highUnit),
    CASE("h\xC3\xA9", WIDE("%.2hs"), hello),
    CASE("h\xC3\xA9llo", WIDE("%hs"), hello),
    CASE("h{c3}", WIDE("%$.2hs"), hello),
    CASE("   h\xC3\xA9llo", WIDE("%8hs"), hello),
    CASE("", WIDE("%Ls"), WIDE("skipped")),
    // Characters
    CASE("\xC5\x82", WIDE("%c"), 0x0142),
    CASE("{1B}", WIDE("%#C"), 0x1B),
    CASE("{7f}", WIDE("%$c"), 0x7F),
    CASE("  A", WIDE("%3hc"), 'A'),
    // Byte dumps
    CASE("deadbe", WIDE("%.3b"), deadBeef),
    CASE("{DE}{AD}{BE}", WIDE("%#.3B"), deadBeef),
    CASE("01020304", WIDE("%.4b"), oneToEight),
    CASE("01 02 03 04", WIDE("% .4b"), oneToEight),
    CASE("{01}{02}{03}{04}", WIDE("%#.4b"), oneToEight),
    CASE("{01 02 03 04} {05 06 07 08}", WIDE("%#` .8b"), oneToEight),
    CASE("01 02 03 04  05 06 07 08", WIDE("%` .8b"), oneToEight),
    CASE("01020304 0506", WIDE("%`.6b"), oneToEight),
    CASE("{01020304} {05}", WIDE("%#`.5b"), oneToEight),
    CASE("|7", WIDE("|%b%d"), deadBeef, 7),
    // Integers
    CASE("-2147483648", WIDE("%d"), int(0x80000000u)),
    CASE("2147483648", WIDE("%u"), 0x80000000u),
    CASE("-1", WIDE("%Ld"), -1LL),
    CASE("-9223372036854775808", WIDE("%lld"), std::numeric_limits<long long>::min()),
    CASE("18446744073709551615", WIDE("%Lu"), ~0ull),
    CASE("ff", WIDE("%x"), 255u),
    CASE("0xFF", WIDE("%#X"), 255u),
    CASE("10", WIDE("%o"), 8u),
    CASE("010", WIDE("%#o"), 8u),
    CASE("00010", WIDE("%#.5o"), 8u),
    CASE("0y101", WIDE("%#y"), 5u),
    CASE("0", WIDE("%.0d"), 0),
    CASE("  007", WIDE("%5.3d"), 7),
    CASE("-0042", WIDE("%05d"), -42),
    CASE("42   ", WIDE("%-5d"), 42),
    CASE("+0", WIDE("%+d"), 0),
    CASE(" 7", WIDE("% d"), 7),
    CASE("5", WIDE("%+u"), 5u),
    CASE("0xab", WIDE("%#.3x"), 0xABu),
    CASE("0x00ab", WIDE("%#.4x"), 0xABu),
    CASE("-00042", WIDE("%.5d"), -42),
    CASE("1 234 567", WIDE("%`d"), 1234567),
    CASE("123 456", WIDE("%`d"), 123456),
    CASE("1 2345", WIDE("%`x"), 0x12345u),
    CASE("-00001 234", WIDE("%0`10d"), -1234),
    CASE("00123456", WIDE("%p"), reinterpret_cast<void*>(0x00123456)),
    CASE("0x00123456", WIDE("%#P"), reinterpret_cast<void*>(0x00123456)),
    CASE("  {null}", WIDE("%p"), static_cast<void*>(nullptr)),
    CASE("    {null}", WIDE("%#p"), static_cast<void*>(nullptr)),
    // Byte sizes
    CASE("1.5 Ki", WIDE("%#U"), 1536u),
    CASE("12. Ki", WIDE("%#U"), 12288u),
    CASE("1.0 Ki", WIDE("%#U"), 1000u),
    CASE("0.1 Ki", WIDE("%#U"), 100u),
    CASE("5.0   ", WIDE("%#U"), 5u),
    CASE("1.5b10", WIDE("%U"), 1536u),
    CASE("1.00b20", WIDE("%.3U"), 1048576u),
    CASE("-2.0b10", WIDE("%I"), -2048),
    CASE("16.0 Ei", WIDE("%#.3LU"), ~0ull),
    CASE("-002.0b10", WIDE("%09I"), -2048),
    // Addresses
    CASE("192.168.0.1", WIDE("%w"), address),
    CASE("192.168.000.001", WIDE("%0w"), address),
    CASE("  192.168.0.1", WIDE("%13w"), address),
    CASE("  192.168.000.001", WIDE("%017w"), address),
    CASE("{6B29FC40-CA47-1067-B31D-00DD010662DA}", WIDE("%hW"), guid),
    CASE("{6b29fc40-ca47-1067-b31d-00dd010662da}", WIDE("%hw"), guid),
    CASE("{null}", WIDE("%w"), static_cast<void*>(nullptr)),
    // Fixed and exponent forms
    CASE("3.141590", WIDE("%f"), 3.14159),
    CASE("2.500000", WIDE("%.0f"), 2.5),
    CASE("-0003.50", WIDE("%08.2f"), -3.5),
    CASE("0.050", WIDE("%.3f"), 0.05),
    CASE("0.000000", WIDE("%f"), 0.0),
    CASE("1.234568e+04", WIDE("%e"), 12345.678),
    CASE("0.00E+00", WIDE("%.2E"), 0.0),
    CASE("1.000000e-300", WIDE("%e"), 1e-300),
    CASE("3", WIDE("%g"), 3.14159),
    CASE("0.0001", WIDE("%.6g"), 0.0001),
    CASE("1e+06", WIDE("%.6g"), 1e6),
    CASE("100", WIDE("%.6g"), 100.0),
    CASE("100.000", WIDE("%#.6g"), 100.0),
    CASE("1.5E-05", WIDE("%.6G"), 0.000015),
    CASE("0", WIDE("%.6g"), 0.0),
    // Hexadecimal
    CASE("0x1p+0", WIDE("%a"), 1.0),
    CASE("0x1.8p+0", WIDE("%a"), 1.5),
    CASE("-0x1p-1", WIDE("%a"), -0.5),
    CASE("0x2.0p+0", WIDE("%.1a"), 1.96875),
    CASE("0x1.8P+0", WIDE("%A"), 1.5),
    CASE("0x0p+0", WIDE("%a"), 0.0),
    CASE("0x0001.8p+0", WIDE("%011a"), 1.5),
    // Engineering
    CASE("1.23 k", WIDE("%#F"), 1234.5),
    CASE("12.3 k", WIDE("%#F"), 12345.0),
    CASE("123. k", WIDE("%#F"), 123456.0),
    CASE("1.50 \xC2\xB5", WIDE("%#F"), 0.0000015),
    CASE("500. m", WIDE("%#F"), 0.5),
    CASE("1.23e+03", WIDE("%F"), 1234.5),
    CASE("2.00 M", WIDE("%#hF"), 2000000),
    CASE("-5.00 G", WIDE("%#LF"), -5000000000LL),
    CASE("1.00e+30", WIDE("%#F"), 1e30),
    CASE(" 1.50 \xC2\xB5", WIDE("%#8F"), 0.0000015),
    // Special values
    CASE("{ nan}", WIDE("%f"), std::nan("")),
    CASE("{ nan}", WIDE("%a"), std::nan("")),
    CASE("{ nan}", WIDE("%#F"), std::nan("")),
    CASE("  {+inf}", WIDE("%8e"), HUGE_VAL),
    CASE("00{-inf}", WIDE("%08g"), -HUGE_VAL),
    // Mixed arguments keep their places
    CASE("7 2.5 x 9", WIDE("%d %.1f %s %Lu"), 7, 2.5, WIDE("x"), 9ull),
};

TEST(Format, Directives)
{
    for (const Case& c : directiveCases) {
        UniString s;
        EXPECT_EQ(c.format(s), 1) << "line " << c.line;
        EXPECT_EQ(Utf8(s), c.expected) << "line " << c.line;
    }
}

TEST(Format, ExactPrecisionTakesNuls)
{
    UniString s;
    ASSERT_EQ(s.Format(WIDE("[%.*s]"), -3, withNul), 1);
    ASSERT_EQ(s.Length(), 5);
    const WideChar expected[] = {'[', 'a', 0, 'b', ']'};
    EXPECT_EQ(std::basic_string<WideChar>(s.WidePtr(0), 5), std::basic_string<WideChar>(expected, 5));
}

TEST(Format, CountDirective)
{
    UniString s;
    int count = -1, second = -1;
    ASSERT_EQ(s.Format(WIDE("abc%n%s%n"), &count, WIDE("de"), &second), 1);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(second, 5);
    EXPECT_EQ(s.Format(WIDE("x%ny"), static_cast<int*>(nullptr)), 1) << "a null pointer is skipped";
    EXPECT_EQ(Utf8(s), "xy");

    // FormatAppend counts from its own start.
    UniString more;
    more.AssignWide(WIDE("before"), -1);
    ASSERT_EQ(AppendFormatted(more, WIDE("ab%n"), &count), 1);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(Utf8(more), "beforeab");
}

TEST(Format, FailuresKeepTheTextBefore)
{
    UniString s;
    EXPECT_EQ(s.Format(WIDE("kept %T lost"), 1), 0);
    EXPECT_EQ(Utf8(s), "kept ");
    EXPECT_EQ(s.Format(WIDE("a%hsb"), "\xC3"), 0);
    EXPECT_EQ(Utf8(s), "a");
    EXPECT_EQ(s.Format(WIDE("%hc"), 0xE9), 0);
    EXPECT_EQ(s.Format(WIDE("ok %.308f"), 1e300), 0) << "the digits do not fit";
    EXPECT_EQ(Utf8(s), "ok ");
    EXPECT_EQ(s.Format(nullptr), 0);

    UniString narrow;
    narrow.AssignNarrow("n", -1, -1);
    EXPECT_EQ(AppendFormatted(narrow, WIDE("x")), 0);
    EXPECT_EQ(Utf8(narrow), "n");
}

TEST(Format, TextSources)
{
    UniString wideText, narrowText;
    wideText.AssignWide(WIDE("W\u0142"), -1);
    narrowText.AssignNarrow("N\xC5\x82", -1, -1);
    const unsigned char narrowRecord[] = {2, 0, 0, 0x80, 'r', 'e', 'x', 't'};
    const unsigned char wideRecord[] = {2, 0, 0, 0, 'w', 0, 0x42, 0x01, 'x', 0};
    UniString s;
    ASSERT_EQ(s.Format(WIDE("%z|%z|%hz|%hz|%Z"), &wideText, &narrowText, narrowRecord, wideRecord,
                       static_cast<UniString*>(nullptr)),
              1);
    EXPECT_EQ(Utf8(s), "W\xC5\x82|N\xC5\x82|re|w\xC5\x82|{null}");
}

TEST(Format, LargeDoublesRoundFromTheExactValue)
{
    struct Sample {
        double value;
        const char* fixed;
        const char* exponent;
    } const samples[] = {
        {0.1, "0.100000000000000005551", "1.000000000000000055511e-01"},
        {1e23, "99999999999999991611392.000000000000000000000", "9.999999999999999161139e+22"},
        {5e-324, "0.000000000000000000000", "4.940656458412465441766e-324"},
        {0.125, "0.125000000000000000000", "1.250000000000000000000e-01"},
    };
    for (const Sample& sample : samples) {
        UniString s;
        s.Format(WIDE("%.21f"), sample.value);
        EXPECT_EQ(Utf8(s), sample.fixed);
        s.Format(WIDE("%.21e"), sample.value);
        EXPECT_EQ(Utf8(s), sample.exponent);
    }
}

}  // namespace
