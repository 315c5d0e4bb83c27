#pragma once
// The program body: one comparison of two dendrogram files named at the
// console, from the prompts to the minimum report.
#include <array>
#include <functional>
#include <vector>

#include "model/tables.h"

namespace compare {

// Watches the level-pair computation of the body: called on the body's own
// thread with the column levels done and their total, about every 50 ms and
// once at the end. Returning false stops the run there: nothing more is
// written (no MATRICES.DAT, no report) and the program ends through
// io_finish. An empty observer (the default) watches nothing.
using ComputationObserver = std::function<bool(int done_columns, int total_columns)>;
void set_computation_observer(ComputationObserver observer);

// What a finished run hands over: the comparison's tables, the heights of
// the compared levels, and the two checked dendrograms they came from (for
// a front end that has other measures computed from them).
struct RunResults {
  const ComparisonTables& tables;
  const std::vector<float>& heights1;
  const std::vector<float>& heights2;
  const DendrogramFile& first;
  const DendrogramFile& second;
};

// Receives the results once MATRICES.DAT and the minimum report are
// written, on the body's own thread, just before the program ends; for
// front ends that show them.
using ResultsObserver = std::function<void(const RunResults& results)>;
void set_results_observer(ResultsObserver observer);

// The console records of a finished comparison exactly as the dialogue
// writes them, for a front end that ran the comparison itself: the
// "NO OF LEVELS =" record, and the minimum report.
// With iostat, a failed write stores its status there and ends the
// record's or report's writing instead of ending the program.
void write_levels_record(int levels1, int levels2, int* iostat = nullptr);
// The closing line points to MATRICES.DAT unless a run wrote none.
void write_minimum_report(const std::array<MinimumRecord, kMeasureCount>& minima, bool results_file_written = true,
                          int* iostat = nullptr);

// Asks for the two file names, reads and checks both dendrograms, compares
// every level pair, writes MATRICES.DAT and the minimum report, and ends the
// program through the runtime. Does not return.
[[noreturn]] void compare_dendrograms();

}  // namespace compare
