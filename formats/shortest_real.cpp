// std::to_chars finds the shortest digits and lays them out; in libstdc++ 12
// that costs some 400 instructions a value, a third of writing a table.
// Here the digits come from fmt's Dragonbox (the shortest digits nearest
// the value, as std::to_chars picks them) and the layout is ours.
// fmt first: its own unqualified calls to compare() must not meet our
// namespace of that name.
#include <fmt/format.h>

#include "formats/shortest_real.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace compare {

namespace {

// Digits of the shortest decimal without trailing zeros, and the exponent
// of its first digit: value = d.ddd x 10^exponent.
struct Digits {
  char text[24];
  int count = 0;
  int exponent = 0;
};

template <typename Real>
Digits shortest_digits(Real value) {
  const auto decimal = fmt::detail::dragonbox::to_decimal(value);
  auto significand = decimal.significand;
  int exponent = decimal.exponent;
  while (significand % 10 == 0) {
    significand /= 10;
    ++exponent;
  }
  Digits d;
  d.count = static_cast<int>(std::to_chars(d.text, d.text + sizeof d.text, significand).ptr - d.text);
  d.exponent = exponent + d.count - 1;
  return d;
}

int exponent_width(int exponent) {
  const int size = std::abs(exponent);
  return size >= 100 ? 3 : 2;
}

char* write_scientific(char* out, const Digits& d) {
  *out++ = d.text[0];
  if (d.count > 1) {
    *out++ = '.';
    out = std::copy(d.text + 1, d.text + d.count, out);
  }
  *out++ = 'e';
  *out++ = d.exponent < 0 ? '-' : '+';
  const int size = std::abs(d.exponent);
  if (size < 10) *out++ = '0';
  return std::to_chars(out, out + 4, size).ptr;
}

char* write_fixed(char* out, const Digits& d) {
  if (d.exponent < 0) {
    *out++ = '0';
    *out++ = '.';
    out = std::fill_n(out, -d.exponent - 1, '0');
    return std::copy(d.text, d.text + d.count, out);
  }
  out = std::copy(d.text, d.text + d.exponent + 1, out);
  *out++ = '.';
  return std::copy(d.text + d.exponent + 1, d.text + d.count, out);
}

template <typename Real>
char* write_positive(char* out, Real value) {
  const Digits d = shortest_digits(value);
  const int scientific = d.count + (d.count > 1) + 2 + exponent_width(d.exponent);
  const int fixed = d.exponent < 0 ? d.count + 1 - d.exponent : std::max(d.count + 1, d.exponent + 1);
  if (fixed > scientific) return write_scientific(out, d);
  if (d.exponent + 1 < d.count) return write_fixed(out, d);
  // A whole number: std::to_chars writes it exactly ("123456792", not the
  // shortest digits padded with zeros). Below 2^63 it converts exactly.
  if (value < Real(9223372036854775808.0))
    return std::to_chars(out, out + kShortestRoom, static_cast<std::uint64_t>(value)).ptr;
  return std::to_chars(out, out + kShortestRoom, value).ptr;
}

template <typename Real>
char* write_any(char* out, Real value) {
  if (value == 0 || !std::isfinite(value)) return std::to_chars(out, out + kShortestRoom, value).ptr;
  if (std::signbit(value)) {
    *out++ = '-';
    value = -value;
  }
  return write_positive(out, value);
}

template <typename Real>
void append_any(std::string& out, Real value) {
  char text[kShortestRoom];
  out.append(text, write_any(text, value));
}

}  // namespace

char* write_shortest(char* out, float value) { return write_any(out, value); }
char* write_shortest(char* out, double value) { return write_any(out, value); }
void append_shortest(std::string& out, float value) { append_any(out, value); }
void append_shortest(std::string& out, double value) { append_any(out, value); }

}  // namespace compare
