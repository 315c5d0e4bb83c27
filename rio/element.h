#pragma once
// One element of an I/O item as the statement protocol hands it to the
// editing, scanning and format layers, and the unit properties those layers
// consult. The statement layer owns the records; the layers below reach them
// only through RecordPort.
#include <cstddef>

namespace rio {

// Item states, from the type code of an item descriptor.
enum ItemState : int {
  kStateCharacter = 1,
  kStateLogical1 = 2,
  kStateLogical2 = 3,
  kStateLogical = 4,
  kStateInteger1 = 5,
  kStateInteger2 = 6,
  kStateInteger = 7,
  kStateReal4 = 9,
  kStateReal = 10,
  kStateReal12 = 11,
  kStateComplex8 = 12,
  kStateComplex = 13,
};

// The element being transferred. For COMPLEX, element_size is the size of one
// part and element_count is 2; otherwise element_count is 1. For CHARACTER,
// element_size is the length in characters.
struct Element {
  void* address = nullptr;
  int state = 0;
  int element_size = 0;
  int element_count = 1;
};

// What the editing and scanning layers need to know of the current unit.
struct UnitTraits {
  long record_length = 2147483647;  // maximum record length
  char delimiter = 0;               // '\'', '"' or 0 for none
  bool pad = true;                  // PAD=YES
  bool blank_zero = false;          // BLANK=ZERO
};

// The statement layer's side of record handling, called by the format and
// list-directed layers when a record must end or a new one is needed.
class RecordPort {
 public:
  virtual ~RecordPort() = default;
  // Output: writes the record buffer as one record (with its line end unless
  // the statement suppressed it) and leaves the buffer empty for the next.
  virtual int end_output_record() = 0;
  // Input: reads the next record of the unit into the record buffer (read
  // position 0). Returns 0, kEndOfFile, or an error number.
  virtual int next_input_record() = 0;
};

}  // namespace rio
