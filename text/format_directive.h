#pragma once
#include <cstdarg>
#include <cstdint>
#include <string>

#include "text/format_flags.h"

class UniString;

// One parsed directive, as the parser hands it to a renderer.
struct FormatDirective {
    int width = -1;
    int precision = 0;
    unsigned flags = 0;
    char conversion = 0;

    bool Has(unsigned flag) const { return (flags & flag) != 0; }
};

// The variable arguments, read by type.
class FormatArguments {
public:
    explicit FormatArguments(va_list args) { va_copy(list, args); }
    ~FormatArguments() { va_end(list); }
    FormatArguments(const FormatArguments&) = delete;
    FormatArguments& operator=(const FormatArguments&) = delete;

    int Int() { return va_arg(list, int); }
    unsigned Unsigned() { return va_arg(list, unsigned); }
    long long Int64() { return va_arg(list, long long); }
    unsigned long long Unsigned64() { return va_arg(list, unsigned long long); }
    double Double() { return va_arg(list, double); }
    const void* Pointer() { return va_arg(list, const void*); }

private:
    va_list list;
};

// The sign character of a number, or 0 for none.
char SignCharacter(bool negative, unsigned flags);

// Appends `body` (ASCII or UTF-8, measured in bytes for the width) padded by
// the field rule: spaces on the left, or on the right under the left flag,
// or zeros after the first `zeroAfter` bytes (sign, prefix) under the zero
// flag. Returns 0 when the body is not valid UTF-8.
int AppendPaddedNarrow(UniString& out, const std::string& body, const FormatDirective& directive,
                       std::size_t zeroAfter);

// Renderers of the number directives; each consumes its argument and appends.
int RenderInteger(UniString& out, const FormatDirective& directive, FormatArguments& args);
int RenderByteSize(UniString& out, const FormatDirective& directive, FormatArguments& args);
int RenderAddress(UniString& out, const FormatDirective& directive, FormatArguments& args);
int RenderFloat(UniString& out, const FormatDirective& directive, FormatArguments& args);
