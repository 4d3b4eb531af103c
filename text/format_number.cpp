// Integer, byte-size and address directives.
#include <cmath>
#include <cstdint>
#include <string>

#include "text/float_digits.h"
#include "text/format_directive.h"
#include "text/unistring.h"

namespace {

constexpr int maxPrecision = 308;
constexpr int maxWidth = 512;

const char nullText[] = "{null}";

int ClampWidth(int width)
{
    return width > maxWidth ? maxWidth : width;
}

}  // namespace

int RenderInteger(UniString& out, const FormatDirective& directive, FormatArguments& args)
{
    unsigned flags = directive.flags;
    const bool pointer = (flags & formatPointer) != 0;
    const bool wide64 = (flags & formatWide64) != 0 && !pointer;

    unsigned long long magnitude;
    bool negative = false;
    if (pointer) {
        magnitude = reinterpret_cast<std::uintptr_t>(args.Pointer());
        flags &= ~(formatSigned | formatOctal | formatBinary);
    } else if (flags & formatSigned) {
        const long long value = wide64 ? args.Int64() : args.Int();
        negative = value < 0;
        magnitude = negative ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    } else {
        magnitude = wide64 ? args.Unsigned64() : args.Unsigned();
    }

    const unsigned base = (flags & formatHex) ? 16 : (flags & formatOctal) ? 8 : (flags & formatBinary) ? 2 : 10;
    int precision = pointer ? 8 : directive.precision;
    if (precision <= 0)
        precision = 1;
    if (precision > maxPrecision)
        precision = maxPrecision;

    int digits = 1;
    for (unsigned long long rest = magnitude / base; rest != 0; rest /= base)
        ++digits;

    std::string prefix;
    if (flags & formatAlternate)
        prefix = base == 16 ? "0x" : base == 8 ? "0" : base == 2 ? "0y" : "";
    const char sign = (flags & formatSigned) ? SignCharacter(negative, flags) : 0;
    const int signLength = sign ? 1 : 0;

    if (precision >= signLength + int(prefix.size()) + digits) {
        digits = precision;
        if (base == 8)
            prefix.clear();
    }
    const int groupSize = (base == 16 || base == 2) ? 4 : 3;
    const int separators = (flags & formatGroup) ? (digits - 1) / groupSize : 0;
    const int total = signLength + int(prefix.size()) + digits + separators;

    std::string body;
    std::size_t zeroAfter;
    if (pointer && magnitude == 0) {
        body.assign(total > 6 ? std::size_t(total - 6) : 0, ' ');
        body += nullText;
        zeroAfter = 0;
    } else {
        if (sign)
            body += sign;
        body += prefix;
        zeroAfter = body.size();
        const char* digitSet = (flags & formatUpper) ? "0123456789ABCDEF" : "0123456789abcdef";
        std::string plain(std::size_t(digits), '0');
        unsigned long long rest = magnitude;
        for (std::size_t at = plain.size(); at-- > 0 && rest != 0; rest /= base)
            plain[at] = digitSet[rest % base];
        std::string number;
        for (std::size_t i = 0; i < plain.size(); ++i) {
            if (separators && i > 0 && (plain.size() - i) % std::size_t(groupSize) == 0)
                number += ' ';
            number += plain[i];
        }
        body += number;
    }
    FormatDirective padded = directive;
    padded.flags = flags;
    return AppendPaddedNarrow(out, body, padded, zeroAfter);
}

int RenderByteSize(UniString& out, const FormatDirective& directive, FormatArguments& args)
{
    const unsigned flags = directive.flags;
    unsigned long long magnitude;
    bool negative = false;
    if (flags & formatSigned) {
        const long long value = (flags & formatWide64) ? args.Int64() : args.Int();
        negative = value < 0;
        magnitude = negative ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    } else {
        magnitude = (flags & formatWide64) ? args.Unsigned64() : args.Unsigned();
    }

    int precision = directive.precision;
    if (precision < 0)
        precision = 3;
    else if (precision <= 1)
        precision = 2;
    else if (precision > maxPrecision)
        precision = maxPrecision;

    int k = 0;
    while (k < 6 && (magnitude >> (10 * (k + 1))) != 0)
        ++k;
    double x = std::ldexp(double(magnitude), -10 * k);
    DecimalDigits rounded = EcvtDigits(x, precision);
    if (rounded.decimalPoint > precision) {
        ++k;
        x /= 1024;
        rounded = EcvtDigits(x, precision > 2 ? precision - 1 : 1);
    }

    std::string body;
    if (const char sign = SignCharacter(negative, flags))
        body += sign;
    const std::size_t zeroAfter = body.size();
    std::size_t next = 0;
    const auto digit = [&]() { return next < rounded.digits.size() ? rounded.digits[next++] : '0'; };
    for (int position = 1; position <= precision; ++position) {
        if (position == 1 && rounded.decimalPoint == 0) {
            body += "0.";
            continue;
        }
        body += digit();
        if (position == rounded.decimalPoint)
            body += '.';
    }
    static const char* const binaryUnits[] = {"  ", "Ki", "Mi", "Gi", "Ti", "Pi", "Ei"};
    if (flags & formatAlternate) {
        body += ' ';
        body += binaryUnits[k];
    } else {
        body += 'b';
        body += char('0' + k);
        body += '0';
    }
    FormatDirective padded = directive;
    padded.width = ClampWidth(directive.width);
    return AppendPaddedNarrow(out, body, padded, zeroAfter);
}

int RenderAddress(UniString& out, const FormatDirective& directive, FormatArguments& args)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(args.Pointer());
    FormatDirective padded = directive;
    // The zero flag shapes the address itself; the field is padded with spaces.
    padded.flags &= ~unsigned(formatZero);
    if (bytes == nullptr)
        return AppendPaddedNarrow(out, nullText, padded, 0);

    std::string body;
    if (directive.Has(formatShort)) {
        const char* digitSet = directive.Has(formatUpper) ? "0123456789ABCDEF" : "0123456789abcdef";
        static const int order[] = {3, 2, 1, 0, -1, 5, 4, -1, 7, 6, -1, 8, 9, -1, 10, 11, 12, 13, 14, 15};
        body += '{';
        for (int index : order) {
            if (index < 0) {
                body += '-';
            } else {
                body += digitSet[bytes[index] >> 4];
                body += digitSet[bytes[index] & 0xF];
            }
        }
        body += '}';
    } else {
        for (int index = 3; index >= 0; --index) {
            std::string part = std::to_string(bytes[index]);
            if (directive.Has(formatZero))
                part.insert(0, 3 - part.size(), '0');
            body += part;
            if (index > 0)
                body += '.';
        }
    }
    return AppendPaddedNarrow(out, body, padded, 0);
}
