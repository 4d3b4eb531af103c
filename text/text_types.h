#pragma once

// WideChar is one UTF-16 code unit on every build. Windows' wchar_t is that
// already, so the program's wide text goes to the system unchanged; natively
// wchar_t is 32 bits wide, so the host build (tools and sanitizer tests)
// uses char16_t instead. The text library never relies on the C library's
// wide-character functions, which would see a different type per build.
// WIDE("text") and WIDE('c') spell a literal of that type on either build.
#if defined(_WIN32)
using WideChar = wchar_t;
#define WIDE(text) L##text
#else
using WideChar = char16_t;
#define WIDE(text) u##text
#endif

static_assert(sizeof(WideChar) == 2, "wide text is UTF-16 units");
