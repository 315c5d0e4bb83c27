#pragma once
// Array allocation statements: zero-filled storage from the process heap,
// recorded in the arrays' descriptors.
#include <cstddef>

#include "rio/rio.h"

namespace rio {

// Bytes one element of the array occupies (the length for CHARACTER).
std::size_t element_bytes(const ArrayDescriptor& array);
// Element size times the product of the extents; false when it overflows.
bool array_byte_size(const ArrayDescriptor& array, std::size_t* size);

}  // namespace rio
