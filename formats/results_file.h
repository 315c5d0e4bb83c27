#pragma once
// MATRICES.DAT: the header of column cluster counts, then per measure its
// heading and one row per compared level of dendrogram 1. The file is
// written under a temporary name in the same directory and renamed over
// its final name only once complete and flushed, so an old file survives a
// failed run whole.
#include <string>

#include "model/tables.h"

namespace compare {

inline constexpr const char* kMeasureHeadings[kMeasureCount] = {
    " 1 - jaccard", " 1 - simple match = 1 - RAND", " Euclidean", " 1 - Sorensen", " 1 - ADJUSTED RAND"};

// Writes the results to path on unit 1. Without a status target a failure
// ends the run with the runtime's report (the temporary file is removed
// when the process ends); with one, the temporary file is removed and the
// runtime's error number returned, or -1 when the file could not be made
// or renamed (errno then tells why).
int write_results_file(const ComparisonTables& tables, const std::string& path, int* iostat = nullptr);

}  // namespace compare
