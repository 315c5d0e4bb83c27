#include "rio/list_real_output.h"

#include <cmath>
#include <cstring>

#include "rio/decimal_digits.h"
#include "rio/edit_output.h"
#include "rio/element.h"

namespace rio {
namespace {

constexpr int kPlaces = 6;       // d of G15.6E2
constexpr int kFixedWidth = 11;  // w less the exponent part, e + 2

// The field is assembled here and appended at once; the longest
// list-directed 4-byte real is " -d.ddddddE+dd". Runs of digits are copied
// eight bytes at a time, which the spare room past the field absorbs.
struct Field {
  static constexpr int kRun = 8;
  char text[RecordBuffer::kShortRun];
  int length = 0;
  void put(char c) { text[length++] = c; }
  // The first n (at most kRun) characters of s, which has kRun readable.
  void put_run(const char* s, int n) {
    std::memcpy(text + length, s, kRun);
    length += n;
  }
  void put_zeros(int n) {
    std::memset(text + length, '0', kRun);
    length += n;
  }
};

// The exponent form 1PE15.6E2: one digit, the point, six digits, the
// exponent. false when the exponent needs three digits, which no 4-byte
// value does; the general editor then handles it.
bool put_exponent_form(Field& field, const GeneratedDigits& generated) {
  DigitString digits;
  int h = round_decimal_digits(generated, kPlaces + 1, false, digits);
  int exponent = digits.text[0] == '0' ? 0 : h - 1;
  int magnitude = exponent < 0 ? -exponent : exponent;
  if (magnitude > 99) return false;
  field.put(digits.text[0]);
  field.put('.');
  field.put_run(digits.text + 1, kPlaces);
  field.put('E');
  field.put(exponent < 0 ? '-' : '+');
  field.put(static_cast<char>('0' + magnitude / 10));
  field.put(static_cast<char>('0' + magnitude % 10));
  return true;
}

// The fixed form with 6 - h places, rounded to six significant digits.
// false for the layouts that show no digit or overflow into asterisks,
// which the field width rules out for these values; the general editor then
// handles them.
bool put_fixed_form(Field& field, const GeneratedDigits& generated, int h, bool negative) {
  int places = kPlaces - h;
  DigitString digits;
  int shown = round_decimal_digits(generated, places, true, digits);
  int left = kFixedWidth - (negative ? 1 : 0) - places - 1;
  if (shown < 1 && (places == 0 || shown + places <= 0)) return false;
  if ((shown < 1 && left < 0) || (shown > 0 && left < shown)) return false;
  if (shown > 0) {
    field.put_run(digits.text, shown);
    field.put('.');
    field.put_run(digits.text + shown, places);
    return true;
  }
  field.put('.');
  field.put_zeros(-shown);
  field.put_run(digits.text, places + shown);
  return true;
}

int edit_by_general_editor(RecordBuffer& record, float value) {
  return edit_item(record, &value, kStateReal4, 4, list_directed_request(kStateReal4, 4));
}

}  // namespace

int edit_list_real4(RecordBuffer& record, float value) {
  double widened = value;
  const GeneratedDigits generated = generate_decimal_digits(widened, 4);
  if (generated.digits.is_special()) return edit_by_general_editor(record, value);
  bool negative = std::signbit(widened);
  Field field;
  field.put(' ');
  field.put(negative ? '-' : ' ');
  int h = rounded_exponent(generated, kPlaces + 1, true);
  bool laid_out = (h < 0 || h > kPlaces) ? put_exponent_form(field, generated)
                                         : put_fixed_form(field, generated, h, negative);
  if (!laid_out) return edit_by_general_editor(record, value);
  return record.append_short(field.text, static_cast<std::size_t>(field.length));
}

}  // namespace rio
