#include "engine/single/fast_row_groups.h"

#include "model/validate.h"

namespace compare::fast {

// Row indices and level numbers are below the object count.
static_assert(kLargestObjectCount <= 65535, "row groups keep rows and levels in 16 bits");

RowGroups::RowGroups(const LevelledDendrogram& dendrogram) {
  const int n = dendrogram.object_count;
  const int levels = dendrogram.level_count - 1;
  if (n <= 0 || levels <= 0) return;
  groups_ = (n + kLabels - 1) / kLabels;
  const auto group_of = [](int label) { return (label - 1) / kLabels; };
  std::vector<int> alive(static_cast<std::size_t>(groups_), kLabels);
  alive.back() = n - (groups_ - 1) * kLabels;
  std::vector<std::uint16_t> version(static_cast<std::size_t>(groups_), 0);
  starts_.reserve(static_cast<std::size_t>(levels) * (groups_ + 1));
  versions_.reserve(static_cast<std::size_t>(levels) * groups_);
  auto merge = dendrogram.merges.begin();
  for (int level = 1; level <= levels; ++level) {
    for (; merge != dendrogram.merges.end() && merge->level == level; ++merge) {
      --alive[group_of(merge->absorbed)];
      version[group_of(merge->absorbed)] = static_cast<std::uint16_t>(level);
      version[group_of(merge->kept)] = static_cast<std::uint16_t>(level);
    }
    int start = 0;
    for (int g = 0; g < groups_; ++g) {
      starts_.push_back(static_cast<std::uint16_t>(start));
      start += alive[g];
    }
    starts_.push_back(static_cast<std::uint16_t>(start));
    versions_.insert(versions_.end(), version.begin(), version.end());
  }
}

RowGroupsView RowGroups::level(int index) const {
  const auto groups = static_cast<std::size_t>(groups_), at = static_cast<std::size_t>(index);
  return {std::span(starts_).subspan(at * (groups + 1), groups + 1), std::span(versions_).subspan(at * groups, groups)};
}

}  // namespace compare::fast
