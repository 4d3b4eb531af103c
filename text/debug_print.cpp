#include "text/debug_output.h"
#include "text/unistring.h"
#include "text/utf8.h"

void UniString::DebugPrint(int maxChars)
{
    if (length == 0)
        return;
    int characters = wide ? length : Utf16Count(NarrowPtr(0), length, 0);
    if (characters > maxChars)
        characters = maxChars;
    if (characters <= 0)
        return;
    const int lines = characters / debugLineWidth, rest = characters % debugLineWidth;

    static const WideChar continued[] = {' ', '\\', '\n', 0};
    static const WideChar lineEnd[] = {'\n', 0};
    int next = 0;  // the unit or byte where the next line starts
    const auto appendCharacters = [&](int count) {
        if (wide) {
            scratch->AppendWideToWide(WidePtr(next), count);
            next += count;
        } else {
            const char* from = NarrowPtr(next);
            const char* after = scratch->AppendUtf8Prefix(from, count, length - next, -1);
            next = after == nullptr ? length : int(after - NarrowPtr(0));
        }
    };

    for (int line = 0; line < lines; ++line) {
        ScratchWide();
        appendCharacters(debugLineWidth);
        const bool more = line + 1 < lines || rest > 0;
        scratch->AppendWideToWide(more ? continued : lineEnd, -1);
        WriteDebugLine(scratch->WidePtr(0));
    }
    if (rest > 0) {
        ScratchWide();
        appendCharacters(rest);
        scratch->AppendWideToWide(lineEnd, -1);
        WriteDebugLine(scratch->WidePtr(0));
    }
}
