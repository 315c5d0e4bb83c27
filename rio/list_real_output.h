#pragma once
// List-directed output of a 4-byte real, the item a results file holds by
// the million: the general editor's G15.6E2 with scale factor 1 and the
// list-directed lead, laid out in one pass and appended at once.
#include "rio/record_buffer.h"

namespace rio {

// Appends the field of value exactly as edit_item does under
// list_directed_request(kStateReal4, 4). Returns 0 or an error number.
int edit_list_real4(RecordBuffer& record, float value);

}  // namespace rio
