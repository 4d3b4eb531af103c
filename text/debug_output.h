#pragma once
#include "text/text_types.h"

// Where UniString::DebugPrint sends each finished line (terminated wide
// text). On Windows the default is OutputDebugStringW; on the host it is
// standard error, as UTF-8. Tests install a sink of their own to read what
// was written. Returns the sink that was installed before.
using DebugSink = void (*)(const WideChar* line);
DebugSink SetDebugSink(DebugSink sink);
void WriteDebugLine(const WideChar* line);
