#include "text/search.h"

#include <gtest/gtest.h>

#include <string>

#include "text/unistring.h"

namespace {

using Wide = std::basic_string<WideChar>;

UniString* Make(UniString& s, const char* utf8, bool wide)
{
    if (wide)
        s.AssignNarrowAsWide(utf8, -1, -1);
    else
        s.AssignNarrow(utf8, -1, -1);
    return &s;
}

struct CompareCase {
    const char* text;
    const WideChar* other;  // null stands for a null argument
    int expected;
};

TEST(Compare, LengthFirstThenUnits)
{
    const CompareCase cases[] = {
        {"abc", WIDE("abd"), -1},
        {"abd", WIDE("abc"), 1},
        {"b", WIDE("aa"), -1},   // shorter first, whatever the content
        {"aa", WIDE("b"), 1},
        {"ab", WIDE("ab"), 0},
        {"", nullptr, 0},
        {"", WIDE(""), 0},
        {"", WIDE("a"), -1},
        {"a", WIDE(""), 1},
        {"a", nullptr, 1},
        {"\xC3\xA9", WIDE("\u00E9"), 0},
        {"\xC4\x85", WIDE("\u00E9"), 1},  // compared as unsigned units
    };
    for (bool wide : {true, false}) {
        for (const CompareCase& c : cases) {
            UniString s;
            EXPECT_EQ(Make(s, c.text, wide)->CompareWide(c.other, -1), c.expected)
                << (wide ? "wide " : "narrow ") << c.text;
        }
    }
}

TEST(Compare, NarrowArguments)
{
    UniString wide, narrow;
    Make(wide, "za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87", true);
    Make(narrow, "za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87", false);
    EXPECT_EQ(wide.CompareNarrow("za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87", -1), 0);
    EXPECT_EQ(narrow.CompareNarrow("za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87", -1), 0);
    EXPECT_EQ(wide.CompareNarrow("zz\xC3", -1), 0) << "invalid UTF-8 gives the failure result";
    EXPECT_EQ(narrow.CompareNarrow("zaz", 2), 1);
    EXPECT_EQ(CompareBytes("\xFF", "\x01", 1, 1), 1);
    EXPECT_EQ(CompareUnits(nullptr, WIDE("x"), 0, 1), -1);
}

TEST(Search, BufferLevelFinds)
{
    EXPECT_EQ(FindBytes("hello", "lo", -1, -1, 0), 3);
    EXPECT_EQ(FindBytes("hello", "lo", 5, 2, 3), 3) << "the last possible position is still tested";
    EXPECT_EQ(FindBytes("hello", "lo", 5, 2, 4), -1);
    EXPECT_EQ(FindBytes("lo", "hello", -1, -1, 0), -1);
    EXPECT_EQ(FindBytes("aaa", "aa", -1, -1, 1), 1);
    EXPECT_EQ(FindBytes(nullptr, "a", -1, -1, 0), -1);
    EXPECT_EQ(FindBytes("abc", "", -1, -1, 0), -1);
    EXPECT_EQ(FindBytes("abc", "b", -1, -1, -1), -1);
    EXPECT_EQ(FindBytes("\x80\xFF", "\xFF", 2, 1, 0), 1);

    EXPECT_EQ(FindBytesReverse("abxab", "ab", -1, -1, 0), 3);
    EXPECT_EQ(FindBytesReverse("abxab", "ab", -1, -1, 4), -1);
    EXPECT_EQ(FindBytesReverse("abxab", "ab", 4, 2, 0), 0) << "only the first hayLen bytes count";

    EXPECT_EQ(FindWideUnits(WIDE("hello"), WIDE("ll"), -1, -1, 0), 2);
    EXPECT_EQ(FindWideUnits(WIDE("hello"), WIDE("ll"), -1, -1, 3), -1);

    EXPECT_EQ(FindLastByte("a/b/c", '/', -1, 0), 3);
    EXPECT_EQ(FindLastByte("a/b/c", '/', -1, 4), -1);
    EXPECT_EQ(FindLastByte("a/b/c", '/', 3, 0), 1);
    EXPECT_EQ(FindLastUnit(WIDE("a/b"), WIDE('/'), -1, 0), -1) << "a negative length is not measured here";
    EXPECT_EQ(FindLastUnit(WIDE("a/b"), WIDE('/'), 3, 0), 1);
    EXPECT_EQ(FindLastUnit(WIDE("a/b"), WIDE('/'), 3, 3), -1);
}

TEST(Search, StringFindsInBothModes)
{
    for (bool wide : {true, false}) {
        SCOPED_TRACE(wide ? "wide" : "narrow");
        UniString s;
        Make(s, "hello", wide);
        EXPECT_EQ(s.FindWide(WIDE("lo"), 0, -1), 3);
        EXPECT_EQ(s.FindWide(WIDE("lo"), 4, -1), -1);
        EXPECT_EQ(s.FindWide(WIDE("lo"), 5, -1), -1);
        EXPECT_EQ(s.FindWide(WIDE("lo"), -1, -1), -1);
        EXPECT_EQ(s.FindWide(nullptr, 0, -1), -1);
        EXPECT_EQ(s.FindNarrow("ell", 0, -1), 1);
        EXPECT_EQ(s.FindNarrow("el", 0, 1), 1);

        Make(s, "C:\\dir\\file.txt", wide);
        EXPECT_EQ(s.FindLast(WIDE('\\'), 0), 6);
        EXPECT_EQ(s.FindLast(WIDE('\\'), 7), -1);
        Make(s, "file.txt", wide);
        EXPECT_EQ(s.FindLast(WIDE('\\'), 0), -1);

        UniString empty;
        Make(empty, "", wide);
        EXPECT_EQ(empty.FindWide(WIDE("a"), 0, -1), -1);
        EXPECT_EQ(empty.FindLast(WIDE('a'), 0), -1);
    }
}

TEST(Search, CrossModeIndicesCountOwnUnits)
{
    UniString narrow;
    Make(narrow, "caf\xC3\xA9 \xC5\x82\xC3\xB3\x64\xC5\xBA", false);
    EXPECT_EQ(narrow.FindLast(0x00E9, 0), 3) << "the byte index of C3";
    EXPECT_EQ(narrow.FindWide(WIDE("\u0142\u00F3"), 0, -1), 6);

    UniString wide;
    Make(wide, "caf\xC3\xA9 \xC5\x82\xC3\xB3\x64\xC5\xBA", true);
    EXPECT_EQ(wide.FindNarrow("\xC5\x82\xC3\xB3", 0, -1), 5);
    EXPECT_EQ(wide.FindNarrow("\xC5", 0, -1), -1) << "a needle that is not valid UTF-8";
}

TEST(UpperCase, StringsInBothModes)
{
    struct Case {
        const char* text;
        const char* upper;
    } const cases[] = {
        {"stra\xC3\x9F" "e \xC2\xB5 \xC3\xBF \xC4\xB1", "STRA\xC3\x9F" "E \xC2\xB5 \xC5\xB8 I"},
        {"\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", "\xD0\x9F\xD0\xA0\xD0\x98\xD0\x92\xD0\x95\xD0\xA2"},
        {"za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85 ja\xC5\xBA\xC5\x84",
         "ZA\xC5\xBB\xC3\x93\xC5\x81\xC4\x86 G\xC4\x98\xC5\x9AL\xC4\x84 JA\xC5\xB9\xC5\x83"},
        {"\xCF\x90", "\xCF\x90"},  // U+03D0 stays
        {"", ""},
    };
    for (const Case& c : cases) {
        UniString narrow, wide, expected;
        Make(narrow, c.text, false);
        Make(wide, c.text, true);
        EXPECT_EQ(narrow.MakeUpper(), 1);
        EXPECT_EQ(wide.MakeUpper(), 1);
        EXPECT_EQ(narrow.CompareNarrow(c.upper, -1), 0) << c.text;
        EXPECT_EQ(wide.CompareNarrow(c.upper, -1), 0) << c.text;
        EXPECT_FALSE(narrow.IsWide());
    }

    UniString invalid;
    Make(invalid, "ab\xC3", false);
    EXPECT_EQ(invalid.MakeUpper(), 0);
    EXPECT_EQ(std::string(invalid.NarrowPtr(0)), "ab\xC3");
}

}  // namespace
