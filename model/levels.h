#pragma once
// A dendrogram file turned into levelled merges: sorted by height (stable,
// so merges of equal height keep their file order), the smaller cluster name
// first, and each merge carrying its level number 1..L.
#include <vector>

#include "model/tables.h"

namespace compare {

struct LevelledMerge {
  int kept = 0;      // the smaller cluster name, which names the union
  int absorbed = 0;  // the larger cluster name, which disappears
  int level = 0;
};

struct LevelledDendrogram {
  int object_count = 0;
  int level_count = 0;
  std::vector<LevelledMerge> merges;  // in the order they are applied
  // [t]: the file named merge t's absorbed cluster first, so a drawing of
  // the tree puts it above the kept one.
  std::vector<char> absorbed_drawn_first;
};

// Uses the first object_count - 1 merge records of the file.
LevelledDendrogram level_merges(const DendrogramFile& file, int object_count);

// Cluster sizes of the partition at `level` (all merges of level <= level
// applied), in order of each cluster's smallest object. `scratch` is reused
// between calls to avoid allocation.
void partition_sizes(const LevelledDendrogram& dendrogram, int level, std::vector<int>& sizes,
                     std::vector<int>& scratch);

// Calls visit(x, y, level) once for every object pair x != y, with the level
// of the merge that first puts them in one cluster, merge by merge.
template <typename Visit>
void for_each_joined_pair(const LevelledDendrogram& dendrogram, Visit&& visit) {
  const int n = dendrogram.object_count;
  std::vector<int> next(n + 1, 0), head(n + 1), tail(n + 1);  // member lists per cluster name
  for (int i = 1; i <= n; ++i) head[i] = tail[i] = i;
  for (const LevelledMerge& merge : dendrogram.merges) {
    for (int x = head[merge.kept]; x != 0; x = next[x]) {
      for (int y = head[merge.absorbed]; y != 0; y = next[y]) visit(x, y, merge.level);
    }
    next[tail[merge.kept]] = head[merge.absorbed];
    tail[merge.kept] = tail[merge.absorbed];
  }
}

}  // namespace compare
