// Compiles format text into the runtime's byte form: one entry per
// descriptor, counts and two-byte values high byte first.
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "rio/format.h"
#include "rio/format_interpret.h"
#include "rio/status.h"

namespace rio {
namespace {

// The compiled form holds w, d, m and e in one signed byte, and A and L
// widths, position counts, literal lengths and the scale factor in two
// bytes; a value that does not fit is refused rather than cut.
constexpr long kLargestByteValue = 127;
constexpr long kLargestTwoByteValue = 65535;
constexpr long kLargestScaleFactor = 32767;

bool fits_byte(long v) { return v >= 0 && v <= kLargestByteValue; }

class FormatCompiler {
 public:
  FormatCompiler(const char* text, std::size_t length, std::vector<std::uint8_t>& out)
      : text_(text), length_(length), out_(out) {}
  int run();

 private:
  bool at_end() { return pos_ >= length_; }
  void skip_blanks() {
    while (!at_end() && text_[pos_] == ' ') ++pos_;
  }
  char peek_upper() {
    skip_blanks();
    return at_end() ? '\0' : static_cast<char>(std::toupper(static_cast<unsigned char>(text_[pos_])));
  }
  // A run of digits with blanks ignored, optionally signed.
  bool number(long& value, bool allow_sign = false);
  void put1(int v) { out_.push_back(static_cast<std::uint8_t>(v)); }
  void put2(long v) {
    put1(static_cast<int>((v >> 8) & 0xFF));
    put1(static_cast<int>(v & 0xFF));
  }
  int descriptor(bool has_count, long count);
  int literal(bool has_count);
  int hollerith(bool has_count, long count);
  int integer_descriptor(int kind, long count);
  int real_descriptor(int kind, long count, bool exponent_allowed);
  int width_descriptor(int kind, long count, long minimum);
  int position_descriptor(int kind, bool has_count);
  int alone(int kind, bool has_count) {
    if (has_count) return kNonRepeatableDescriptor;
    put1(kind);
    return kOk;
  }

