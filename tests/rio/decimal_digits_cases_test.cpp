// Digit strings and exponents of decimal_digits for the special values, the
// rounding rules and the ends of the double range.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "rio/decimal_digits.h"

namespace rio {
namespace {

struct Result {
  std::string text;
  int h;
};

Result digits_of(double v, int count, bool fixed, int size) {
  DigitString d;
  int h = decimal_digits(v, count, fixed, size, d);
  return {std::string(d.text, 20), h};
}

TEST(DecimalDigits, ExactValuesGiveTheirDigitsAndZerosAfter) {
  Result r = digits_of(0.125f, 5, true, 4);
  EXPECT_EQ(r.text, "12500000000000000000");
  EXPECT_EQ(r.h, 0);
  r = digits_of(1.0e10f, 7, false, 4);
  EXPECT_EQ(r.text, "10000000000000000000");
  EXPECT_EQ(r.h, 11);
}

TEST(DecimalDigits, FourByteRealsGenerateEightDigitsEightByteSixteen) {
  // 0.1f is 0.100000001490116...; 1/3 scaled by 10 in double is
  // 3.33333333333333303...; 2/3f is 0.666666686..., whose eighth digit 8
  // rounds the seventh up since the kept count is capped at eight.
  EXPECT_EQ(digits_of(0.1f, 30, false, 4).text, "10000000000000000000");
  EXPECT_EQ(digits_of(1.0 / 3.0, 30, false, 8).text, "33333333333333330000");
  EXPECT_EQ(digits_of(2.0f / 3.0f, 30, false, 4).text, "66666670000000000000");
}

TEST(DecimalDigits, CarryOutOfTheFirstDigitRaisesTheExponent) {
  // 0.7f is 0.69999998...; rounding at the first digit carries out of it and
  // leaves the digits after the rounding position as generated.
  Result r = digits_of(0.7f, 0, true, 4);
  EXPECT_EQ(r.text, "19999998000000000000");
  EXPECT_EQ(r.h, 1);
  r = digits_of(9.9999f, 3, false, 4);
  EXPECT_EQ(r.text.substr(0, 3), "100");
  EXPECT_EQ(r.h, 2);
}

TEST(DecimalDigits, FixedCountThatKeepsNoDigitLeavesTheStringUnrounded) {
  // 9e-7f is 8.99999975e-7; with 5 places nothing is kept, so the digits
  // stay as generated and nothing carries into h.
  Result r = digits_of(9.0e-7f, 5, true, 4);
  EXPECT_EQ(r.text.substr(0, 8), "89999997");
  EXPECT_EQ(r.h, -6);
}

TEST(DecimalDigits, ZeroInfinityAndNotANumber) {
  EXPECT_EQ(digits_of(0.0, 5, true, 8).text, std::string(20, '0'));
  EXPECT_EQ(digits_of(-0.0, 5, true, 8).h, 0);
  EXPECT_EQ(digits_of(std::numeric_limits<double>::infinity(), 5, true, 8).text, "INF" + std::string(17, ' '));
  EXPECT_EQ(digits_of(-std::numeric_limits<double>::quiet_NaN(), 5, true, 8).text, "NaN" + std::string(17, ' '));
}

TEST(DecimalDigits, EightByteDenormalsHaveAZeroExponentField) {
  EXPECT_EQ(digits_of(std::numeric_limits<double>::denorm_min(), 5, false, 8).text, std::string(20, '0'));
}

TEST(DecimalDigits, FourByteDenormalsAreNormalOnceWidened) {
  Result r = digits_of(std::numeric_limits<float>::denorm_min(), 30, false, 4);
  EXPECT_EQ(r.text.substr(0, 8), "14012984");
  EXPECT_EQ(r.h, -44);
}

TEST(DecimalDigits, ValuesWhereTheExponentEstimateOvershootsKeepALeadingDigit) {
  // For these binades the estimate lands one decade too high; the leading
  // digit must still be the value's first significant digit.
  for (int e : {146 - 1023, 342 - 1023}) {
    double v = std::ldexp(1.0, e);
    char expected[32];
    std::snprintf(expected, sizeof expected, "%.15e", v);
    Result r = digits_of(v, 30, false, 8);
    EXPECT_EQ(r.text[0], expected[0]) << e;
    EXPECT_EQ(r.text.substr(1, 10), std::string(expected + 2, 10)) << e;
    EXPECT_EQ(r.h, std::atoi(std::strchr(expected, 'e') + 1) + 1) << e;
  }
}

}  // namespace
}  // namespace rio
