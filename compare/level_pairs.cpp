#include "compare/level_pairs.h"

#include "compare/minimum.h"
#include "compare/partition.h"

namespace compare {

namespace {

void compare_one_pair(int object_count, int pair_count, int k, int l,
                      const LevelPairStorage& s,
                      std::array<MinimumRecord, kMeasureCount>& minima) {
  const PairCounts pairs = sweep_partitions(object_count, k, l, s.pair_levels1, s.pair_levels2,
                                            s.triangle1, s.triangle2);
  LabelledPartition partition1{s.cluster_labels1, 0};
  LabelledPartition partition2{s.cluster_labels2, 0};
  label_clusters(object_count, partition1.cluster_count, s.cluster_labels1, s.triangle1);
  label_clusters(object_count, partition2.cluster_count, s.cluster_labels2, s.triangle2);

  s.cluster_counts(1, k) = partition1.cluster_count;
  s.cluster_counts(2, l) = partition2.cluster_count;

  const AgreementMeasures measures =
      agreement_measures(object_count, pair_count, pairs, partition1, partition2, s.contingency);
  for (int m = 1; m <= kMeasureCount; ++m) {
    s.measure_table(m, k, l) = measures.values[m - 1];
    update_minimum(minima[m - 1], s.measure_table(m, k, l), s.cluster_counts(1, k),
                   s.cluster_counts(2, l));
  }
}

}  // namespace

void compare_level_pairs(int object_count, int levels1, int levels2,
                         const LevelPairStorage& storage,
                         std::array<MinimumRecord, kMeasureCount>& minima) {
  const int pair_count = (object_count - 1) * object_count / 2;
  start_minima(minima);
  for (int k = 1; k <= levels1 - 1; ++k)
    for (int l = 1; l <= levels2 - 1; ++l)
      compare_one_pair(object_count, pair_count, k, l, storage, minima);
}

}  // namespace compare
