#include "rio/edit_output.h"

#include <cmath>
#include <cstring>
#include <string>

#include "rio/decimal_digits.h"
#include "rio/element.h"
#include "rio/status.h"

namespace rio {
namespace {

enum class ItemClass { kCharacter, kLogical, kInteger, kReal };

ItemClass class_of(int state) {
  if (state == kStateCharacter) return ItemClass::kCharacter;
  if (state >= kStateLogical1 && state <= kStateLogical) return ItemClass::kLogical;
  if (state >= kStateInteger1 && state <= kStateInteger) return ItemClass::kInteger;
  return ItemClass::kReal;
}

bool load_integer(const void* address, int size, std::int64_t& value) {
  switch (size) {
    case 1: { std::int8_t v; std::memcpy(&v, address, 1); value = v; return true; }
    case 2: { std::int16_t v; std::memcpy(&v, address, 2); value = v; return true; }
    case 4: { std::int32_t v; std::memcpy(&v, address, 4); value = v; return true; }
    case 8: { std::int64_t v; std::memcpy(&v, address, 8); value = v; return true; }
    default: return false;
  }
}

// The bits of an item taken as a real of the same size; the longer kind is
// the 80-bit extended real held in 12 or 16 bytes.
bool load_real(const void* address, int size, double& value) {
  if (size == 4) {
    float v;
    std::memcpy(&v, address, 4);
    value = v;
    return true;
  }
  if (size == 8) {
    std::memcpy(&value, address, 8);
    return true;
  }
  if (size == 12 || size == 16) {
    long double v = 0.0L;
    std::memcpy(&v, address, 10);
    value = static_cast<double>(v);
    return true;
  }
  return false;
}

bool any_bit_set(const void* address, int size) {
  const unsigned char* p = static_cast<const unsigned char*>(address);
  for (int i = 0; i < size; ++i)
    if (p[i]) return true;
  return false;
}

int real_sign(double v) { return std::signbit(v) ? -1 : 1; }

bool all_zero_bits(double v) {
  std::uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b == 0;
}

int append_text(RecordBuffer& record, const std::string& s) { return record.append(s.data(), s.size()); }

int effective_exponent_digits(int e) { return e <= 0 ? 2 : e; }

// "INF" or "NaN" in a real field.
int edit_special(RecordBuffer& record, const RealField& field, const DigitString& digits,
                 const EditRequest& request) {
  int sign = real_sign(field.value);
  int letters = (sign < 0 || request.plus_sign) ? 4 : 3;
  int blanks = field.full_width - letters;
  if (blanks < 0) return fill_asterisks(record, field.full_width);
  if (int rc = put_lead(record, sign, request.kind, blanks, request)) return rc;
  return record.append(digits.text, 3);
}

// Digits first..last (1-based) of the digit string, '0' past its end.
std::string digit_run(const DigitString& digits, int first, int last) {
  std::string s;
  for (int i = first; i <= last; ++i) s += digits.digit(i);
  return s;
}

// The same run appended straight to the record: the fixed form is the path
// every list-directed real of a results file takes.
int append_digits(RecordBuffer& record, const DigitString& digits, int first, int last) {
  if (first < 1) first = 1;
  int stored_last = last < 20 ? last : 20;
  if (first <= stored_last)
    if (int rc = record.append(digits.text + first - 1, stored_last - first + 1)) return rc;
  int zeros = last - (first > 20 ? first - 1 : 20);
  return zeros > 0 ? record.append('0', zeros) : 0;
}

// The exponent part: letter, sign and at least e digits; false when it does
// not fit in e digits (three digits for e = 2 drop the letter instead).
bool exponent_text(int exponent, int e, char letter, std::string& out) {
  std::string magnitude = std::to_string(exponent < 0 ? -exponent : exponent);
  int count = static_cast<int>(magnitude.size());
  char sign = exponent < 0 ? '-' : '+';
  if (count > e) {
    if (e != 2 || count != 3) return false;
    out = std::string(1, sign) + magnitude;
    return true;
  }
  out = std::string(1, letter) + sign + std::string(e - count, '0') + magnitude;
  return true;
}

// Lays out blanks, sign, mantissa and exponent; asterisks when they do not
// fit. optional_zero is a leading "0" written only when there is room.
int put_exponent_field(RecordBuffer& record, const RealField& field, const EditRequest& request,
                       const std::string& mantissa, int exponent, bool optional_zero) {
  int e = effective_exponent_digits(request.e);
  std::string exp;
  if (!exponent_text(exponent, e, request.kind == kKindD ? 'D' : 'E', exp))
    return fill_asterisks(record, field.full_width);
  int blanks = field.width - static_cast<int>(mantissa.size() + exp.size());
  bool with_zero = optional_zero && blanks >= 1;
  if (with_zero) --blanks;
  if (blanks < 0) return fill_asterisks(record, field.full_width);
  if (int rc = put_lead(record, real_sign(field.value), request.kind, blanks, request)) return rc;
  if (with_zero)
    if (int rc = record.append('0')) return rc;
  return append_text(record, mantissa + exp);
}

int edit_character_bytes(RecordBuffer& record, const void* address, int length,
                         const EditRequest& request) {
  return edit_character(record, static_cast<const char*>(address), length, request);
}

int edit_real_item(RecordBuffer& record, double value, int real_size, const EditRequest& request) {
  RealField field;
  field.value = value;
  field.real_size = real_size;
  field.full_width = request.w;
  field.width = request.w;
  if (std::signbit(value) || request.plus_sign) --field.width;
  switch (request.kind) {
    case kKindF: return edit_fixed(record, field, request);
    case kKindE:
    case kKindD:
    case kKindES: return edit_exponent(record, field, request);
    case kKindEN: return edit_engineering(record, field, request);
    default: return edit_general(record, field, request);
  }
}

int edit_as_integer(RecordBuffer& record, const void* address, int byte_length,
                    const EditRequest& request) {
  std::int64_t value;
  if (!load_integer(address, byte_length, value)) return kTypeOrSizeMismatch;
  if (request.kind != kKindI && byte_length < 8)
    value &= (std::int64_t{1} << (8 * byte_length)) - 1;
  return edit_integer(record, value, request);
}

int edit_under_general(RecordBuffer& record, const void* address, ItemClass item_class,
                       int byte_length, const EditRequest& request) {
  EditRequest sub = request;
  switch (item_class) {
    case ItemClass::kCharacter:
      sub.kind = kKindA;
      return edit_character_bytes(record, address, byte_length, sub);
    case ItemClass::kLogical:
      sub.kind = kKindL;
      return edit_logical(record, any_bit_set(address, byte_length), sub);
    case ItemClass::kInteger:
      sub.kind = kKindI;
      sub.d = 1;
      return edit_as_integer(record, address, byte_length, sub);
    case ItemClass::kReal:
      break;
  }
  double value;
  if (!load_real(address, byte_length, value)) return kTypeOrSizeMismatch;
  return edit_real_item(record, value, byte_length, request);
}

}  // namespace

int put_lead(RecordBuffer& record, int sign, int kind, int blanks, const EditRequest& request) {
  int rc = kOk;
  if (request.list_directed) {
    if (request.complex_part == ComplexPart::kReal) rc = record.append(" (", 2);
    else if (request.complex_part == ComplexPart::kImaginary) rc = record.append(',');
    else rc = record.append(' ', sign < 0 ? 1 : 2);
  } else if (blanks > 0) {
    rc = record.append(' ', static_cast<std::size_t>(blanks));
  }
  if (rc) return rc;
  if (kind == kKindI) return (sign > 0 && request.plus_sign) ? record.append('+') : kOk;
  if (kind >= kKindI && kind <= kKindZ) return kOk;
  if (sign < 0) return record.append('-');
  return request.plus_sign ? record.append('+') : kOk;
}

int fill_asterisks(RecordBuffer& record, int width) {
  return width > 0 ? record.append('*', static_cast<std::size_t>(width)) : kOk;
}

int edit_integer(RecordBuffer& record, std::int64_t value, const EditRequest& request) {
  static const char kDigits[] = "0123456789abcdef";
  unsigned base = request.kind == kKindB ? 2 : request.kind == kKindO ? 8 : request.kind == kKindZ ? 16 : 10;
  bool negative = request.kind == kKindI && value < 0;
  std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::string digits;
  for (std::uint64_t v = magnitude; v != 0; v /= base) digits.insert(digits.begin(), kDigits[v % base]);
  if (static_cast<int>(digits.size()) < request.d) digits.insert(0, request.d - digits.size(), '0');
  if (negative) digits.insert(digits.begin(), '-');
  int sign = value < 0 ? -1 : value > 0 ? 1 : 0;
  int blanks = request.w - static_cast<int>(digits.size());
  if (request.kind == kKindI && sign > 0 && request.plus_sign) --blanks;
  // List-directed integers are never cut to asterisks: the nominal width
  // only fixes the lead, and an 8-byte value must not be lost.
  if (blanks < 0 && !request.list_directed) return fill_asterisks(record, request.w);
  if (int rc = put_lead(record, sign, request.kind, blanks, request)) return rc;
  return append_text(record, digits);
}

namespace {

// F and E from digits already generated for the value, so that the general
// editor, which first rounds them to choose the form, generates them once.
int edit_fixed_from(RecordBuffer& record, const RealField& field, const EditRequest& request,
                    const GeneratedDigits& generated) {
  int d = request.d;
  DigitString digits;
  int h = round_decimal_digits(generated, d + request.k, true, digits);
  if (digits.is_special()) return edit_special(record, field, digits, request);
  if (!all_zero_bits(field.value)) h += request.k;
  int w = field.width;
  int r = w - d - 1;
  if (h < 1 && (d == 0 || h + d <= 0)) {
    // A value that shows no digit is written unsigned, over the full width
    // so that columns stay aligned when the value was negative.
    int b = field.full_width - d;
    std::string s(b > 2 ? b - 2 : 0, ' ');
    if (b >= 2) s += '0';
    s += '.';
    s.append(d, '0');
    return append_text(record, s);
  }
  if ((h < 1 && r < 0) || (h > 0 && r < h)) return fill_asterisks(record, field.full_width);
  int sign = real_sign(field.value);
  if (h > 0) {
    if (int rc = put_lead(record, sign, request.kind, r - h, request)) return rc;
    if (int rc = append_digits(record, digits, 1, h)) return rc;
    if (int rc = record.append('.')) return rc;
    return append_digits(record, digits, h + 1, h + d);
  }
  if (int rc = put_lead(record, sign, request.kind, r, request)) return rc;
  if (int rc = record.append('.')) return rc;
  if (int rc = record.append('0', -h)) return rc;
  return append_digits(record, digits, 1, d + h);
}

int edit_exponent_from(RecordBuffer& record, const RealField& field, const EditRequest& request,
                       const GeneratedDigits& generated) {
  int d = request.d;
  int k = request.kind == kKindES ? 1 : request.k;
  // With k > 0 the field shows d + 1 significant digits; rounding to them
  // keeps the last one shown correctly rounded.
  int significant = k > 0 ? d + 1 : d + k;
  if (significant <= 0 || k > d + 1) return fill_asterisks(record, field.full_width);
  DigitString digits;
  int h = round_decimal_digits(generated, significant, false, digits);
  if (digits.is_special()) return edit_special(record, field, digits, request);
  int exponent = digits.text[0] == '0' ? 0 : h - k;
  if (k > 0) {
    std::string mantissa = digit_run(digits, 1, k) + '.' + digit_run(digits, k + 1, significant);
    return put_exponent_field(record, field, request, mantissa, exponent, false);
  }
  std::string mantissa = '.' + std::string(-k, '0') + digit_run(digits, 1, significant);
  return put_exponent_field(record, field, request, mantissa, exponent, true);
}

}  // namespace

int edit_fixed(RecordBuffer& record, const RealField& field, const EditRequest& request) {
  return edit_fixed_from(record, field, request, generate_decimal_digits(field.value, field.real_size));
}

int edit_exponent(RecordBuffer& record, const RealField& field, const EditRequest& request) {
  return edit_exponent_from(record, field, request,
                            generate_decimal_digits(field.value, field.real_size));
}

int edit_engineering(RecordBuffer& record, const RealField& field, const EditRequest& request) {
  const GeneratedDigits generated = generate_decimal_digits(field.value, field.real_size);
  DigitString digits;
  int h = round_decimal_digits(generated, 19, false, digits);
  if (digits.is_special()) return edit_special(record, field, digits, request);
  bool zero = digits.text[0] == '0';
  auto lead_of = [zero](int exp10) { return zero ? 1 : ((exp10 - 1) % 3 + 3) % 3 + 1; };
  int lead = lead_of(h);
  h = round_decimal_digits(generated, lead + request.d, false, digits);
  lead = lead_of(h);
  int exponent = zero ? 0 : h - lead;
  std::string mantissa = digit_run(digits, 1, lead) + '.' + digit_run(digits, lead + 1, lead + request.d);
  return put_exponent_field(record, field, request, mantissa, exponent, false);
}

int edit_general(RecordBuffer& record, const RealField& field, const EditRequest& request) {
  int d = request.d;
  const GeneratedDigits generated = generate_decimal_digits(field.value, field.real_size);
  if (generated.digits.is_special()) return edit_special(record, field, generated.digits, request);
  int h = rounded_exponent(generated, d + request.k, true);
  if (h < 0 || h > d) return edit_exponent_from(record, field, request, generated);
  int tail = effective_exponent_digits(request.e) + 2;
  EditRequest fixed = request;
  fixed.d = d - h;
  fixed.k = 0;
  RealField narrowed = field;
  narrowed.width -= tail;
  narrowed.full_width -= tail;
  std::size_t start = record.cursor();
  if (int rc = edit_fixed_from(record, narrowed, fixed, generated)) return rc;
  if (request.list_directed) return kOk;
  bool overflowed = record.cursor() > start && record.at(start) == '*';
  return record.append(overflowed ? '*' : ' ', static_cast<std::size_t>(tail));
}

int edit_logical(RecordBuffer& record, bool value, const EditRequest& request) {
  if (request.w > 1)
    if (int rc = record.append(' ', static_cast<std::size_t>(request.w - 1))) return rc;
  return record.append(value ? 'T' : 'F');
}

int edit_character(RecordBuffer& record, const char* text, int length, const EditRequest& request) {
  int w = request.w;
  if (w == 0 || w == length) return record.append(text, static_cast<std::size_t>(length));
  if (w < length) return record.append(text, static_cast<std::size_t>(w));
  if (int rc = record.append(' ', static_cast<std::size_t>(w - length))) return rc;
  return record.append(text, static_cast<std::size_t>(length));
}

int edit_item(RecordBuffer& record, const void* address, int state, int byte_length,
              const EditRequest& request) {
  ItemClass item_class = class_of(state);
  switch (request.kind) {
    case kKindI:
    case kKindB:
    case kKindO:
    case kKindZ:
      if (item_class != ItemClass::kInteger && item_class != ItemClass::kLogical) return kTypeOrSizeMismatch;
      return edit_as_integer(record, address, byte_length, request);
    case kKindA:
      return edit_character_bytes(record, address, byte_length, request);
    case kKindL:
      if (item_class != ItemClass::kLogical && item_class != ItemClass::kInteger) return kTypeOrSizeMismatch;
      return edit_logical(record, any_bit_set(address, byte_length), request);
    case kKindG:
      return edit_under_general(record, address, item_class, byte_length, request);
    case kKindES:
    case kKindEN:
      if (item_class != ItemClass::kReal) return kTypeOrSizeMismatch;
      break;
    default:
      break;
  }
  double value;
  if (!load_real(address, byte_length, value)) return kTypeOrSizeMismatch;
  return edit_real_item(record, value, byte_length, request);
}

EditRequest list_directed_request(int state, int byte_length) {
  EditRequest request;
  request.list_directed = true;
  switch (class_of(state)) {
    case ItemClass::kCharacter:
      request.kind = kKindA;
      request.w = byte_length;
      break;
    case ItemClass::kLogical:
      request.kind = kKindL;
      request.w = 2;
      break;
    case ItemClass::kInteger:
      request.kind = kKindI;
      request.w = 12;
      request.d = 1;
      break;
    case ItemClass::kReal:
      request.kind = kKindG;
      request.k = 1;
      if (byte_length == 4) { request.w = 15; request.d = 6; request.e = 2; }
      else if (byte_length == 8) { request.w = 24; request.d = 15; request.e = 3; }
      else { request.w = 28; request.d = 17; request.e = 4; }
      break;
  }
  return request;
}

}  // namespace rio
