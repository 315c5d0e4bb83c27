#pragma once
// The five dissimilarities of two partitions of the same objects.
#include <array>

#include "compare/fortran_array.h"
#include "compare/partition.h"
#include "model/tables.h"

namespace compare {

// One partition as the measures read it: a label 1..C per object.
struct LabelledPartition {
  IntVector labels;
  int cluster_count = 0;
};

// Working storage reused for every level pair: the contingency table (N, N)
// and its row and column sums (N each).
struct ContingencyWork {
  IntMatrix table;
  RealVector row_sums;
  RealVector column_sums;
};

// The five values and the quantities they are formed from, kept so that a
// run can be checked step by step.
struct AgreementMeasures {
  std::array<float, kMeasureCount> values{};
  PairCounts pairs;
  int pair_count = 0;      // NP
  int disagreements = 0;   // D = b + c
  int joined_either = 0;   // U = a + b + c
  int joined_sum = 0;      // W = 2a + b + c
  float a_real = 0.0f;     // A = N - 1
  float f_real = 0.0f;     // F = N (N^2 + 1)
  float s1 = 0.0f;
  float s2 = 0.0f;
  float s12 = 0.0f;
  double expected = 0.0;   // E, unrounded
};

AgreementMeasures agreement_measures(int object_count, int pair_count, const PairCounts& pairs,
                                     const LabelledPartition& partition1,
                                     const LabelledPartition& partition2,
                                     const ContingencyWork& work);

}  // namespace compare
