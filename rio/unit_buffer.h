#pragma once
// The unit buffer's traffic with the unit's stream (the console hooks or the
// file handle), shared by the formatted, direct-access and unformatted record
// forms.
#include <cstddef>

#include "rio/record_buffer.h"
#include "rio/units.h"

namespace rio {

// Leaves the buffer empty and ready for output at the logical position.
int enter_output_mode(UnitRecord& u);
// Appends bytes to the buffer, writing it out each time it fills.
int put_bytes(UnitRecord& u, const char* bytes, std::size_t n);
// Reads the next block into the buffer (writing unwritten data first).
// Returns 0 or an error; *delivered receives the byte count, 0 at end of
// file.
int refill(UnitRecord& u, std::size_t* delivered);
// Adds n copies of c to an input record, which is kept only up to the
// longest record: past it the buffer is not grown and the READ fails with
// error 10004, as when memory runs out.
int store_input(RecordBuffer& record, char c, std::size_t n);

}  // namespace rio
