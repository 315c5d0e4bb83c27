// Every positive finite 4-byte real whose scaling power is exact in double
// (decimal exponents -22 to 22): the eight generated digits and the exponent
// against a model that scales with std::pow and one IEEE operation and reads
// the digits exactly with 128-bit integer arithmetic.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "rio/decimal_digits.h"

namespace rio {
namespace {

__extension__ typedef unsigned __int128 Wide;

// The first eight decimal digits of x in [1, 10), truncated: x = m * 2^-s.
std::string eight_digits(double x) {
  int exponent;
  double fraction = std::frexp(x, &exponent);  // x = fraction * 2^exponent
  Wide m = static_cast<Wide>(std::ldexp(fraction, 53));
  int shift = 53 - exponent;
  Wide scaled = (m * 10000000u) >> shift;
  std::string s(8, '0');
  for (int i = 7; i >= 0; --i) {
    s[static_cast<std::size_t>(i)] = static_cast<char>('0' + static_cast<int>(scaled % 10));
    scaled /= 10;
  }
  return s;
}

TEST(DecimalDigitsAllFloats, GeneratedDigitsMatchTheModel) {
  long compared = 0;
  long mismatches = 0;
  for (std::uint32_t bits = 1; bits < 0x7F800000u; ++bits) {
    float v;
    std::memcpy(&v, &bits, 4);
    int binary = std::ilogb(static_cast<double>(v)) + 1023;
    int estimate = static_cast<int>(std::floor((binary * 19728.0 - 20181744.0) / 65536.0));
    if (std::abs(estimate) > 22) continue;
    double power = std::pow(10.0, std::abs(estimate));
    double x = estimate > 0 ? v / power : v * power;
    int h = estimate + 1;
    if (x >= 10.0) {
      x /= 10.0;
      ++h;
    }
    DigitString digits;
    // A fixed count far below the value's places keeps the digits unrounded.
    int got_h = decimal_digits(v, -200, true, 4, digits);
    ++compared;
    if (got_h != h || std::string(digits.text, 8) != eight_digits(x)) {
      if (++mismatches <= 10) ADD_FAILURE() << "bits " << std::hex << bits;
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(compared, 1000000000L);
}

}  // namespace
}  // namespace rio
