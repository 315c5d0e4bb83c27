#include "rio/input_conversion.h"

#include <cstdint>
#include <cstring>
#include <limits>

#include "rio/decimal_digits.h"
#include "rio/status.h"

namespace rio {
namespace {

std::size_t skip_blanks(std::string_view text, std::size_t i) {
  while (i < text.size() && text[i] == ' ') ++i;
  return i;
}

int digit_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

bool is_decimal(char c) { return c >= '0' && c <= '9'; }

bool store_integer(std::uint64_t value, void* address, int size) {
  switch (size) {
    case 1:
    case 2:
    case 4: {
      std::uint32_t low = static_cast<std::uint32_t>(value);
      std::memcpy(address, &low, static_cast<std::size_t>(size));
      return true;
    }
    case 8:
      std::memcpy(address, &value, 8);
      return true;
    case 12: {
      std::memcpy(address, &value, 8);
      std::uint32_t high = (value >> 63) ? 0xFFFFFFFFu : 0;
      std::memcpy(static_cast<char*>(address) + 8, &high, 4);
      return true;
    }
    default:
      return false;
  }
}

bool store_real(double value, void* address, int size) {
  if (size == 4) {
    float f = static_cast<float>(value);
    std::memcpy(address, &f, 4);
    return true;
  }
  if (size == 8) {
    std::memcpy(address, &value, 8);
    return true;
  }
  if (size == 12 || size == 16) {
    long double v = value;
    std::memset(address, 0, static_cast<std::size_t>(size));
    std::memcpy(address, &v, 10);
    return true;
  }
  return false;
}

bool real_text_is_valid(std::string_view text, std::size_t i) {
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  if (i < text.size() && (text[i] == 'I' || text[i] == 'i' || text[i] == 'N' || text[i] == 'n')) return true;
  for (; i < text.size(); ++i)
    if (!is_decimal(text[i]) && !std::strchr("+-.DEde", text[i])) return false;
  return true;
}

// The decimal mantissa of a real and its decimal exponent.
struct Mantissa {
  std::uint64_t value = 0;
  int exponent = 0;
  // Adds one digit while the mantissa has room; true when it was taken.
  bool add(int digit) {
    bool room = (value >> 32) < 429496730u &&
                value <= (std::numeric_limits<std::uint64_t>::max() - static_cast<unsigned>(digit)) / 10;
    if (room) value = value * 10 + static_cast<unsigned>(digit);
    return room;
  }
};

std::size_t read_integer_digits(std::string_view text, std::size_t i, Mantissa& m) {
  for (; i < text.size() && is_decimal(text[i]); ++i)
    if (!m.add(text[i] - '0')) ++m.exponent;
  return i;
}

// Fraction zeros wait for a non-zero digit, so trailing zeros cost nothing.
std::size_t read_fraction_digits(std::string_view text, std::size_t i, Mantissa& m) {
  int held_zeros = 0;
  for (; i < text.size() && is_decimal(text[i]); ++i) {
    int digit = text[i] - '0';
    if (digit == 0) {
      ++held_zeros;
      continue;
    }
    for (; held_zeros > 0; --held_zeros)
      if (m.add(0)) --m.exponent;
    if (m.add(digit)) --m.exponent;
  }
  return i;
}

// Exponent: optional letter, optional sign, digits. Returns the position
// after it; has_exponent tells whether one was present.
std::size_t read_exponent(std::string_view text, std::size_t i, int& exponent, bool& has_exponent) {
  exponent = 0;
  has_exponent = false;
  if (i < text.size() && std::strchr("EeDd", text[i])) {
    has_exponent = true;
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    has_exponent = true;
    negative = text[i] == '-';
    ++i;
  }
  for (; i < text.size() && is_decimal(text[i]); ++i)
    if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
  if (negative) exponent = -exponent;
  return i;
}

}  // namespace

int convert_integer(std::string_view text, int base, void* address, int size) {
  std::size_t i = skip_blanks(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    int digit = digit_value(text[i]);
    if (digit >= base) return kIllegalCharacterInNumericInput;
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
  }
  if (size != 8 && size != 12) value &= 0xFFFFFFFFu;
  if (negative) value = 0 - value;
  return store_integer(value, address, size) ? kOk : kTypeOrSizeMismatch;
}

int convert_real(std::string_view text, void* address, int size, int implied_places, int scale) {
  std::size_t i = skip_blanks(text, 0);
  if (!real_text_is_valid(text, i)) return kIllegalCharacterInNumericInput;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  double value;
  if (i < text.size() && std::strchr("IiNn", text[i])) {
    value = (text[i] == 'I' || text[i] == 'i') ? std::numeric_limits<double>::infinity()
                                               : std::numeric_limits<double>::quiet_NaN();
  } else {
    Mantissa m;
    i = read_integer_digits(text, i, m);
    bool has_point = i < text.size() && text[i] == '.';
    if (has_point) i = read_fraction_digits(text, i + 1, m);
    int exponent;
    bool has_exponent;
    i = read_exponent(text, i, exponent, has_exponent);
    // Anything left (a second point or exponent) would be silently dropped.
    if (i != text.size()) return kIllegalCharacterInNumericInput;
    int total = m.exponent + exponent - (has_point ? 0 : implied_places) - (has_exponent ? 0 : scale);
    value = static_cast<double>(m.value);
    value = total < 0 ? value / power_of_ten(-total) : value * power_of_ten(total);
  }
  if (negative) value = -value;
  return store_real(value, address, size) ? kOk : kTypeOrSizeMismatch;
}

void convert_logical(std::string_view text, void* address, int size) {
  std::size_t i = skip_blanks(text, 0);
  if (i < text.size() && text[i] == '.') ++i;
  bool truth = i < text.size() && (text[i] == 'T' || text[i] == 't');
  std::memset(address, 0, static_cast<std::size_t>(size));
  if (truth) *static_cast<unsigned char*>(address) = 1;
}

void convert_character(std::string_view text, void* address, int size) {
  std::size_t n = text.size() < static_cast<std::size_t>(size) ? text.size() : static_cast<std::size_t>(size);
  char* out = static_cast<char*>(address);
  // An empty field may have no storage at all.
  if (n > 0) std::memcpy(out, text.data(), n);
  std::memset(out + n, ' ', static_cast<std::size_t>(size) - n);
}

}  // namespace rio
