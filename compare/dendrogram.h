#pragma once
// Decoding a dendrogram into numbered levels and, for every pair of objects,
// the level at which the two first share a cluster.
#include "compare/fortran_array.h"

namespace compare {

// Position of the pair (i, j) in a packed lower triangle with diagonal:
// a*(a-1)/2 + b with a = max(i, j), b = min(i, j).
int packed_pair_index(int i, int j);

// Length of a packed pair table for N objects, diagonal included.
int packed_table_length(int object_count);

// Sorts the merge table (N-1, 4) and the merge heights (N-1) in place by
// ascending height, puts the smaller cluster name in column 1, replaces every
// height by its level number and fills pair levels (packed, NPACK entries).
// The label work list (N) and membership work table (N, N) are scratch.
void decode_dendrogram(IntMatrix merge_table, RealVector merge_heights, int merge_count,
                       int pack_length, int& level_count, IntVector pair_levels,
                       IntVector label_work, IntMatrix membership, int object_count);

}  // namespace compare
