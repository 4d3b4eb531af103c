#pragma once
#include <string>

// Decimal digits of a double, rounded from its exact binary value (ties to
// even), so every build prints the same text whatever its C runtime does.
// Both give the digits of |x|, the position of the decimal point (x =
// 0.d1d2... x 10^decimalPoint) and whether x is negative.
struct DecimalDigits {
    std::string digits;
    int decimalPoint = 0;
    bool negative = false;
};

// `count` significant digits (count >= 1). Zero gives `count` zeros with
// the point at 1.
DecimalDigits EcvtDigits(double x, int count);

// The digits of |x| rounded to `decimals` places after the point. A value
// that rounds to 0 gives no digits and the point at -decimals.
DecimalDigits FcvtDigits(double x, int decimals);
