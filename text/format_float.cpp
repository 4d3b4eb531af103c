// Floating-point directives: f, e, E, g, G, a, A and the engineering form F.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "text/float_digits.h"
#include "text/format_directive.h"
#include "text/unistring.h"

namespace {

constexpr int maxPrecision = 308;
constexpr int maxWidth = 512;
// The longest digit string a renderer may produce, as the output and the
// digits share one reserved area.
constexpr std::size_t maxDigits = 351;

int ClampPrecision(int precision)
{
    return precision > maxPrecision ? maxPrecision : precision;
}

std::string ExponentText(int exponent, bool upper)
{
    std::string text(1, upper ? 'E' : 'e');
    text += exponent < 0 ? '-' : '+';
    std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    if (digits.size() < 2)
        digits.insert(0, 1, '0');
    return text + digits;
}

std::string Fixed(double x, int precision, bool& fits)
{
    if (precision <= 0)
        precision = 6;
    precision = ClampPrecision(precision);
    const DecimalDigits d = FcvtDigits(x, precision);
    fits = d.digits.size() <= maxDigits;
    int point = d.decimalPoint < -precision ? -precision : d.decimalPoint;
    std::string text;
    if (point > 0) {
        text = d.digits.substr(0, std::size_t(point)) + "." + d.digits.substr(std::size_t(point));
    } else {
        text = "0." + std::string(std::size_t(-point), '0') + d.digits;
    }
    return text;
}

std::string Exponential(double x, int precision, bool upper)
{
    if (precision <= 0)
        precision = 6;
    precision = ClampPrecision(precision);
    const DecimalDigits d = EcvtDigits(x, precision + 1);
    const int exponent = x == 0 ? 0 : d.decimalPoint - 1;
    return d.digits.substr(0, 1) + "." + d.digits.substr(1) + ExponentText(exponent, upper);
}

std::string General(double x, int precision, bool alternate, bool upper)
{
    if (precision == 0)
        precision = 1;
    else if (precision < 0)
        precision = 6;
    precision = ClampPrecision(precision);
    DecimalDigits d = EcvtDigits(x, precision);
    const int exponent = x == 0 ? 0 : d.decimalPoint - 1;
    std::string& digits = d.digits;

    if (exponent < -4 || exponent >= precision) {
        if (!alternate)
            while (digits.size() > 1 && digits.back() == '0')
                digits.pop_back();
        std::string text = digits.substr(0, 1);
        if (digits.size() > 1)
            text += "." + digits.substr(1);
        else if (alternate)
            text += '.';
        return text + ExponentText(exponent, upper);
    }

    if (x == 0 && !alternate)
        return "0";
    std::string whole, fraction;
    if (d.decimalPoint > 0) {
        whole = digits.substr(0, std::size_t(d.decimalPoint));
        fraction = digits.substr(std::size_t(d.decimalPoint));
    } else {
        whole = "0";
        fraction = std::string(std::size_t(-d.decimalPoint), '0') + digits;
    }
    if (!alternate)
        while (!fraction.empty() && fraction.back() == '0')
            fraction.pop_back();
    if (!fraction.empty() || alternate)
        return whole + "." + fraction;
    return whole;
}

// Hexadecimal floating point from the bits; the sign is handled by the caller.
std::string Hexadecimal(double x, int precision, bool alternate, bool upper, std::size_t& zeroAfter)
{
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    const int field = int((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t(1) << 52) - 1);
    char lead = field == 0 ? '0' : '1';
    const int exponent = field == 0 ? (fraction == 0 ? 0 : -1022) : field - 1023;

    const char* digitSet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string hex;
    for (int shift = 48; shift >= 0; shift -= 4)
        hex += digitSet[(fraction >> shift) & 0xF];
    std::size_t significant = hex.find_last_not_of('0');
    significant = significant == std::string::npos ? 0 : significant + 1;

    precision = ClampPrecision(precision);
    if (precision <= 0)
        precision = int(significant);
    std::string shown = precision <= 13 ? hex.substr(0, std::size_t(precision)) : hex + std::string(std::size_t(precision - 13), '0');
    if (precision < 13 && ((fraction >> (51 - 4 * precision)) & 1) != 0) {
        int i = int(shown.size()) - 1;
        for (; i >= 0; --i) {
            char& c = shown[std::size_t(i)];
            if (c == 'f' || c == 'F') {
                c = '0';
                continue;
            }
            c = c == '9' ? (upper ? 'A' : 'a') : char(c + 1);
            break;
        }
        if (i < 0)
            ++lead;
    }

    std::string text = "0x";
    zeroAfter = text.size();
    text += lead;
    if (precision > 0 || alternate)
        text += '.';
    text += shown;
    text += upper ? 'P' : 'p';
    text += exponent < 0 ? '-' : '+';
    text += std::to_string(exponent < 0 ? -exponent : exponent);
    return text;
}

std::string Engineering(double x, int precision, bool alternate)
{
    if (precision < 3)
        precision = 3;
    precision = ClampPrecision(precision);
    const DecimalDigits d = EcvtDigits(x, precision);
    int exponent = x == 0 ? 0 : d.decimalPoint - 1;
    int integerDigits = 1;
    const int remainder = exponent % 3;
    if (remainder == 1 || remainder == -2) {
        integerDigits = 2;
        exponent -= 1;
    } else if (remainder == 2 || remainder == -1) {
        integerDigits = 3;
        exponent -= 2;
    }
    std::string text = d.digits.substr(0, std::size_t(integerDigits)) + "." + d.digits.substr(std::size_t(integerDigits));
    if (alternate && exponent >= -24 && exponent <= 24) {
        static const char* const prefixes[] = {"y", "z", "a", "f", "p", "n", "\xC2\xB5", "m", " ",
                                               "k", "M", "G", "T", "P", "E", "Z", "Y"};
        return text + " " + prefixes[(exponent + 24) / 3];
    }
    return text + ExponentText(exponent, false);
}

}  // namespace

int RenderFloat(UniString& out, const FormatDirective& directive, FormatArguments& args)
{
    const char conversion = directive.conversion;
    double x;
    if (conversion == 'F' && directive.Has(formatShort))
        x = double(args.Int());
    else if (conversion == 'F' && directive.Has(formatWide64))
        x = double(args.Int64());
    else
        x = args.Double();

    FormatDirective padded = directive;
    if (padded.width > maxWidth)
        padded.width = maxWidth;

    if (std::isnan(x))
        return AppendPaddedNarrow(out, "{ nan}", padded, 0);
    if (std::isinf(x))
        return AppendPaddedNarrow(out, x > 0 ? "{+inf}" : "{-inf}", padded, 0);

    const bool upper = directive.Has(formatUpper), alternate = directive.Has(formatAlternate);
    std::string number;
    std::size_t zeroAfter = 0;
    bool fits = true;
    switch (conversion) {
    case 'f': number = Fixed(x, directive.precision, fits); break;
    case 'e': case 'E': number = Exponential(x, directive.precision, upper); break;
    case 'g': case 'G': number = General(x, directive.precision, alternate, upper); break;
    case 'a': case 'A': number = Hexadecimal(x, directive.precision, alternate, upper, zeroAfter); break;
    default: number = Engineering(x, directive.precision, alternate); break;
    }
    if (!fits)
        return 0;

    std::string body;
    if (const char sign = SignCharacter(std::signbit(x), directive.flags))
        body += sign;
    zeroAfter += body.size();
    body += number;
    return AppendPaddedNarrow(out, body, padded, zeroAfter);
}
