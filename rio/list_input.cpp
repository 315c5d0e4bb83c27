#include "rio/list_input.h"

#include "rio/input_conversion.h"
#include "rio/status.h"

namespace rio {
namespace {

// Each character counts as a decimal digit, whatever it is; the count stops
// growing at the largest repeat count (and at its negative, below which a
// count serves one item like any count below 2).
int repeat_count_of(const std::string& digits) {
  long long r = 0;
  for (char digit : digits) {
    r = r * 10 + (digit - '0');
    if (r > kLargestRepeatCount) r = kLargestRepeatCount;
    if (r < -kLargestRepeatCount) r = -kLargestRepeatCount;
  }
  return static_cast<int>(r);
}

// The scanner's view of the statement's input: the current record and the
// way to the next.
class Scanner {
 public:
  Scanner(ListInputState& state, RecordBuffer& record, RecordPort& port)
      : state_(state), record_(record), port_(port) {}

  int take_value(bool character_item, bool complex_item);

 private:
  bool at_end() const { return record_.at_end(); }
  char peek() const { return record_.at(record_.read_pos); }
  void skip() { ++record_.read_pos; }
  void skip_blanks_in_record() {
    while (!at_end() && peek() == ' ') skip();
  }
  // Skips blanks over record ends up to the next character.
  int next_non_blank() {
    for (;;) {
      skip_blanks_in_record();
      if (!at_end()) return kOk;
      if (int rc = port_.next_input_record()) return rc;
    }
  }
  void set_null() { state_.value_is_null = true; }
  // Blanks up to the record end count as the record end: a comma at the
  // start of the next record is then this value's separator.
  void after_blank_separator() {
    skip_blanks_in_record();
    if (at_end()) state_.ended_at_record_end = true;
    else if (peek() == ',') skip();
  }
  // Ends a value at the character that follows it. A value ended by a
  // separator clears the record-end mark of an earlier value, or a later
  // null value ",," would be taken for that value's separator and lost.
  void end_value_at_separator() {
    state_.ended_at_record_end = false;
    if (at_end()) {
      state_.ended_at_record_end = true;
    } else if (peek() == ',') {
      skip();
    } else if (peek() == ' ') {
      after_blank_separator();
    }
  }
  int first_character();
  int take_quoted(char quote);
  int take_unquoted(bool complex_item, bool& repeat_met);
  int take_imaginary();

  ListInputState& state_;
  RecordBuffer& record_;
  RecordPort& port_;
};

// Steps 1 to 4: the first character of a value, or a null value. Returns
// kOk with the scanner on a value character unless the value is null.
int Scanner::first_character() {
  if (int rc = next_non_blank()) return rc;
  if (peek() == '/') {
    state_.slash_seen = true;
    set_null();
    return kOk;
  }
  if (peek() == ',' && state_.ended_at_record_end) {
    // The previous value's separator, found at the start of this record.
    state_.ended_at_record_end = false;
    skip();
    if (int rc = next_non_blank()) return rc;
    if (peek() == '/') {
      state_.slash_seen = true;
      set_null();
      return kOk;
    }
  }
  if (peek() == ',') {
    skip();
    set_null();
  }
  return kOk;
}

int Scanner::take_quoted(char quote) {
  skip();
  std::string& token = state_.token;
  for (;;) {
    if (at_end()) {
      if (int rc = port_.next_input_record()) return rc;
      continue;
    }
    char c = peek();
    skip();
    if (token.size() >= kLongestRecord) return kBufferAllocationFailed;
    if (c != quote) {
      token += c;
      continue;
    }
    if (!at_end() && peek() == quote) {
      token += quote;
      skip();
      continue;
    }
    break;
  }
  if (token.empty()) token.push_back(' ');
  end_value_at_separator();
  return kOk;
}

int Scanner::take_unquoted(bool complex_item, bool& repeat_met) {
  repeat_met = false;
  if (complex_item && peek() == '(') {
    skip();
    if (int rc = next_non_blank()) return rc;
  }
  std::string& token = state_.token;
  while (!at_end()) {
    char c = peek();
    if (c == ' ' || c == ',' || c == '/') break;
    skip();
    if (c == '*') {
      state_.repeat_count = repeat_count_of(token);
      token.clear();
      repeat_met = true;
      return kOk;
    }
    if (token.size() >= kLongestRecord) return kBufferAllocationFailed;
    token += c;
  }
  end_value_at_separator();
  return complex_item ? take_imaginary() : kOk;
}

// The imaginary part runs to ")", blanks ignored, over records as needed.
int Scanner::take_imaginary() {
  std::string& token = state_.imaginary_token;
  for (;;) {
    if (int rc = next_non_blank()) return rc;
    char c = peek();
    skip();
    if (c == ')') break;
    if (token.size() >= kLongestRecord) return kBufferAllocationFailed;
    token += c;
  }
  state_.ended_at_record_end = false;
  after_blank_separator();
  return kOk;
}

int Scanner::take_value(bool character_item, bool complex_item) {
  state_.repeat_count = 0;
  for (;;) {
    state_.value_is_null = false;
    state_.token.clear();
    state_.imaginary_token.clear();
    if (int rc = first_character()) return rc;
    if (state_.value_is_null) return kOk;
    char c = peek();
    if (character_item && (c == '\'' || c == '"')) return take_quoted(c);
    bool repeat_met;
    if (int rc = take_unquoted(complex_item, repeat_met)) return rc;
    if (!repeat_met) return kOk;
  }
}

int store_value(const ListInputState& state, const Element& element) {
  switch (element.state) {
    case kStateCharacter:
      convert_character(state.token, element.address, element.element_size);
      return kOk;
    case kStateLogical1:
    case kStateLogical2:
    case kStateLogical:
      convert_logical(state.token, element.address, element.element_size);
      return kOk;
    case kStateInteger1:
    case kStateInteger2:
    case kStateInteger:
      return convert_integer(state.token, 10, element.address, element.element_size);
    default:
      break;
  }
  if (element.element_count != 2) return convert_real(state.token, element.address, element.element_size);
  if (int rc = convert_real(state.token, element.address, element.element_size)) return rc;
  char* imaginary = static_cast<char*>(element.address) + element.element_size;
  return convert_real(state.imaginary_token, imaginary, element.element_size);
}

}  // namespace

int list_read_element(ListInputState& state, RecordBuffer& record, RecordPort& port, const UnitTraits&,
                      const Element& element) {
  if (state.slash_seen) return kOk;
  if (state.repeat_count > 1) {
    --state.repeat_count;
  } else {
    Scanner scanner(state, record, port);
    if (int rc = scanner.take_value(element.state == kStateCharacter, element.element_count == 2)) return rc;
  }
  return state.value_is_null ? kOk : store_value(state, element);
}

}  // namespace rio
