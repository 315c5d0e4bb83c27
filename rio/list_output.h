#pragma once
// List-directed output: the record layout of a WRITE without a format.
#include "rio/element.h"
#include "rio/record_buffer.h"

namespace rio {

// Per-statement state of list-directed output. The statement start has put
// the record's leading blank and counts as if a character item had just been
// written.
struct ListOutputState {
  bool previous_was_character = true;
  void reset() { previous_was_character = true; }
};

// Edits one element into the record, with its separator; ends the record
// through port and starts a new one when the element would pass the unit's
// record length. Returns 0 or an error number.
int list_write_element(ListOutputState& state, RecordBuffer& record, RecordPort& port,
                       const UnitTraits& unit, const Element& element);

}  // namespace rio