  const char* text_;
  std::size_t length_;
  std::vector<std::uint8_t>& out_;
  std::size_t pos_ = 0;
  int depth_ = 1;
  bool done_ = false;
};

bool FormatCompiler::number(long& value, bool allow_sign) {
  skip_blanks();
  bool negative = false;
  if (allow_sign && !at_end() && (text_[pos_] == '+' || text_[pos_] == '-')) {
    negative = text_[pos_] == '-';
    ++pos_;
    skip_blanks();
  }
  if (at_end() || !std::isdigit(static_cast<unsigned char>(text_[pos_]))) return false;
  value = 0;
  while (!at_end() && (std::isdigit(static_cast<unsigned char>(text_[pos_])) || text_[pos_] == ' ')) {
    if (text_[pos_] != ' ' && value < 1000000) value = value * 10 + (text_[pos_] - '0');
    ++pos_;
  }
  if (negative) value = -value;
  return true;
}

int FormatCompiler::literal(bool has_count) {
  if (has_count) return kNonRepeatableDescriptor;
  char quote = text_[pos_++];
  std::string s;
  for (;;) {
    if (at_end()) return kFormatUnmatchedQuotes;
    char c = text_[pos_++];
    if (c == quote) {
      if (at_end() || text_[pos_] != quote) break;
      ++pos_;
    }
    s += c;
  }
  if (s.size() > 0xFFFF) return kErrorInFormatString;
  put1(kKindLiteral);
  put2(static_cast<long>(s.size()));
  out_.insert(out_.end(), s.begin(), s.end());
  return kOk;
}

int FormatCompiler::hollerith(bool has_count, long count) {
  if (!has_count || count < 1) return kErrorInFormatString;
  ++pos_;
  if (length_ - pos_ < static_cast<std::size_t>(count)) return kHollerithCountExceeds;
  put1(kKindLiteral);
  put2(count);
  out_.insert(out_.end(), text_ + pos_, text_ + pos_ + count);
  pos_ += static_cast<std::size_t>(count);
  return kOk;
}

int FormatCompiler::integer_descriptor(int kind, long count) {
  long w = 0, m = 1;
  if (number(w) && (w < 1 || !fits_byte(w))) return kErrorInFormatString;
  if (peek_upper() == '.') {
    ++pos_;
    if (!number(m) || !fits_byte(m)) return kErrorInFormatString;
  }
  put1(kind);
  put2(count);
  put1(static_cast<int>(w));
  put1(static_cast<int>(m));
  return kOk;
}

int FormatCompiler::real_descriptor(int kind, long count, bool exponent_allowed) {
  long w = 0, d = 0, e = 2;
  if (number(w)) {
    if (peek_upper() != '.') return kErrorInFormatString;
    ++pos_;
    if (!number(d)) return kErrorInFormatString;
  }
  if (exponent_allowed && peek_upper() == 'E') {
    ++pos_;
    if (!number(e)) return kErrorInFormatString;
  }
  if (!fits_byte(w) || !fits_byte(d) || !fits_byte(e)) return kErrorInFormatString;
  put1(kind);
  put2(count);
  put1(static_cast<int>(w));
  put1(static_cast<int>(d));
  if (kind != kKindF) put1(static_cast<int>(e));
  return kOk;
}

int FormatCompiler::width_descriptor(int kind, long count, long minimum) {
  long w = 0;
  if (number(w) && (w < minimum || w > kLargestTwoByteValue)) return kErrorInFormatString;
  put1(kind);
  put2(count);
  put2(w);
  return kOk;
}

int FormatCompiler::position_descriptor(int kind, bool has_count) {
  if (has_count) return kNonRepeatableDescriptor;
  long n = 0;
  if (!number(n) || n > kLargestTwoByteValue) return kErrorInFormatString;
  put1(kind);
  put2(n);
  return kOk;
}

int FormatCompiler::descriptor(bool has_count, long count) {
  char c = peek_upper();
  if (c == '\'' || c == '"') return literal(has_count);
  if (c == 'H') return hollerith(has_count, count);
  ++pos_;
  switch (c) {
    case '(':
      put1(kFormatGroupOpen);
      put2(count);
      ++depth_;
      return kOk;
    case ')':
      if (has_count) return kIllegalRepeatCount;
      if (--depth_ == 0) {
        done_ = true;
        return kOk;
      }
      put1(kFormatGroupClose);
      return kOk;
    case 'I': return integer_descriptor(kKindI, count);
    case 'O': return integer_descriptor(kKindO, count);
    case 'Z': return integer_descriptor(kKindZ, count);
    case 'B': {
      char next = peek_upper();
      if (next == 'N' || next == 'Z') {
        ++pos_;
        if (has_count) return kIllegalRepeatCount;
        put1(next == 'N' ? kKindBN : kKindBZ);
        return kOk;
      }
      return integer_descriptor(kKindB, count);
    }
    case 'F': return real_descriptor(kKindF, count, false);
    case 'D': return real_descriptor(kKindD, count, true);
    case 'G': return real_descriptor(kKindG, count, true);
    case 'E': {
      char next = peek_upper();
      if (next == 'S' || next == 'N') ++pos_;
      return real_descriptor(next == 'S' ? kKindES : next == 'N' ? kKindEN : kKindE, count, true);
    }
    case 'L': return width_descriptor(kKindL, count, 1);
    case 'A': return width_descriptor(kKindA, count, 0);
    case 'X':
      put1(kKindX);
      put2(count);
      return kOk;
    case 'T': {
      char next = peek_upper();
      if (next == 'L' || next == 'R') ++pos_;
      return position_descriptor(next == 'L' ? kKindTL : next == 'R' ? kKindTR : kKindT, has_count);
    }
    case '/':
      put1(kKindSlash);
      put2(count);
      return kOk;
    case ':': return alone(kKindColon, has_count);
    case '$':
    case '\\': return alone(kKindDollar, has_count);
    case 'Q': return alone(kKindQ, has_count);
    case 'S': {
      char next = peek_upper();
      if (next == 'P' || next == 'S') {
        ++pos_;
        return alone(next == 'P' ? kKindSP : kKindSS, has_count);
      }
      if (next != ',') return kErrorInFormatString;
      return alone(kKindSS, has_count);
    }
    default:
      return kErrorInFormatString;
  }
}

int FormatCompiler::run() {
  out_.clear();
  out_.reserve(length_ * 3 < 256 ? 256 : length_ * 3);
  skip_blanks();
  if (at_end() || text_[pos_] != '(') return kFormatMissingOpeningParen;
  ++pos_;
  while (!done_) {
    skip_blanks();
    if (at_end()) return kFormatUnmatchedParens;
    long count = 1;
    bool has_count = number(count, true);
    if (!has_count) count = 1;
    if (peek_upper() == 'P') {
      ++pos_;
      if (count < -kLargestScaleFactor || count > kLargestScaleFactor) return kErrorInFormatString;
      put1(kKindP);
      put2(has_count ? count : 1);
    } else {
      if (has_count && (count < 1 || count > 32767)) return kIllegalRepeatCount;
      if (at_end()) return kFormatUnmatchedParens;
      if (int rc = descriptor(has_count, count)) return rc;
    }
    if (peek_upper() == ',') ++pos_;
  }
  put1(kFormatEnd);
  return kOk;
}

}  // namespace

int compile_format(const char* text, std::size_t length, std::vector<std::uint8_t>& compiled) {
  try {
    return FormatCompiler(text, length, compiled).run();
  } catch (const std::bad_alloc&) {
    return kBufferAllocationFailed;
  }
}

}  // namespace rio
