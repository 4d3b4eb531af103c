#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/debug_output.h"
#include "text/unistring.h"

namespace {

using Wide = std::basic_string<WideChar>;

std::vector<Wide> captured;

void Capture(const WideChar* line)
{
    Wide text;
    while (*line)
        text += *line++;
    captured.push_back(text);
}

class DebugPrint : public ::testing::Test {
protected:
    void SetUp() override
    {
        captured.clear();
        previous = SetDebugSink(Capture);
    }
    void TearDown() override { SetDebugSink(previous); }

    DebugSink previous = nullptr;
};

Wide Repeat(WideChar c, int n)
{
    return Wide(std::size_t(n), c);
}

Wide W(const char* ascii)
{
    Wide out;
    while (*ascii)
        out += WideChar(*ascii++);
    return out;
}

TEST_F(DebugPrint, BreaksLinesOf80WithAContinuationMark)
{
    struct Case {
        int length;
        int maxChars;
        std::vector<Wide> lines;
    } const cases[] = {
        {81, 65535, {Repeat('x', 80) + W(" \\\n"), W("x\n")}},
        {80, 65535, {Repeat('x', 80) + W("\n")}},
        {200, 65535, {Repeat('x', 80) + W(" \\\n"), Repeat('x', 80) + W(" \\\n"), Repeat('x', 40) + W("\n")}},
        {200, 160, {Repeat('x', 80) + W(" \\\n"), Repeat('x', 80) + W("\n")}},
        {5, 3, {W("xxx\n")}},
        {0, 65535, {}},
    };
    for (const Case& c : cases) {
        captured.clear();
        UniString s(WIDE('x'), c.length);
        s.DebugPrint(c.maxChars);
        EXPECT_EQ(captured, c.lines) << c.length << " characters, at most " << c.maxChars;
    }
}

TEST_F(DebugPrint, NarrowTextIsCountedInCharacters)
{
    std::string text;
    for (int i = 0; i < 81; ++i)
        text += "\xC5\x82";  // one character, two bytes
    UniString s;
    s.AssignNarrow(text.c_str(), -1, -1);
    s.DebugPrint(65535);
    ASSERT_EQ(captured.size(), 2u);
    EXPECT_EQ(captured[0], Repeat(0x0142, 80) + W(" \\\n"));
    EXPECT_EQ(captured[1], Repeat(0x0142, 1) + W("\n"));
    EXPECT_FALSE(s.IsWide()) << "printing leaves the string as it was";
}

}  // namespace
