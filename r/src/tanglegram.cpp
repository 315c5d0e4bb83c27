// The tanglegram for R: both trees' leaf orders, untangled, their
// entanglement and the clusters that colour the lines, and each tree as an
// hclust merge matrix whose rows put the drawn-first branch first, so that
// R draws it as the engine laid it out.
#include <algorithm>
#include <string>
#include <vector>

#include "binding.h"
#include "engine/tanglegram.h"

namespace dendro_r {
namespace {

// The clusters at each level, 1..L, from the merge heights alone.
std::vector<int> clusters_per_level(const compare::DendrogramFile& file) {
  std::vector<float> heights;
  for (int t = 0; t < file.object_count - 1; ++t) heights.push_back(file.merges[t].height);
  std::sort(heights.begin(), heights.end());
  std::vector<int> clusters;
  for (std::size_t i = 0; i < heights.size(); ++i)
    if (i + 1 == heights.size() || heights[i + 1] != heights[i])
      clusters.push_back(file.object_count - static_cast<int>(i) - 1);
  return clusters;
}

// Only the levels the layout can choose need comparing: those of at most
// the default's clusters, or down to the level with the fewest clusters
// that are at least the asked number.
int levels_needed(const compare::DendrogramFile& first, int clusters) {
  int most = compare::kTangleClustersAtMost;
  for (const int c : clusters_per_level(first))
    if (clusters > 0 && c >= clusters) most = std::max(most, c);
  return most;
}

Rcpp::IntegerMatrix drawn_merges(const compare::tangle::TreeShape& tree, const compare::tangle::Flips& flips) {
  const int merges = static_cast<int>(tree.left.size());
  Rcpp::IntegerMatrix merge(merges, 2);
  const auto r_id = [&](int node) { return tree.is_leaf(node) ? -(node + 1) : tree.merge_of(node) + 1; };
  for (int t = 0; t < merges; ++t) {
    const bool flipped = !flips.empty() && flips[t];
    merge(t, 0) = r_id(flipped ? tree.right[t] : tree.left[t]);
    merge(t, 1) = r_id(flipped ? tree.left[t] : tree.right[t]);
  }
  return merge;
}

Rcpp::List tree_of(const compare::tangle::TreeShape& tree, const compare::tangle::Flips& flips,
                   const std::vector<int>& order) {
  Rcpp::IntegerVector r_order(order.begin(), order.end());
  r_order = r_order + 1;
  return Rcpp::List::create(Rcpp::Named("merge") = drawn_merges(tree, flips),
                            Rcpp::Named("height") = Rcpp::NumericVector(tree.height.begin(), tree.height.end()),
                            Rcpp::Named("order") = r_order);
}

Rcpp::IntegerVector one_based(const std::vector<int>& values) {
  Rcpp::IntegerVector out(values.begin(), values.end());
  return out + 1;
}

}  // namespace
}  // namespace dendro_r

extern "C" SEXP dc_tanglegram(SEXP spec1, SEXP spec2, SEXP clusters, SEXP untangle) {
  return dendro_r::guarded([&]() -> SEXP {
    const compare::DendrogramFile first = dendro_r::dendrogram_from(spec1);
    const compare::DendrogramFile second = dendro_r::dendrogram_from(spec2);
    const int asked = Rf_asInteger(clusters);
    compare::CompareOptions options;
    options.precision = compare::Precision::exact;
    options.max_clusters = dendro_r::levels_needed(first, asked);
    const compare::Comparison comparison = compare::run_comparison(first, second, options);
    compare::TangleOptions tangle;
    tangle.clusters = asked;
    tangle.untangle = Rf_asLogical(untangle) == TRUE;
    const compare::Tanglegram t = compare::tanglegram_layout(comparison, tangle);
    Rcpp::LogicalVector moved(t.moved.begin(), t.moved.end());
    return Rcpp::List::create(
        Rcpp::Named("order1") = dendro_r::one_based(t.order1), Rcpp::Named("order2") = dendro_r::one_based(t.order2),
        Rcpp::Named("entanglement") = t.entanglement, Rcpp::Named("given_entanglement") = t.given_entanglement,
        Rcpp::Named("clusters1") = t.clusters1, Rcpp::Named("clusters2") = t.clusters2,
        Rcpp::Named("cluster1") = dendro_r::one_based(t.cluster1),
        Rcpp::Named("cluster2") = dendro_r::one_based(t.cluster2), Rcpp::Named("moved") = moved,
        Rcpp::Named("tree1") = dendro_r::tree_of(t.tree1, t.flips1, t.order1),
        Rcpp::Named("tree2") = dendro_r::tree_of(t.tree2, t.flips2, t.order2));
  });
}
