#include "text/float_digits.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Little-endian limbs of base 10^9: enough for the exact value of any double
// (at most 1074 fractional binary digits, so under 800 decimal digits).
class Decimal {
public:
    explicit Decimal(std::uint64_t value)
    {
        while (value != 0) {
            limbs.push_back(std::uint32_t(value % base));
            value /= base;
        }
    }

    void Multiply(std::uint32_t factor)
    {
        std::uint64_t carry = 0;
        for (auto& limb : limbs) {
            const std::uint64_t product = std::uint64_t(limb) * factor + carry;
            limb = std::uint32_t(product % base);
            carry = product / base;
        }
        while (carry != 0) {
            limbs.push_back(std::uint32_t(carry % base));
            carry /= base;
        }
    }

    std::string Digits() const
    {
        if (limbs.empty())
            return "0";
        std::string out = std::to_string(limbs.back());
        for (std::size_t i = limbs.size() - 1; i-- > 0;) {
            const std::string part = std::to_string(limbs[i]);
            out.append(9 - part.size(), '0');
            out += part;
        }
        return out;
    }

private:
    static constexpr std::uint32_t base = 1000000000u;
    std::vector<std::uint32_t> limbs;
};

// The exact decimal expansion of |x| (finite, not zero): x = 0.digits x
// 10^decimalPoint, without trailing zeros.
DecimalDigits Exact(double x)
{
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    DecimalDigits out;
    out.negative = (bits >> 63) != 0;
    const int field = int((bits >> 52) & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t(1) << 52) - 1);
    int exponent;
    if (field == 0) {
        exponent = -1074;
    } else {
        mantissa |= std::uint64_t(1) << 52;
        exponent = field - 1075;
    }

    // x = mantissa * 2^exponent. A negative exponent becomes a power of ten:
    // mantissa * 5^-exponent / 10^-exponent.
    Decimal value(mantissa);
    int scale = 0;
    for (int i = 0; i < exponent; ++i)
        value.Multiply(2);
    for (int i = 0; i < -exponent; ++i)
        value.Multiply(5);
    if (exponent < 0)
        scale = -exponent;

    out.digits = value.Digits();
    out.decimalPoint = int(out.digits.size()) - scale;
    while (out.digits.size() > 1 && out.digits.back() == '0')
        out.digits.pop_back();
    return out;
}

// Keeps the first `keep` digits (keep >= 0), rounding to nearest with ties to
// even. A carry out of the first digit moves the point; with a fixed count
// of significant digits the last one then drops off, while a fixed count of
// decimals keeps them all.
void RoundTo(DecimalDigits& value, int keep, bool fixedCount)
{
    std::string& d = value.digits;
    if (keep >= int(d.size())) {
        d.append(std::size_t(keep) - d.size(), '0');
        return;
    }
    bool up;
    const char first = d[std::size_t(keep)];
    if (first != '5') {
        up = first > '5';
    } else {
        const bool moreAfter = d.find_first_not_of('0', std::size_t(keep) + 1) != std::string::npos;
        const bool lastOdd = keep > 0 && (d[std::size_t(keep) - 1] - '0') % 2 == 1;
        up = moreAfter || lastOdd;
    }
    d.resize(std::size_t(keep));
    if (!up)
        return;
    int i = keep - 1;
    while (i >= 0 && d[std::size_t(i)] == '9')
        d[std::size_t(i--)] = '0';
    if (i >= 0) {
        ++d[std::size_t(i)];
    } else {
        d.insert(d.begin(), '1');
        ++value.decimalPoint;
        if (fixedCount && keep > 0)
            d.pop_back();
    }
}

}  // namespace

DecimalDigits EcvtDigits(double x, int count)
{
    if (count < 1)
        count = 1;
    if (x == 0) {
        DecimalDigits zero;
        zero.digits.assign(std::size_t(count), '0');
        zero.decimalPoint = 1;
        zero.negative = std::signbit(x);
        return zero;
    }
    DecimalDigits value = Exact(x);
    RoundTo(value, count, true);
    return value;
}

DecimalDigits FcvtDigits(double x, int decimals)
{
    DecimalDigits value;
    if (x != 0) {
        value = Exact(x);
        const int keep = value.decimalPoint + decimals;
        if (keep >= 0) {
            RoundTo(value, keep, false);
            if (!value.digits.empty())
                return value;
        }
    } else {
        value.negative = std::signbit(x);
    }
    value.digits.clear();
    value.decimalPoint = -decimals;
    return value;
}
