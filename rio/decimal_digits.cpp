#include "rio/decimal_digits.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace rio {
namespace {

constexpr std::uint64_t kFractionMask = (std::uint64_t{1} << 52) - 1;

std::uint64_t bits_of(double x) {
  std::uint64_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

std::uint32_t high_word(double x) { return static_cast<std::uint32_t>(bits_of(x) >> 32); }

void fill_special(const char* word, DigitString& digits) {
  std::memcpy(digits.text, word, 3);
  std::memset(digits.text + 3, ' ', 17);
  digits.text[20] = '\0';
}

void fill_zeros(DigitString& digits) {
  std::memset(digits.text, '0', 20);
  digits.text[20] = '\0';
}

// The powers the scaling needs, each formed once by the same repeated
// squaring, so that a lookup gives the bits the loop would.
constexpr int kLargestScale = 330;

const std::array<double, kLargestScale + 1>& scaling_powers() {
  static const std::array<double, kLargestScale + 1> powers = [] {
    std::array<double, kLargestScale + 1> table{};
    for (int n = 0; n <= kLargestScale; ++n) table[n] = power_of_ten(n);
    return table;
  }();
  return powers;
}

double scaling_power(int n) { return n <= kLargestScale ? scaling_powers()[n] : power_of_ten(n); }

// Scales magnitude x into [1, 10) and returns h with value = 0.d1d2... x 10^h.
int scale_to_one_digit(double& x, int biased_exponent) {
  // floor(log10(2) * unbiased exponent), in 16-bit fixed point; the shift of
  // a negative number rounds towards minus infinity.
  int h = (biased_exponent * 19728 - 20181744) >> 16;
  if (h > 0) x /= scaling_power(h);
  if (h < 0) x *= scaling_power(-h);
  if (high_word(x) < high_word(10.0)) {
    h += 1;
  } else {
    x /= 10.0;
    h += 2;
  }
  // The estimate can overshoot by one for values just below a power of ten
  // near the ends of the double range; one more step keeps the leading digit
  // non-zero instead of producing a string of garbage digits.
  if (x < 1.0) {
    x *= 10.0;
    h -= 1;
  }
  return h;
}

// Fixed-width decimal digits, leading zeros included, two at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
    pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

void put_four_digits(char* out, std::uint32_t v) {
  std::memcpy(out, kDigitPairs.data() + 2 * (v / 100), 2);
  std::memcpy(out + 2, kDigitPairs.data() + 2 * (v % 100), 2);
}

void put_eight_digits(char* out, std::uint32_t v) {
  put_four_digits(out, v / 10000);
  put_four_digits(out + 4, v % 10000);
}

// Writes n digits of x (in [1, 10)): the integer part and the first n - 1
// decimals of its exact binary value, truncated. Read one digit at a time
// (take the integer part, clear it, multiply by ten), they are the digits
// of floor(m * 10^(n-1) / 2^52) for the significand m shifted so that the
// integer part stands in bits 52 to 55; one wide product gives them all.
void generate_digits(double x, int n, DigitString& digits) {
  __extension__ typedef unsigned __int128 Wide;
  static constexpr std::uint64_t kScales[] = {10000000u, 1000000000000000u};  // 10^7, 10^15
  std::uint64_t b = bits_of(x);
  int shift = static_cast<int>((b >> 52) & 0x7FF) - 1023;
  std::uint64_t m = ((b & kFractionMask) | (kFractionMask + 1)) << shift;
  Wide scaled = static_cast<Wide>(m) * kScales[n == 8 ? 0 : 1];
  std::uint64_t leading = static_cast<std::uint64_t>(scaled >> 52);
  if (n == 8) {
    put_eight_digits(digits.text, static_cast<std::uint32_t>(leading));
    std::memset(digits.text + 8, '0', 12);
  } else {
    put_eight_digits(digits.text, static_cast<std::uint32_t>(leading / 100000000u));
    put_eight_digits(digits.text + 8, static_cast<std::uint32_t>(leading % 100000000u));
    std::memset(digits.text + 16, '0', 4);
  }
  digits.text[20] = '\0';
}

// Half-up rounding at digit c (1-based); returns the carry into h.
int round_at(DigitString& digits, int c) {
  if (digits.text[c - 1] < '5') return 0;
  digits.text[c - 1] = '0';
  for (int i = c - 2; i >= 0; --i) {
    if (digits.text[i] != '9') {
      ++digits.text[i];
      return 0;
    }
    digits.text[i] = '0';
  }
  digits.text[0] = '1';
  return 1;
}

}  // namespace

double power_of_ten(int n) {
  double result = 1.0;
  double base = 10.0;
  while (n != 0) {
    if (n & 1) result *= base;
    n >>= 1;
    if (n != 0) base *= base;
  }
  return result;
}

GeneratedDigits generate_decimal_digits(double value, int real_size) {
  GeneratedDigits generated;
  std::uint64_t b = bits_of(value);
  int biased = static_cast<int>((b >> 52) & 0x7FF);
  if (biased == 0x7FF) {
    fill_special((b & kFractionMask) ? "NaN" : "INF", generated.digits);
    return generated;
  }
  if (biased == 0) {
    fill_zeros(generated.digits);
    return generated;
  }
  generated.count = real_size == 4 ? 8 : 16;
  double x = std::fabs(value);
  generated.h = scale_to_one_digit(x, biased);
  generate_digits(x, generated.count, generated.digits);
  return generated;
}

namespace {

// The digit (1-based) that rounding looks at, or 0 when nothing is rounded:
// zero, INF and NaN, and a fixed count that ends before the first digit.
int rounding_digit(const GeneratedDigits& generated, int count, bool fixed) {
  if (generated.count == 0) return 0;
  int c = fixed ? count + 1 + generated.h : count + 1;
  if (c <= 0) return 0;
  return c < generated.count ? c : generated.count;
}

// Whether rounding at digit c carries out of the first digit.
bool carries_out(const DigitString& digits, int c) {
  if (digits.text[c - 1] < '5') return false;
  for (int i = 0; i < c - 1; ++i)
    if (digits.text[i] != '9') return false;
  return true;
}

}  // namespace

int round_decimal_digits(const GeneratedDigits& generated, int count, bool fixed,
                         DigitString& digits) {
  digits = generated.digits;
  int c = rounding_digit(generated, count, fixed);
  if (c == 0) return generated.h;
  return generated.h + round_at(digits, c);
}

int rounded_exponent(const GeneratedDigits& generated, int count, bool fixed) {
  int c = rounding_digit(generated, count, fixed);
  if (c == 0) return generated.h;
  return generated.h + (carries_out(generated.digits, c) ? 1 : 0);
}

int decimal_digits(double value, int count, bool fixed, int real_size, DigitString& digits) {
  return round_decimal_digits(generate_decimal_digits(value, real_size), count, fixed, digits);
}

}  // namespace rio
