#include <string>

#include "text/format_directive.h"
#include "text/unistring.h"
#include "text/utf8.h"

namespace {

using WideText = std::basic_string<WideChar>;

const char nullText[] = "{null}";

char HexDigit(unsigned value, bool upper)
{
    return (upper ? "0123456789ABCDEF" : "0123456789abcdef")[value & 0xF];
}

void AppendEscape(WideText& out, unsigned value, bool upper)
{
    out += WideChar('{');
    out += WideChar(HexDigit(value >> 4, upper));
    out += WideChar(HexDigit(value, upper));
    out += WideChar('}');
}

bool NeedsEscape(unsigned value, unsigned flags)
{
    if (flags & formatEscape)
        return value < 0x20 || value > 0x7E;
    return (flags & formatAlternate) && value < 0x20;
}

// Appends a field of wide units under the padding rule; zeros go in front.
void AppendPaddedWide(UniString& out, const WideText& text, const FormatDirective& directive)
{
    const int padding = directive.width - int(text.size());
    out.PadLeft(padding, directive.flags);
    out.AppendWideToWide(text.data(), int(text.size()));
    out.PadRight(padding, directive.flags);
}

// Text arguments: where the units come from and how many may be read.
struct TextSource {
    const WideChar* wide = nullptr;
    const unsigned char* narrow = nullptr;
    const unsigned char* wideBytes = nullptr;  // wide units that may be unaligned
    int limit = -1;                            // units available, -1 up to the NUL
};

WideChar WideUnit(const TextSource& source, int i)
{
    if (source.wide != nullptr)
        return source.wide[i];
    return WideChar(source.wideBytes[2 * i] | source.wideBytes[2 * i + 1] << 8);
}

// Takes the units of wide text that the precision allows.
WideText TakeWide(const TextSource& source, int precision)
{
    WideText units;
    const int exact = precision < 0 ? -precision : -1;
    for (int i = 0; source.limit < 0 || i < source.limit; ++i) {
        if (exact >= 0 ? i >= exact : (precision > 0 && i >= precision))
            break;
        const WideChar unit = WideUnit(source, i);
        if (exact < 0 && unit == 0)
            break;
        units += unit;
    }
    return units;
}

// Takes the bytes of UTF-8 text that the precision allows: characters are a
// lead byte and its continuation bytes, or single bytes under the escape flag.
std::string TakeNarrow(const TextSource& source, int precision, bool countBytes)
{
    std::string bytes;
    const int exact = precision < 0 ? -precision : -1;
    int characters = 0;
    for (int i = 0; source.limit < 0 || i < source.limit; ++i) {
        const unsigned char byte = source.narrow[i];
        const bool continuation = !countBytes && (byte & 0xC0) == 0x80;
        if (exact < 0 && byte == 0)
            break;
        if (!continuation) {
            if (exact >= 0 ? characters >= exact : (precision > 0 && characters >= precision))
                break;
            ++characters;
        }
        bytes += char(byte);
    }
    return bytes;
}

// Decodes UTF-8 into units, escaping bytes the flags ask for. Returns false
// for text that is not valid UTF-8.
bool RenderNarrowText(const std::string& bytes, unsigned flags, bool upper, WideText& out)
{
    std::size_t runStart = 0;
    const auto flushRun = [&](std::size_t end) {
        const int count = int(end - runStart);
        if (count == 0)
            return true;
        WideText units(std::size_t(Utf16Count(bytes.data() + runStart, count, 0)), 0);
        const int written = DecodeUtf8(bytes.data() + runStart, &units[0], count, int(units.size()));
        if (written < 0)
            return false;
        out.append(units.data(), std::size_t(written));
        return true;
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (NeedsEscape(byte, flags)) {
            if (!flushRun(i))
                return false;
            AppendEscape(out, byte, upper);
            runStart = i + 1;
        }
    }
    return flushRun(bytes.size());
}

void RenderWideText(const WideText& units, unsigned flags, bool upper, WideText& out)
{
    for (WideChar unit : units) {
        if (NeedsEscape(unit, flags))
            AppendEscape(out, unit & 0xFF, upper);
        else
            out += unit;
    }
}

int RenderText(UniString& out, const FormatDirective& directive, FormatArguments& args)
{
    const void* pointer = args.Pointer();
    const bool isText = directive.conversion == 's' || directive.conversion == 'S';
    if (isText && directive.Has(formatWide64))
        return 1;

    const bool upper = directive.Has(formatUpper);
    const bool utf8Escaped = directive.Has(formatEscape);
    TextSource source;
    if (pointer == nullptr) {
        source.narrow = reinterpret_cast<const unsigned char*>(nullText);
    } else if (isText) {
        if (directive.Has(formatShort))
            source.narrow = static_cast<const unsigned char*>(pointer);
        else
            source.wide = static_cast<const WideChar*>(pointer);
    } else if (directive.Has(formatShort)) {
        // A string record: its length word also bounds the read, as a
        // table's texts need not be terminated.
        const unsigned char* record = static_cast<const unsigned char*>(pointer);
        const unsigned word = unsigned(record[0]) | unsigned(record[1]) << 8 | unsigned(record[2]) << 16 |
                              unsigned(record[3]) << 24;
        source.limit = int(word & 0x1FFFFFFFu);
        if (word & 0x80000000u)
            source.narrow = record + 4;
        else
            source.wideBytes = record + 4;
    } else {
        const UniString* text = static_cast<const UniString*>(pointer);
        if (text->IsWide())
            source.wide = text->WidePtr(0);
        else
            source.narrow = reinterpret_cast<const unsigned char*>(text->NarrowPtr(0));
    }

    WideText rendered;
    if (pointer == nullptr) {
        for (const char* c = nullText; *c; ++c)
            rendered += WideChar(*c);
    } else if (source.narrow != nullptr) {
        if (!RenderNarrowText(TakeNarrow(source, directive.precision, utf8Escaped), directive.flags, upper,
                              rendered))
            return 0;
    } else {
        RenderWideText(TakeWide(source, directive.precision), directive.flags, upper, rendered);
    }
    AppendPaddedWide(out, rendered, directive);
    return 1;
}

int RenderCharacter(UniString& out, const FormatDirective& directive, FormatArguments& args)
{
    const unsigned value = unsigned(args.Int());
    const bool upper = directive.Has(formatUpper);
    WideText rendered;
    if (directive.Has(formatShort)) {
        const std::string byte(1, char(value & 0xFF));
        if (!RenderNarrowText(byte, directive.flags, upper, rendered))
            return 0;
    } else {
        const WideChar unit = WideChar(value & 0xFFFF);
        if (NeedsEscape(unit, directive.flags))
            AppendEscape(rendered, unit & 0xFF, upper);
        else
            rendered += unit;
    }
    AppendPaddedWide(out, rendered, directive);
    return 1;
}

int RenderBytes(UniString& out, const FormatDirective& directive, FormatArguments& args)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(args.Pointer());
    const int count = directive.precision;
    if (count <= 0)
        return 1;
    if (bytes == nullptr)
        return AppendPaddedNarrow(out, nullText, directive, 0);

