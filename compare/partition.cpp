#include "compare/partition.h"

#include "compare/dendrogram.h"

namespace compare {

PairCounts sweep_partitions(int object_count, int k, int l, IntVector pair_levels1,
                            IntVector pair_levels2, IntVector triangle1, IntVector triangle2) {
  PairCounts counts;
  for (int i = 1; i <= object_count - 1; ++i) {
    for (int j = i + 1; j <= object_count; ++j) {
      const int p = packed_pair_index(i, j);
      const bool joined1 = pair_levels1(p) <= k;
      const bool joined2 = pair_levels2(p) <= l;
      triangle1(p) = joined1 ? 1 : 0;
      triangle2(p) = joined2 ? 1 : 0;
      if (joined1 && joined2) ++counts.a;
      if (joined1) ++counts.a_plus_b;
      if (joined2) ++counts.a_plus_c;
    }
  }
  return counts;
}

namespace {

int next_unlabelled(IntVector cluster_labels, int after, int object_count) {
  int i = after + 1;
  while (i <= object_count && cluster_labels(i) != 0) ++i;
  return i;
}

}  // namespace

void label_clusters(int object_count, int& cluster_count, IntVector cluster_labels,
                    IntVector triangle) {
  for (int i = 1; i <= object_count; ++i) cluster_labels(i) = 0;
  int labelled = 0;
  int label = 1;
  int i = 0;
  for (;;) {
    i = next_unlabelled(cluster_labels, i, object_count);
    if (i > object_count) break;
    cluster_labels(i) = label;
    ++labelled;
    if (i == object_count) break;
    for (int j = i + 1; j <= object_count; ++j) {
      if (triangle(packed_pair_index(i, j)) == 1) {
        cluster_labels(j) = label;
        ++labelled;
      }
    }
    if (labelled >= object_count) break;
    ++label;
  }
  cluster_count = label;
}

}  // namespace compare
