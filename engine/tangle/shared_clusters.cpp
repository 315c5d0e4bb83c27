#include "engine/tangle/shared_clusters.h"

#include <algorithm>
#include <cstdint>

namespace compare::tangle {
namespace {

std::int64_t cell_key(int first, int second) { return (static_cast<std::int64_t>(first) << 32) | static_cast<std::uint32_t>(second); }

}  // namespace

std::vector<SharedCell> shared_cells(const std::vector<int>& cluster1, const std::vector<int>& cluster2) {
  std::vector<std::int64_t> keys(cluster1.size());
  for (std::size_t x = 0; x < cluster1.size(); ++x) keys[x] = cell_key(cluster1[x], cluster2[x]);
  std::sort(keys.begin(), keys.end());
  std::vector<SharedCell> cells;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i == 0 || keys[i] != keys[i - 1])
      cells.push_back({static_cast<int>(keys[i] >> 32), static_cast<int>(keys[i] & 0xffffffff), 0});
    ++cells.back().count;
  }
  return cells;
}

std::vector<char> cells_kept_together(const std::vector<SharedCell>& cells) {
  int rows = 0, columns = 0;
  for (const SharedCell& cell : cells) {
    rows = std::max(rows, cell.first + 1);
    columns = std::max(columns, cell.second + 1);
  }
  std::vector<int> row_most(static_cast<std::size_t>(rows), 0), column_most(static_cast<std::size_t>(columns), 0);
  for (const SharedCell& cell : cells) {
    row_most[cell.first] = std::max(row_most[cell.first], cell.count);
    column_most[cell.second] = std::max(column_most[cell.second], cell.count);
  }
  std::vector<char> kept(cells.size());
  for (std::size_t i = 0; i < cells.size(); ++i)
    kept[i] = cells[i].count == row_most[cells[i].first] && cells[i].count == column_most[cells[i].second];
  return kept;
}

std::vector<char> moved_objects(const std::vector<int>& cluster1, const std::vector<int>& cluster2) {
  const std::vector<SharedCell> cells = shared_cells(cluster1, cluster2);
  const std::vector<char> kept = cells_kept_together(cells);
  std::vector<char> moved(cluster1.size());
  for (std::size_t x = 0; x < cluster1.size(); ++x) {
    const SharedCell probe{cluster1[x], cluster2[x], 0};
    const auto at = std::lower_bound(cells.begin(), cells.end(), probe, [](const SharedCell& a, const SharedCell& b) {
      return a.first != b.first ? a.first < b.first : a.second < b.second;
    });
    moved[x] = !kept[static_cast<std::size_t>(at - cells.begin())];
  }
  return moved;
}

}  // namespace compare::tangle
