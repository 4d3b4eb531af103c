#include "text/float_digits.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <random>

namespace {

struct EcvtCase {
    double value;
    int count;
    const char* digits;
    int point;
};

TEST(FloatDigits, Ecvt)
{
    const EcvtCase cases[] = {
        {1.5, 2, "15", 1},
        {0.00012345, 3, "123", -3},
        {999.96, 3, "100", 4},     // the carry moves the point
        {2.5, 1, "2", 1},          // an exact tie goes to even
        {3.5, 1, "4", 1},
        {0.0, 3, "000", 1},
        {1e300, 1, "1", 301},
        {5e-324, 2, "49", -323},
    };
    for (const EcvtCase& c : cases) {
        const DecimalDigits d = EcvtDigits(c.value, c.count);
        EXPECT_EQ(d.digits, c.digits) << c.value;
        EXPECT_EQ(d.decimalPoint, c.point) << c.value;
    }
    EXPECT_TRUE(EcvtDigits(-2.0, 1).negative);
}

TEST(FloatDigits, Fcvt)
{
    const EcvtCase cases[] = {
        {3.14159, 2, "314", 1},
        {0.05, 3, "50", -1},
        {0.0004, 3, "", -3},      // rounds to 0
        {0.0006, 3, "1", -2},     // rounds up into the last place
        {0.5, 0, "", 0},          // a tie to even: 0
        {1.5, 0, "2", 1},
        {0.0, 4, "", -4},
        {99.999, 2, "10000", 3},
    };
    for (const EcvtCase& c : cases) {
        const DecimalDigits d = FcvtDigits(c.value, c.count);
        EXPECT_EQ(d.digits, c.digits) << c.value;
        EXPECT_EQ(d.decimalPoint, c.point) << c.value;
    }
}

#if !defined(_WIN32)
// glibc's printf rounds the exact binary value too, ties to even (its ecvt
// does not: it scales small values first), so natively it serves as an
// oracle over many random doubles.
TEST(FloatDigits, MatchesTheCRuntimeWhereItIsExact)
{
    std::mt19937_64 random(7);
    std::uniform_int_distribution<int> count(1, 40), exponent(-300, 300);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    for (int i = 0; i < 20000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, exponent(random));
        const int n = count(random);
        char text[64];
        std::snprintf(text, sizeof text, "%.*e", n - 1, value);
        std::string expected;
        for (const char* c = text; *c != 'e'; ++c)
            if (*c != '.')
                expected += *c;
        const int point = std::atoi(std::strchr(text, 'e') + 1) + 1;
        const DecimalDigits d = EcvtDigits(value, n);
        ASSERT_EQ(d.digits, expected) << text << " to " << n;
        ASSERT_EQ(d.decimalPoint, point) << text << " to " << n;
    }
}
#endif

}  // namespace