    const bool upper = directive.conversion == 'B';
    const bool alternate = directive.Has(formatAlternate), space = directive.Has(formatSpace);
    const bool group = directive.Has(formatGroup);
    std::string text;
    for (int i = 0; i < count; ++i) {
        const bool groupStart = i % 4 == 0, groupEnd = i % 4 == 3 || i == count - 1;
        if (i > 0) {
            if (group && groupStart)
                text += space && !alternate ? "  " : " ";
            else if (space)
                text += ' ';
        }
        if (alternate && (!group || groupStart))
            text += '{';
        text += HexDigit(bytes[i] >> 4, upper);
        text += HexDigit(bytes[i], upper);
        if (alternate && (!group || groupEnd))
            text += '}';
    }
    return AppendPaddedNarrow(out, text, directive, 0);
}

// Reads up to ten decimal digits; the value saturates rather than overflow.
int ReadNumber(const WideChar*& p)
{
    long long value = 0;
    for (int digits = 0; digits < 10 && *p >= '0' && *p <= '9'; ++digits, ++p)
        value = value * 10 + (*p - '0');
    return value > 0x7FFFFFFF ? 0x7FFFFFFF : int(value);
}

const char upperConversions[] = "ABCEGPSWXZ";

bool IsUpperConversion(WideChar c)
{
    for (const char* u = upperConversions; *u; ++u)
        if (c == WideChar(*u))
            return true;
    return false;
}

}  // namespace

char SignCharacter(bool negative, unsigned flags)
{
    if (negative)
        return '-';
    if (flags & formatPlus)
        return '+';
    if (flags & formatSpace)
        return ' ';
    return 0;
}

int AppendPaddedNarrow(UniString& out, const std::string& body, const FormatDirective& directive,
                       std::size_t zeroAfter)
{
    const int padding = directive.width - int(body.size());
    if (directive.Has(formatZero) && !directive.Has(formatLeft) && padding > 0) {
        if (!out.AppendNarrow(body.data(), int(zeroAfter), -1))
            return 0;
        out.PadLeft(padding, directive.flags);
        return out.AppendNarrow(body.data() + zeroAfter, int(body.size() - zeroAfter), -1);
    }
    out.PadLeft(padding, directive.flags);
    if (!out.AppendNarrow(body.data(), int(body.size()), -1))
        return 0;
    out.PadRight(padding, directive.flags);
    return 1;
}

