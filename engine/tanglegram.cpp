#include "engine/tanglegram.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "engine/tangle/shared_clusters.h"
#include "model/errors.h"

namespace compare {
namespace {

double adjusted_rand_distance(const Comparison& c, int k, int l) {
  if (c.has_pair_counts()) return c.exact_value(ExactMeasure::adjusted_rand, k, l);
  return c.tables.value(static_cast<int>(ExactMeasure::adjusted_rand) + 1, k, l);
}

// The column where 1 - adjusted Rand is smallest in row k among those with
// at most `most` clusters (0: any), the first of equals; the last column
// (the fewest clusters) when none has so few.
int best_column(const Comparison& c, int k, int most) {
  int best = 0;
  double smallest = 0;
  for (int l = 1; l <= c.columns(); ++l) {
    if (most > 0 && c.clusters2[l - 1] > most) continue;
    const double value = adjusted_rand_distance(c, k, l);
    if (best == 0 || value < smallest) smallest = value, best = l;
  }
  return best == 0 ? c.columns() : best;
}

// The compared level of a tree with the fewest clusters that are at least
// `at_least` (the clusters fall as the levels rise), numbered from
// base_level; the lowest when none has so many.
int level_with_fewest_from(const std::vector<int>& clusters, int base_level, int at_least) {
  int level = base_level;
  for (std::size_t k = 0; k < clusters.size(); ++k)
    if (clusters[k] >= at_least) level = base_level + static_cast<int>(k);
  return level;
}

// The level pair where 1 - adjusted Rand is smallest, rows outer, the first
// of equals, among levels of at most `most` clusters as best_column has it.
std::pair<int, int> best_pair(const Comparison& c, int most) {
  std::pair<int, int> best{0, 0};
  double smallest = 0;
  for (int k = 1; k <= c.rows(); ++k) {
    if (most > 0 && c.clusters1[k - 1] > most) continue;
    const int l = best_column(c, k, most);
    const double value = adjusted_rand_distance(c, k, l);
    if (best.first == 0 || value < smallest) smallest = value, best = {k, l};
  }
  if (best.first == 0) best = {c.rows(), best_column(c, c.rows(), most)};
  return best;
}

int most_clusters(const TangleOptions& options, std::int64_t n) {
  if (options.most_clusters >= 0) return options.most_clusters;
  const auto root = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
  return std::clamp(root, 2, kTangleClustersAtMost);
}

void colour_by_level_pair(const Comparison& c, const TangleOptions& options, Tanglegram& t) {
  if (c.rows() == 0 || c.columns() == 0) {
    t.level1 = c.levels1;
    t.level2 = c.levels2;
    t.cluster1.assign(t.order1.size(), 0);
    t.cluster2.assign(t.order2.size(), 0);
    t.moved.assign(t.order1.size(), 0);
    return;
  }
  if (options.clusters > 0) {
    t.row = level_with_fewest_from(c.clusters1, 1, options.clusters);
    t.column = best_column(c, t.row, most_clusters(options, c.object_count));
  } else {
    std::tie(t.row, t.column) = best_pair(c, most_clusters(options, c.object_count));
  }
  t.clusters1 = c.clusters1[t.row - 1];
  t.clusters2 = c.clusters2[t.column - 1];
  t.level1 = c.base_level1 + t.row - 1;
  t.level2 = c.base_level2 + t.column - 1;
  t.cluster1 = tangle::clusters_at_level(t.tree1, t.level1, t.order1);
  t.cluster2 = tangle::clusters_at_level(t.tree2, t.level2, t.order2);
  t.moved = tangle::moved_objects(t.cluster1, t.cluster2);
}

void collapse_into_blocks(const Comparison& c, int blocks, Tanglegram& t) {
  if (c.rows() == 0 || c.columns() == 0) return;
  t.block_level1 = level_with_fewest_from(c.clusters1, c.base_level1, std::max(blocks, t.clusters1));
  t.block_level2 = level_with_fewest_from(c.clusters2, c.base_level2, std::max(blocks, t.clusters2));
  t.blocks1 = c.clusters1[t.block_level1 - c.base_level1];
  t.blocks2 = c.clusters2[t.block_level2 - c.base_level2];
  t.block1 = tangle::clusters_at_level(t.tree1, t.block_level1, t.order1);
  t.block2 = tangle::clusters_at_level(t.tree2, t.block_level2, t.order2);
}

}  // namespace

Tanglegram tanglegram_layout(const Comparison& c, const TangleOptions& options) {
  if (!c.trees) throw InputError("the comparison keeps no trees to draw");
  Tanglegram t;
  t.tree1 = tangle::tree_shape(c.trees->first, c.trees->heights1);
  t.tree2 = tangle::tree_shape(c.trees->second, c.trees->heights2);
  t.given_entanglement = tangle::entanglement(tangle::leaf_order(t.tree1, {}), tangle::leaf_order(t.tree2, {}));
  if (options.untangle) {
    tangle::Untangled u = tangle::untangle(t.tree1, t.tree2, {tangle::kEntanglementNorm, options.work_limit});
    t.flips1 = std::move(u.flips1);
    t.flips2 = std::move(u.flips2);
    t.untangled = true;
    t.stopped_early = u.stopped_early;
  }
  t.order1 = tangle::leaf_order(t.tree1, t.flips1);
  t.order2 = tangle::leaf_order(t.tree2, t.flips2);
  t.entanglement = tangle::entanglement(t.order1, t.order2);
  if (options.colour_lines) colour_by_level_pair(c, options, t);
  if (options.colour_lines && options.blocks > 0) collapse_into_blocks(c, options.blocks, t);
  return t;
}

}  // namespace compare
