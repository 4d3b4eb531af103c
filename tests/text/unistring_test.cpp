#include "text/unistring.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "text/utf8.h"

namespace {

using Wide = std::basic_string<WideChar>;

Wide WideText(const UniString& s)
{
    return Wide(s.WidePtr(0), std::size_t(s.Length()));
}

std::string NarrowText(const UniString& s)
{
    return std::string(s.NarrowPtr(0), std::size_t(s.Length()));
}

// The text must be followed by its terminator in the block.
void ExpectTerminated(UniString& s)
{
    if (s.IsWide())
        EXPECT_EQ(WideLength(static_cast<WideChar*>(s.Terminate())), s.Length());
    else
        EXPECT_EQ(NarrowLength(static_cast<char*>(s.Terminate())), s.Length());
}

TEST(UniStringStorage, DefaultBlocks)
{
    UniString narrow;
    EXPECT_FALSE(narrow.IsWide());
    EXPECT_EQ(narrow.Capacity(), 64);
    EXPECT_EQ(narrow.Room(), 59);
    EXPECT_EQ(narrow.BlockHeader(), 0x80000000u);

    UniString wide(WIDE(','), 0);
    EXPECT_TRUE(wide.IsWide());
    EXPECT_EQ(wide.Capacity(), 64);
    EXPECT_EQ(wide.Room(), 29);
    EXPECT_EQ(wide.BlockHeader(), 0u);

    UniString comma(WIDE(','), 1);
    EXPECT_EQ(WideText(comma), WIDE(","));

    UniString none(WIDE('x'), -1);
    EXPECT_TRUE(none.IsWide());
    EXPECT_EQ(none.Capacity(), 0);
    EXPECT_EQ(none.Terminate(), nullptr);
    EXPECT_EQ(none.SetLength(3), 0);
    EXPECT_EQ(none.AppendWide(WIDE("grows"), -1), 1);
    EXPECT_EQ(WideText(none), WIDE("grows"));
}

TEST(UniStringStorage, GrowsByHalfInWholeGranules)
{
    UniString s;
    const std::string first(59, 'a');
    ASSERT_EQ(s.AppendNarrowToNarrow(first.c_str(), -1, -1), 1);
    EXPECT_EQ(s.Capacity(), 64);

    ASSERT_EQ(s.AppendByte('b', 1), 1);
    // max(60, 59 + 29) = 88 units and their terminator: 93 bytes, so 128.
    EXPECT_EQ(s.Capacity(), 128);
    EXPECT_EQ(s.Room(), 123);
    EXPECT_EQ(s.Start(), 0);
    EXPECT_EQ(NarrowText(s), first + "b");
    EXPECT_EQ(s.BlockHeader(), 0x80000000u | 59u) << "the header records the size when the block was made";
    ExpectTerminated(s);

    UniString w(WIDE('x'), 29);
    ASSERT_EQ(w.Capacity(), 64);
    ASSERT_EQ(w.AppendChar(WIDE('y'), 1), 1);
    // max(30, 29 + 14) = 43 units: 92 bytes, so 128.
    EXPECT_EQ(w.Capacity(), 128);
    EXPECT_EQ(w.BlockHeader(), 58u);
    EXPECT_EQ(w.Length(), 30);
    ExpectTerminated(w);
}

TEST(UniStringStorage, DropFrontMovesNothingUntilRoomIsNeeded)
{
    UniString s;
    s.AssignNarrow("abcdef", -1, -1);
    const char* before = s.NarrowPtr(0);
    ASSERT_EQ(s.DropFront(3), 1);
    EXPECT_EQ(NarrowText(s), "def");
    EXPECT_EQ(s.Start(), 3);
    EXPECT_EQ(s.NarrowPtr(0), before + 3) << "no bytes were moved";

    // 56 units may follow start now. An append that fits in the block but
    // not behind start moves the text to the front instead of growing.
    s.AppendByte('x', 55);
    EXPECT_EQ(s.Start(), 0);
    EXPECT_EQ(s.Capacity(), 64);
    EXPECT_EQ(NarrowText(s), "def" + std::string(55, 'x'));
    ExpectTerminated(s);
}

TEST(UniStringStorage, DropFrontEdges)
{
    UniString s;
    s.AssignNarrow("abc", -1, -1);
    EXPECT_EQ(s.DropFront(0), 0);
    EXPECT_EQ(s.DropFront(-2), 0);
    EXPECT_EQ(NarrowText(s), "abc");
    EXPECT_EQ(s.DropFront(1), 1);
    EXPECT_EQ(s.DropFront(10), 1);
    EXPECT_EQ(s.Length(), 0);
    EXPECT_EQ(s.Start(), 0);
    ExpectTerminated(s);
}

TEST(UniStringStorage, SetLengthAfterASystemWrite)
{
    UniString s(WIDE('x'), 0);
    WideChar* buffer = s.WideWriteBuffer(20);
    ASSERT_NE(buffer, nullptr);
    const WideChar path[] = WIDE("C:\\Temp");
    std::memcpy(buffer, path, sizeof path);
    EXPECT_EQ(s.SetLength(-1), 1);
    EXPECT_EQ(s.Length(), 7);
    EXPECT_EQ(WideText(s), WIDE("C:\\Temp"));

    // No 0 unit within the room: the length becomes 0.
    UniString full(WIDE('x'), 0);
    WideChar* all = full.WideWriteBuffer(29);
    for (int i = 0; i < 30; ++i)
        all[i] = WIDE('z');
    EXPECT_EQ(full.SetLength(-1), 1);
    EXPECT_EQ(full.Length(), 0);

    UniString clamp(WIDE('x'), 0);
    EXPECT_EQ(clamp.SetLength(1000), 1);
    EXPECT_EQ(clamp.Length(), 29);
    EXPECT_EQ(clamp.WidePtr(0)[29], 0);
}

TEST(UniStringModes, PointersNeverConvert)
{
    UniString s;
    s.AssignWide(WIDE("abc"), -1);
    EXPECT_STREQ(s.NarrowPtr(0), "");
    EXPECT_EQ(s.WidePtr(-1)[0], 0);
    EXPECT_EQ(s.WidePtr(1), s.WidePtr(0) + 1);
    EXPECT_EQ(s.WidePtr(99), s.WidePtr(0) + 3);
    ASSERT_NE(s.MakeNarrow(-1), nullptr);
    EXPECT_STREQ(s.NarrowPtr(0), "abc");
    EXPECT_EQ(s.WidePtr(0)[0], 0);
}

TEST(UniStringModes, MakeWideAndBack)
{
    const char grusse[] = "Gr\xC3\xBC\xC3\x9F" "e";
    UniString s;
    s.AssignNarrow(grusse, -1, -1);
    ASSERT_EQ(s.Length(), 7);
    ASSERT_NE(s.MakeWide(-1), nullptr);
    EXPECT_TRUE(s.IsWide());
    EXPECT_EQ(WideText(s), WIDE("Gr\u00FC\u00DFe"));
    s.MakeNarrow(-1);
    EXPECT_FALSE(s.IsWide());
    EXPECT_EQ(NarrowText(s), grusse);

    UniString invalid;
    invalid.AssignNarrow("ab\xC3", -1, -1);
    EXPECT_EQ(invalid.MakeWide(-1), nullptr);
    EXPECT_FALSE(invalid.IsWide());
    EXPECT_EQ(NarrowText(invalid), "ab\xC3");

    UniString empty(WIDE('x'), 0);
    empty.MakeNarrow(-1);
    EXPECT_FALSE(empty.IsWide());
}

TEST(UniStringAppend, InvalidUtf8LeavesTheTextAlone)
{
    UniString s;
    s.AssignWide(WIDE("keep"), -1);
    EXPECT_EQ(s.AppendNarrow("ok\xC3", -1, -1), 0);
    EXPECT_EQ(WideText(s), WIDE("keep"));
    ExpectTerminated(s);
    EXPECT_EQ(s.AppendNarrow("\xC3\xA9", -1, -1), 1);
    EXPECT_EQ(WideText(s), WIDE("keep\u00E9"));
}

TEST(UniStringAppend, CharactersAndBytes)
{
    UniString wide(WIDE('x'), 0);
    EXPECT_EQ(wide.AppendByte(char(0xE9), 1), 0);
    EXPECT_EQ(wide.AppendByte('A', 2), 1);
    EXPECT_EQ(wide.AppendChar(0x0142, 1), 1);
    EXPECT_EQ(WideText(wide), WIDE("AA\u0142"));

    UniString narrow;
    EXPECT_EQ(narrow.AppendChar(0x41, 3), 1);
    EXPECT_EQ(narrow.AppendChar(0x41, -1), 1);
    EXPECT_EQ(narrow.AppendChar(0x0142, 1), 0);
    EXPECT_EQ(narrow.AppendByte(char(0xE9), 1), 1);
    EXPECT_EQ(NarrowText(narrow), "AAA\xE9");
    EXPECT_EQ(narrow.AppendWideChar(WIDE('z')), 0);
    narrow.AppendNewline();
    EXPECT_EQ(NarrowText(narrow), "AAA\xE9\r\n");

    // AppendWideChar leaves the terminating to the caller.
    EXPECT_EQ(wide.AppendWideChar(WIDE('!')), 1);
    EXPECT_EQ(wide.Length(), 4);
    ExpectTerminated(wide);
    EXPECT_EQ(WideText(wide), WIDE("AA\u0142!"));
}

TEST(UniStringAppend, WrongModeOperationsChangeNothing)
{
    UniString narrow;
    narrow.AssignNarrow("n", -1, -1);
    EXPECT_EQ(narrow.AppendWideToWide(WIDE("w"), -1), 0);
    EXPECT_EQ(narrow.AppendWideToWide(nullptr, -1), 1);
    UniString wide(WIDE('w'), 1);
    EXPECT_EQ(wide.AppendNarrowToNarrow("n", -1, -1), 0);
    EXPECT_EQ(wide.AppendNarrowToNarrow(nullptr, -1, -1), 0) << "the mode is tested first";
    EXPECT_EQ(NarrowText(narrow), "n");
    EXPECT_EQ(WideText(wide), WIDE("w"));
}

TEST(UniStringAppend, CrossModeAppends)
{
    UniString narrow;
    narrow.AssignNarrow("a", -1, -1);
    UniString wide(WIDE('\u0119'), 1);
    EXPECT_EQ(narrow.Append(wide), 1);
    EXPECT_EQ(NarrowText(narrow), "a\xC4\x99");
    EXPECT_EQ(wide.Append(narrow), 1);
    EXPECT_EQ(WideText(wide), WIDE("\u0119a\u0119"));
    EXPECT_EQ(wide.Append(wide), 1) << "appending a string to itself";
    EXPECT_EQ(WideText(wide), WIDE("\u0119a\u0119\u0119a\u0119"));
}

TEST(UniStringAppend, Utf8Prefix)
{
    const char text[] = "a\xC3\xA9" "bc";
    UniString narrow;
    EXPECT_EQ(narrow.AppendUtf8Prefix(text, 2, -1, -1), text + 3);
    EXPECT_EQ(NarrowText(narrow), "a\xC3\xA9");
    UniString wide(WIDE('x'), 0);
    EXPECT_EQ(wide.AppendUtf8Prefix(text, 9, -1, -1), nullptr);
    EXPECT_EQ(WideText(wide), WIDE("a\u00E9" "bc"));
}

struct PathCase {
    const char* start;
    const WideChar* part;
    int count;
    const char* expected;
};

TEST(UniStringPaths, AppendPathJoinsWithOneBackslash)
{
    const PathCase cases[] = {
        {"C:\\dir", WIDE("\\file.txt"), -1, "C:\\dir\\file.txt"},
        {"C:\\dir\\", WIDE("\\file.txt"), -1, "C:\\dir\\file.txt"},
        {"", WIDE("\\file.txt"), -1, "\\file.txt"},
        {"C:\\dir", nullptr, -1, "C:\\dir\\"},
        {"C:\\dir", WIDE("/"), -1, "C:\\dir\\"},
        {"C:\\dir", WIDE("/sub/x\\"), -1, "C:\\dir\\sub/x\\"},
        {"C:\\dir", WIDE("\\\\two"), -1, "C:\\dir\\\\two"},
        {"C:\\dir", WIDE("file.txt"), 4, "C:\\dir\\file"},
        {"C:\\dir", WIDE("file.txt"), 0, "C:\\dir\\"},
        {"C:\\dir", WIDE(""), -1, "C:\\dir\\"},
    };
    for (const PathCase& c : cases) {
        UniString wide;
        wide.AssignNarrowAsWide(c.start, -1, -1);
        EXPECT_EQ(wide.AppendPathWide(c.part, c.count), 1);
        UniString expected;
        expected.AssignNarrowAsWide(c.expected, -1, -1);
        EXPECT_EQ(WideText(wide), WideText(expected)) << c.start << " + part -> " << c.expected;

        // The narrow string takes the same part through its scratch string.
        UniString narrow;
        narrow.AssignNarrow(c.start, -1, -1);
        EXPECT_EQ(narrow.AppendPathWide(c.part, c.count), 1);
        EXPECT_EQ(NarrowText(narrow), c.expected);
    }
}

TEST(UniStringPaths, AppendPathNarrowOnAWideString)
{
    UniString wide;
    wide.AssignWide(WIDE("C:\\Program Files"), -1);
    EXPECT_EQ(wide.AppendPathNarrow("\\Uk\xC5\x82" "ad", -1), 1);
    EXPECT_EQ(WideText(wide), WIDE("C:\\Program Files\\Uk\u0142" "ad"));
}

TEST(UniStringPaths, EnsureSuffix)
{
    UniString s;
    s.AssignWide(WIDE("C:\\dir\\"), -1);
    EXPECT_EQ(s.EnsureSuffixWide(WIDE("\\"), 1), 1);
    EXPECT_EQ(WideText(s), WIDE("C:\\dir\\"));
    EXPECT_EQ(s.EnsureSuffixWide(WIDE(""), -1), 0);
    EXPECT_EQ(s.EnsureSuffixWide(nullptr, 1), 0);
    EXPECT_EQ(s.EnsureSuffixNarrow(".txt", -1), 1);
    EXPECT_EQ(WideText(s), WIDE("C:\\dir\\.txt"));
    EXPECT_EQ(s.EnsureSuffixNarrow("txt", -1), 1);
    EXPECT_EQ(WideText(s), WIDE("C:\\dir\\.txt"));

    UniString shorter;
    shorter.AssignNarrow("xt", -1, -1);
    EXPECT_EQ(shorter.EnsureSuffixNarrow("txt", -1), 1);
    EXPECT_EQ(NarrowText(shorter), "xttxt");
}

TEST(UniStringAssign, Records)
{
    const unsigned char narrowRecord[] = {3, 0, 0, 0x80, 'a', 'b', 'c', 'Z'};
    UniString s(WIDE('x'), 4);
    EXPECT_EQ(s.AssignRecord(narrowRecord), 1);
    EXPECT_FALSE(s.IsWide());
    EXPECT_EQ(NarrowText(s), "abc");

    // Bits 29 and 30 are not part of the length; an odd offset is fine.
    const unsigned char wideRecord[] = {0, 2, 0, 0, 0x60, 0x42, 0x01, 'k', 0};
    EXPECT_EQ(s.AssignRecord(wideRecord + 1), 1);
    EXPECT_TRUE(s.IsWide());
    EXPECT_EQ(WideText(s), WIDE("\u0142k"));

    EXPECT_EQ(s.AssignRecord(nullptr), 0);
    EXPECT_EQ(s.Length(), 0);
}

TEST(UniStringAssign, AssignmentsTakeModeAndCodePage)
{
    UniString wide;
    wide.AssignWide(WIDE("\u017C\u00F3\u0142w"), -1);
    UniString copy;
    EXPECT_EQ(copy.Assign(wide), 1);
    EXPECT_TRUE(copy.IsWide());
    EXPECT_EQ(WideText(copy), WideText(wide));
    EXPECT_EQ(copy.Assign(copy), 1);
    EXPECT_EQ(WideText(copy), WideText(wide));

    UniString narrow;
    EXPECT_EQ(narrow.AssignAsNarrow(&wide), 1);
    EXPECT_EQ(NarrowText(narrow), "\xC5\xBC\xC3\xB3\xC5\x82w");
    UniString back;
    EXPECT_EQ(back.AssignAsWide(&narrow), 1);
    EXPECT_EQ(WideText(back), WideText(wide));
    EXPECT_EQ(back.AssignAsWide(nullptr), 0);
    EXPECT_EQ(back.Length(), 0);
    EXPECT_TRUE(back.IsWide());
    EXPECT_EQ(back.AssignAsNarrow(nullptr), 0);
    EXPECT_FALSE(back.IsWide());
}

TEST(UniStringScratch, LivesWithItsOwnerAndIsEmptiedOnUse)
{
    UniString s;
    s.ScratchFromNarrow("\xC5\x82", -1, 5);
    UniString& scratch = s.ScratchString();
    EXPECT_TRUE(scratch.IsWide());
    EXPECT_EQ(scratch.CodePage(), 0) << "an unknown code page means the owner's";
    EXPECT_EQ(WideText(scratch), WIDE("\u0142"));
    s.ScratchFromWide(WIDE("\u0142"), -1, -1);
    EXPECT_EQ(&s.ScratchString(), &scratch) << "the scratch string is made once";
    EXPECT_EQ(NarrowText(scratch), "\xC5\x82");
    s.ScratchWide();
    EXPECT_TRUE(scratch.IsWide());
    EXPECT_EQ(scratch.Length(), 0);
}

}  // namespace
