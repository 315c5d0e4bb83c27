#pragma once
// The tables in forms other programs load: one row per level pair as TSV or
// CSV, NumPy arrays, and a JSON summary.
#include <functional>
#include <string>
#include <vector>

#include "engine/engine.h"

namespace cli {

// Names of the five measures in exports, in their table order.
inline constexpr const char* kMeasureNames[compare::kMeasureCount] = {"jaccard", "rand", "euclidean", "sorensen",
                                                                      "adjusted_rand"};

inline constexpr const char* kExactMeasureNames[compare::kExactMeasureCount] = {
    "jaccard", "rand", "euclidean", "sorensen", "adjusted_rand", "fowlkes_mallows"};

// k, l (the level numbers), clusters1, clusters2, height1, height2, the
// five measures and Fowlkes-Mallows. Reals as the shortest decimal that
// reads back to the same value: the stored 4-byte values of a
// single-precision comparison (which must keep its pair counts), the
// doubles of an exact one. separator is '\t' or ','. "-" writes to
// standard output.
void write_level_pairs(const compare::Comparison& result, const std::string& path, char separator);

// One .npy file per measure (rows by columns: float32 from the
// single-precision tables, float64 from exact counts), fowlkes_mallows.npy
// (float64), clusters1/2.npy (int32) and heights1/2.npy (float32). Each
// file is written to where_to(its final path).
void write_npy_directory(const compare::Comparison& result, const std::string& directory,
                         const std::function<std::string(const std::string&)>& where_to);

struct InputSummary {
  std::string path;
  std::string format;
};

void write_json_summary(const compare::Comparison& result, const std::vector<InputSummary>& inputs,
                        const std::string& path);

}  // namespace cli