int UniString::PadLeft(int count, unsigned flags)
{
    if (count <= 0 || (flags & formatLeft))
        return 1;
    return AppendChar(WideChar((flags & formatZero) ? '0' : ' '), count);
}

int UniString::PadRight(int count, unsigned flags)
{
    if (count <= 0 || !(flags & formatLeft))
        return 1;
    return AppendChar(WideChar(' '), count);
}

int UniString::Format(const WideChar* format, ...)
{
    SetWide();
    Clear();
    va_list args;
    va_start(args, format);
    const int result = FormatAppend(format, args);
    va_end(args);
    return result;
}

int UniString::FormatAppend(const WideChar* format, va_list list)
{
    if (format == nullptr || !wide)
        return 0;
    FormatArguments args(list);
    const int startLength = length;
    const WideChar* p = format;
    int result = 1;
    while (result && *p != 0) {
        const WideChar* run = p;
        while (*p != 0 && *p != '%')
            ++p;
        AppendWideToWide(run, int(p - run));
        if (*p == 0)
            break;
        ++p;
        if (*p == '%') {
            AppendChar(WideChar('%'), 1);
            ++p;
            continue;
        }

        FormatDirective directive;
        for (;; ++p) {
            const WideChar c = *p;
            if (c == '-') directive.flags |= formatLeft;
            else if (c == '+') directive.flags |= formatPlus;
            else if (c == ' ') directive.flags |= formatSpace;
            else if (c == '0') directive.flags |= formatZero;
            else if (c == '#') directive.flags |= formatAlternate;
            else if (c == '$') directive.flags |= formatEscape;
            else if (c == '`') directive.flags |= formatGroup;
            else break;
        }
        if (*p == '*') {
            ++p;
            const int width = args.Int();
            if (width < 0) {
                directive.flags |= formatLeft;
                directive.width = width == -0x7FFFFFFF - 1 ? 0x7FFFFFFF : -width;
            } else {
                directive.width = width;
            }
        } else if (*p >= '0' && *p <= '9') {
            directive.width = ReadNumber(p);
        }
        if (*p == '.') {
            ++p;
            if (*p == '*') {
                ++p;
                directive.precision = args.Int();
            } else {
                directive.precision = ReadNumber(p);
            }
        }
        if (*p == 'L') {
            directive.flags |= formatWide64;
            ++p;
        } else if (*p == 'l' && p[1] == 'l') {
            directive.flags |= formatWide64;
            p += 2;
        } else if (*p == 'l') {
            directive.flags |= formatLong;
            ++p;
        } else if (*p == 'h') {
            directive.flags |= formatShort;
            ++p;
        }

        const WideChar c = *p;
        if (c == 0 || c > 0x7F)
            continue;  // not a conversion: it is output as literal text
        directive.conversion = char(c);
        if (IsUpperConversion(c))
            directive.flags |= formatUpper;
        switch (directive.conversion) {
        case 'd': case 'i':
            directive.flags |= formatSigned;
            result = RenderInteger(*this, directive, args);
            break;
        case 'u':
            result = RenderInteger(*this, directive, args);
            break;
        case 'o':
            directive.flags |= formatOctal;
            result = RenderInteger(*this, directive, args);
            break;
        case 'x': case 'X':
            directive.flags |= formatHex;
            result = RenderInteger(*this, directive, args);
            break;
        case 'y':
            directive.flags |= formatBinary;
            result = RenderInteger(*this, directive, args);
            break;
        case 'p': case 'P':
            directive.flags |= formatPointer | formatHex;
            result = RenderInteger(*this, directive, args);
            break;
        case 'I':
            directive.flags |= formatSigned;
            result = RenderByteSize(*this, directive, args);
            break;
        case 'U':
            result = RenderByteSize(*this, directive, args);
            break;
        case 'w': case 'W':
            result = RenderAddress(*this, directive, args);
            break;
        case 'f': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A': case 'F':
            result = RenderFloat(*this, directive, args);
            break;
        case 'c': case 'C':
            result = RenderCharacter(*this, directive, args);
            break;
        case 's': case 'S': case 'z': case 'Z':
            result = RenderText(*this, directive, args);
            break;
        case 'b': case 'B':
            result = RenderBytes(*this, directive, args);
            break;
        case 'n': {
            int* counter = static_cast<int*>(const_cast<void*>(args.Pointer()));
            if (counter != nullptr)
                *counter = length - startLength;
            break;
        }
        case 'N':
            AppendNewline();
            break;
        case 'T': case 't': case 'Y':
            args.Int();
            result = 0;
            break;
        default:
            continue;  // not a conversion: it is output as literal text
        }
        ++p;
    }
    Terminate();
    return result;
}
