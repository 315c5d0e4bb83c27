#include "model/levels.h"

#include <algorithm>
#include <utility>

namespace compare {

LevelledDendrogram level_merges(const DendrogramFile& file, int object_count) {
  LevelledDendrogram result;
  result.object_count = object_count;
  const int merge_count = std::max(object_count - 1, 0);
  std::vector<MergeRecord> sorted(file.merges.begin(), file.merges.begin() + merge_count);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const MergeRecord& x, const MergeRecord& y) { return x.height < y.height; });
  result.merges.reserve(sorted.size());
  result.absorbed_drawn_first.reserve(sorted.size());
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    if (i == 0 || sorted[i].height != sorted[i - 1].height) ++result.level_count;
    const auto [low, high] = std::minmax(sorted[i].first, sorted[i].second);
    result.merges.push_back({low, high, result.level_count});
    result.absorbed_drawn_first.push_back(sorted[i].first > sorted[i].second);
  }
  return result;
}

void partition_sizes(const LevelledDendrogram& dendrogram, int level, std::vector<int>& sizes,
                     std::vector<int>& scratch) {
  const int n = dendrogram.object_count;
  scratch.assign(n + 1, 1);
  for (const LevelledMerge& merge : dendrogram.merges) {
    if (merge.level > level) break;
    scratch[merge.kept] += scratch[merge.absorbed];
    scratch[merge.absorbed] = 0;
  }
  sizes.clear();
  for (int i = 1; i <= n; ++i) {
    if (scratch[i] > 0) sizes.push_back(scratch[i]);
  }
}

}  // namespace compare
