#include "text/debug_output.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <cstdio>

#include "text/utf8.h"
#endif

namespace {

void SystemDebugOutput(const WideChar* line)
{
#if defined(_WIN32)
    OutputDebugStringW(line);
#else
    const int length = WideLength(line);
    char buffer[512];
    for (int done = 0; done < length;) {
        // At most 170 units fit 510 bytes, whatever they encode to.
        const int take = length - done < 170 ? length - done : 170;
        const int bytes = EncodeUtf8(line + done, buffer, take, sizeof buffer);
        std::fwrite(buffer, 1, std::size_t(bytes), stderr);
        done += take;
    }
#endif
}

DebugSink currentSink = SystemDebugOutput;

}  // namespace

DebugSink SetDebugSink(DebugSink sink)
{
    const DebugSink previous = currentSink;
    currentSink = sink != nullptr ? sink : SystemDebugOutput;
    return previous;
}

void WriteDebugLine(const WideChar* line)
{
    currentSink(line);
}
