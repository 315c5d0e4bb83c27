#include "engine/reference/reference.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "compare/dendrogram.h"
#include "compare/level_pairs.h"

namespace compare {

namespace {

std::size_t clamped(long long extent) { return extent < 0 ? 0 : static_cast<std::size_t>(extent); }

// One dendrogram's merge table, heights and pair levels, decoded.
struct DecodedDendrogram {
  std::vector<int> merge_table;
  std::vector<float> merge_heights;
  std::vector<int> pair_levels;
  int level_count = 0;
};

struct DecodeScratch {
  std::vector<int> label_work;
  std::vector<int> membership;
};

DecodedDendrogram decode_copy(const DendrogramFile& file, int object_count, DecodeScratch& scratch) {
  const int merge_count = object_count - 1;
  const int pack_length = packed_table_length(object_count);
  DecodedDendrogram d;
  d.merge_table.resize(clamped(merge_count) * 4);
  d.merge_heights.resize(clamped(merge_count));
  d.pair_levels.resize(clamped(pack_length));
  IntMatrix table(d.merge_table.data(), merge_count, 4);
  RealVector heights(d.merge_heights.data(), merge_count);
  for (int i = 1; i <= merge_count; ++i) {
    const MergeRecord& record = file.merges[i - 1];
    table(i, 1) = record.first;
    table(i, 2) = record.second;
    table(i, 3) = record.companion1;
    table(i, 4) = record.companion2;
    heights(i) = record.height;
  }
  decode_dendrogram(table, heights, merge_count, pack_length, d.level_count,
                    IntVector(d.pair_levels.data(), pack_length),
                    IntVector(scratch.label_work.data(), object_count),
                    IntMatrix(scratch.membership.data(), object_count, object_count), object_count);
  return d;
}

void require_merges(const DendrogramFile& file, int object_count, const char* which) {
  const long long needed = object_count - 1LL;
  if (needed > 0 && static_cast<long long>(file.merges.size()) < needed)
    throw std::invalid_argument(std::string(which) + " holds fewer than " +
                                std::to_string(needed) + " merge records");
}

// The arrays of the level-pair loop, owned here in the shapes the loop reads.
struct LoopArrays {
  explicit LoopArrays(int n)
      : triangle1(clamped(packed_table_length(n))),
        triangle2(triangle1.size()),
        labels1(clamped(n)),
        labels2(clamped(n)),
        measure_table(5 * clamped(n) * clamped(n)),
        contingency(clamped(n) * clamped(n)),
        row_sums(clamped(n)),
        column_sums(clamped(n)),
        cluster_counts(2 * clamped(n)) {}
  std::vector<int> triangle1, triangle2, labels1, labels2;
  std::vector<float> measure_table;
  std::vector<int> contingency;
  std::vector<float> row_sums, column_sums;
  std::vector<int> cluster_counts;
};

ComparisonTables collect(const LevelPairStorage& s, int levels1, int levels2,
                         const std::array<MinimumRecord, kMeasureCount>& minima) {
  ComparisonTables t;
  t.levels1 = levels1;
  t.levels2 = levels2;
  const int rows = static_cast<int>(t.compared_rows());
  const int columns = static_cast<int>(t.compared_columns());
  for (int k = 1; k <= rows; ++k)
    for (int l = 1; l <= columns; ++l)
      for (int m = 1; m <= kMeasureCount; ++m) t.values.push_back(s.measure_table(m, k, l));
  for (int k = 1; k <= rows; ++k) t.cluster_counts1.push_back(s.cluster_counts(1, k));
  for (int l = 1; l <= columns; ++l) t.cluster_counts2.push_back(s.cluster_counts(2, l));
  t.minima = minima;
  return t;
}

}  // namespace

ComparisonTables compare_reference(const DendrogramFile& file1, const DendrogramFile& file2) {
  const int n = file1.object_count;
  require_merges(file1, n, "dendrogram 1");
  require_merges(file2, n, "dendrogram 2");

  DecodeScratch scratch{std::vector<int>(clamped(n)), std::vector<int>(clamped(n) * clamped(n))};
  DecodedDendrogram d1 = decode_copy(file1, n, scratch);
  DecodedDendrogram d2 = decode_copy(file2, n, scratch);

  LoopArrays a(n);
  const int pack_length = packed_table_length(n);
  const LevelPairStorage storage{
      IntVector(d1.pair_levels.data(), pack_length),
      IntVector(d2.pair_levels.data(), pack_length),
      IntVector(a.triangle1.data(), pack_length),
      IntVector(a.triangle2.data(), pack_length),
      IntVector(a.labels1.data(), n),
      IntVector(a.labels2.data(), n),
      RealArray3(a.measure_table.data(), 5, n, n),
      ContingencyWork{IntMatrix(a.contingency.data(), n, n), RealVector(a.row_sums.data(), n),
                      RealVector(a.column_sums.data(), n)},
      IntMatrix(a.cluster_counts.data(), 2, n)};
  std::array<MinimumRecord, kMeasureCount> minima{};
  compare_level_pairs(n, d1.level_count, d2.level_count, storage, minima);
  return collect(storage, d1.level_count, d2.level_count, minima);
}

}  // namespace compare
