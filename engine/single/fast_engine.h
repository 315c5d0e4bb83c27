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
#include <cstdint>
#include <functional>
#include <vector>

#include "model/tables.h"

namespace compare {

// What a front end may ask of a run besides the tables: the pair counts a,
// a + b and a + c, and a view of the progress with the power to stop it.
struct FastRunExtras {
  std::vector<std::uint32_t>* joined_both = nullptr;  // a(k, l), row by row
  std::vector<std::int64_t>* joined1 = nullptr;       // a + b per level k
  std::vector<std::int64_t>* joined2 = nullptr;       // a + c per level l
  // Called on the calling thread about every 50 ms and at the end; false
  // stops the run, which then returns with stopped set and the tables
  // incomplete.
  std::function<bool(int done_columns, int total_columns)> progress;
  bool stopped = false;
};

// threads = 0 uses the hardware's concurrency. The result does not depend on
// the number of threads.
ComparisonTables compare_fast(const DendrogramFile& file1, const DendrogramFile& file2, int threads = 0);
ComparisonTables compare_fast(const DendrogramFile& file1, const DendrogramFile& file2, int threads,
                              FastRunExtras& extras);

}  // namespace compare
