#include "engine/tanglegram.h"

#include <tuple>

#include "engine/tangle/shared_clusters.h"
#include "model/errors.h"

namespace compare {
namespace {

double adjusted_rand_distance(const Comparison& c, int k, int l) {
  if (c.has_pair_counts()) return c.exact_value(ExactMeasure::adjusted_rand, k, l);
  return c.tables.value(static_cast<int>(ExactMeasure::adjusted_rand) + 1, k, l);
}

// The column where 1 - adjusted Rand is smallest in row k, the first of equals.
int best_column(const Comparison& c, int k) {
  int best = 1;
  double smallest = adjusted_rand_distance(c, k, 1);
  for (int l = 2; l <= c.columns(); ++l) {
    const double value = adjusted_rand_distance(c, k, l);
    if (value < smallest) smallest = value, best = l;
  }
  return best;
}

int row_with_fewest_clusters_from(const Comparison& c, int clusters) {
  int row = 1;  // the rows' cluster counts fall as k grows
  for (int k = 1; k <= c.rows(); ++k)
    if (c.clusters1[k - 1] >= clusters) row = k;
  return row;
}

// The level pair where 1 - adjusted Rand is smallest, the first of equals
// with rows outer.
std::pair<int, int> best_pair(const Comparison& c) {
  std::pair<int, int> best{1, 1};
  double smallest = adjusted_rand_distance(c, 1, 1);
  for (int k = 1; k <= c.rows(); ++k) {
    const int l = best_column(c, k);
    const double value = adjusted_rand_distance(c, k, l);
    if (value < smallest) smallest = value, best = {k, l};
  }
  return best;
}

void colour_by_level_pair(const Comparison& c, const TangleOptions& options, Tanglegram& t) {
  if (c.rows() == 0 || c.columns() == 0) {
    t.cluster1.assign(t.order1.size(), 0);
    t.cluster2.assign(t.order2.size(), 0);
    t.moved.assign(t.order1.size(), 0);
    return;
  }
  if (options.clusters > 0) {
    t.row = row_with_fewest_clusters_from(c, options.clusters);
    t.column = best_column(c, t.row);
  } else {
    std::tie(t.row, t.column) = best_pair(c);
  }
  t.clusters1 = c.clusters1[t.row - 1];
  t.clusters2 = c.clusters2[t.column - 1];
  t.cluster1 = tangle::clusters_at_level(t.tree1, c.base_level1 + t.row - 1, t.order1);
  t.cluster2 = tangle::clusters_at_level(t.tree2, c.base_level2 + t.column - 1, t.order2);
  t.moved = tangle::moved_objects(t.cluster1, t.cluster2);
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
  colour_by_level_pair(c, options, t);
  return t;
}

}  // namespace compare
