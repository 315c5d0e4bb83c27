#pragma once
// List-directed input: cutting records into values and converting them.
#include <string>

#include "rio/element.h"
#include "rio/record_buffer.h"

namespace rio {

// The largest repeat count r of a value r*c. A count written larger serves
// as this one: no statement has more items than that, so the value still
// serves every item that is left.
inline constexpr int kLargestRepeatCount = 2147483647;

// Per-statement state of list-directed input.
struct ListInputState {
  int repeat_count = 0;           // further elements that reuse the value
  bool ended_at_record_end = false;
  bool value_is_null = false;     // the current value is null
  bool slash_seen = false;        // a slash ended the statement's input
  std::string token;              // the current value's characters
  std::string imaginary_token;    // COMPLEX: the imaginary part
  void reset() {
    repeat_count = 0;
    ended_at_record_end = false;
    value_is_null = false;
    slash_seen = false;
    token.clear();
    imaginary_token.clear();
  }
};

// Takes the next value (or reuses a repeated one) and stores it into the
// element; reads further records through port as needed. Returns 0,
// kEndOfFile, or an error number.
int list_read_element(ListInputState& state, RecordBuffer& record, RecordPort& port,
                      const UnitTraits& unit, const Element& element);

}  // namespace rio
