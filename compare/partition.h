#pragma once
// The partition of a dendrogram at one level: which pairs of objects share a
// cluster, and a label per object numbering the clusters.
#include "compare/fortran_array.h"

namespace compare {

// Pair counts of one level pair: pairs joined in both partitions (a), in
// partition 1 (a + b) and in partition 2 (a + c).
struct PairCounts {
  int a = 0;
  int a_plus_b = 0;
  int a_plus_c = 0;
};

// Fills both co-membership triangles (packed, 1 where the pair level is at
// most the level) for level k of dendrogram 1 and level l of dendrogram 2,
// counting the joined pairs on the way.
PairCounts sweep_partitions(int object_count, int k, int l, IntVector pair_levels1,
                            IntVector pair_levels2, IntVector triangle1, IntVector triangle2);

// Labels the clusters 1, 2, ... in the order of their smallest object.
void label_clusters(int object_count, int& cluster_count, IntVector cluster_labels,
                    IntVector triangle);

}  // namespace compare
