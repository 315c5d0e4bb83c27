#pragma once
// Decimal digit generation for the output editors: a fixed number of digits
// of a real value, rounded half-up on the generated digits.
namespace rio {

// Twenty digit characters and a terminating zero. After a call, positions
// past the generated digits hold '0'; "INF" or "NaN" followed by blanks for
// the non-finite values.
struct DigitString {
  char text[21] = {};
  // The i-th digit (1-based); '0' beyond the string's twenty positions.
  char digit(int i) const { return i >= 1 && i <= 20 ? text[i - 1] : '0'; }
  bool is_special() const { return text[0] == 'I' || text[0] == 'N'; }
};

// Fills digits with the decimal digits of value, which is then
// 0.d1d2d3... x 10^h; returns h. With fixed, count is the number of places
// after the decimal point to round to; otherwise the number of significant
// digits. real_size 4 generates 8 digits, any larger kind 16.
int decimal_digits(double value, int count, bool fixed, int real_size, DigitString& digits);

// The unrounded digits of one value, which the editors round to different
// counts (the general editor first to choose the form, then to edit). count
// is the number of digits generated, 0 for zero, INF and NaN.
struct GeneratedDigits {
  DigitString digits;
  int h = 0;
  int count = 0;
};

GeneratedDigits generate_decimal_digits(double value, int real_size);
// Rounds generated digits as decimal_digits does; returns h.
int round_decimal_digits(const GeneratedDigits& generated, int count, bool fixed,
                         DigitString& digits);

// The exponent round_decimal_digits would return, without the digits.
int rounded_exponent(const GeneratedDigits& generated, int count, bool fixed);

// 10^n for n >= 0 by repeated squaring, every product rounded to double.
double power_of_ten(int n);

}  // namespace rio
