#pragma once
// MATRICES.DAT: the header of column cluster counts, then per measure its
// heading and one row per compared level of dendrogram 1. The file is
// written under a temporary name in the same directory and renamed over
// its final name only once complete and flushed, so an old file survives a
// failed run whole.
#include <string>

#include "model/tables.h"
#include "outputs/run_outputs.h"

namespace compare {

inline constexpr const char* kMeasureHeadings[kMeasureCount] = {
    " 1 - jaccard", " 1 - simple match = 1 - RAND", " Euclidean", " 1 - Sorensen", " 1 - ADJUSTED RAND"};

// Writes the results to the sink on unit 1 through the runtime. Without a
// status target a failure ends the run with the runtime's report (the
// run's temporaries are removed as the process ends); with one, the
// runtime's error number comes back.
int write_results_to(const ComparisonTables& tables, const outputs::Sink& sink, int* iostat = nullptr);

// MATRICES.DAT at path, put in place once complete; a failure to write ends
// the run with the runtime's report, and -1 (errno telling why) comes back
// when the complete file could not be put in place.
int write_results_file(const ComparisonTables& tables, const std::string& path);

}  // namespace compare
