#pragma once
// Checking a dendrogram file as read, before it is decoded, so that a file
// the comparison cannot use is refused with a message instead of giving
// meaningless tables.
#include <optional>
#include <string>

#include "model/tables.h"

namespace compare {

// The single-precision tables form a pair index as the square of an object
// number in 32 bits; exact pair counts have no such index.
inline constexpr int kLargestObjectCount = 46340;
inline constexpr int kLargestExactObjectCount = 2147483646;

// record: 1-based position of the offending merge record in the file (1 is
// the first merge record after the object count); 0 when the object count
// itself is at fault.
struct ValidationProblem {
  int record = 0;
  std::string message;
};

// Checks the object count N and the first N-1 merge records, walking the
// merges in the order decoding applies them (ascending height, file order
// among equal heights). Returns the first problem found, if any.
// Object counts above largest_object_count are refused.
std::optional<ValidationProblem> validate_dendrogram(const DendrogramFile& file,
                                                     int largest_object_count = kLargestObjectCount);

}  // namespace compare
