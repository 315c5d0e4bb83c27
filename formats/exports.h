#pragma once
// The tables in forms other programs load: one row per level pair as TSV or
// CSV, NumPy arrays, and a JSON summary.
#include <functional>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/tanglegram.h"
#include "outputs/run_outputs.h"

namespace cli {

// What the exports hold unless told otherwise: the five tables and
// Fowlkes-Mallows.
std::vector<compare::MeasureId> default_export_measures();

// k, l (the level numbers), clusters1, clusters2, height1, height2 and the
// measures, in the order given. Reals as the shortest decimal that reads
// back to the same value: the stored 4-byte values of a single-precision
// comparison (which must keep its pair counts; Fowlkes-Mallows rounded to
// 4 bytes too), the doubles of an exact one; variation of information and
// NMI need an exact comparison with information. separator is '\t' or ','.
void write_level_pairs(const compare::Comparison& result, const outputs::Sink& sink, char separator,
                       const std::vector<compare::MeasureId>& measures = default_export_measures());

// One .npy file per measure, named by it (rows by columns: float32 from the
// single-precision tables, float64 from exact counts and for
// Fowlkes-Mallows), clusters1/2.npy (int32) and heights1/2.npy (float32).
// The files are those of npy_file_names(measures); each is written to
// sink_for(its file name).
std::vector<std::string> npy_file_names(const std::vector<compare::MeasureId>& measures);
void write_npy_directory(const compare::Comparison& result,
                         const std::function<const outputs::Sink&(const std::string&)>& sink_for,
                         const std::vector<compare::MeasureId>& measures = default_export_measures());

// The Fowlkes-Mallows curve as a table: k, bk, expected, variance, lower,
// upper (the band at sd standard deviations about the expectation).
void write_bk_table(const compare::Comparison& result, const outputs::Sink& sink, char separator, double sd);

// The threads that format and compute the exports: at most this many (0:
// the hardware's concurrency), as the command line's -j says.
void set_export_threads(int threads);
int export_threads();

struct InputSummary {
  std::string path;
  std::string format;
};

// With correlations, also the cophenetic correlations and Baker's gamma
// over all object pairs; with a tanglegram, its entanglement as the inputs
// draw the trees and once untangled.
void write_json_summary(const compare::Comparison& result, const std::vector<InputSummary>& inputs,
                        const outputs::Sink& sink, bool correlations = false,
                        const compare::Tanglegram* tanglegram = nullptr);

}  // namespace cli
