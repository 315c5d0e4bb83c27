#pragma once
// The fast comparison engine: the same measure values, cluster counts and
// minimum records, bit for bit, as the literal level-pair loop, at a small
// fraction of its cost.
//
// It assumes valid dendrograms, which the program checks before comparing:
// N = file1.object_count is at least 2 and at most 46340; each file holds at
// least N - 1 merge records, of which the first N - 1 are used; applied in
// ascending order of height (equal heights in file order) they join all N
// objects, each record naming two distinct current clusters by their
// smallest objects; no height is NaN.
#include "compare/tables.h"

namespace compare {

// threads = 0 uses the hardware's concurrency. The result does not depend on
// the number of threads.
ComparisonTables compare_fast(const DendrogramFile& file1, const DendrogramFile& file2, int threads = 0);

}  // namespace compare
