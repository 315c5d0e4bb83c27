#pragma once
// The common ground of the foreign formats: a binary tree given as a list
// of merges of earlier clusters, in the order they were made, turned into
// our own merge records after the checks that make it a dendrogram.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/tables.h"

namespace compare {

// Cluster ids: 0..N-1 are the objects 1..N, N + t the cluster made by merge t
// (0-based), as in a scipy linkage matrix.
struct TreeMerge {
  std::int64_t left = 0;
  std::int64_t right = 0;
  double height = 0.0;
};

// Why a merge below one it contains is refused, for the messages of every
// format.
inline constexpr const char* kInversionReason =
    "an inversion, as centroid and median linkage make: heights must not decrease up the tree, for a cut "
    "between the two heights would join a cluster not yet made";

// Names each merge's clusters by their smallest objects, with the clusters'
// sizes as companions. Throws InputError "<where(t)>: <fault>" for an id
// out of range or used twice, a cluster joined with itself, a height that
// is NaN, infinite, beyond the 4-byte range or below the height of a
// cluster it joins (an inversion).
DendrogramFile build_dendrogram(int object_count, const std::vector<TreeMerge>& merges,
                                const std::function<std::string(std::size_t)>& where);

// An object count the comparison can take, or InputError "<source>: ...".
void check_object_count(std::int64_t object_count, const std::string& source);

}  // namespace compare
