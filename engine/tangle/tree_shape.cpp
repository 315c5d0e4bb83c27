#include "engine/tangle/tree_shape.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace compare::tangle {

TreeShape tree_shape(const LevelledDendrogram& dendrogram, const std::vector<float>& level_heights) {
  TreeShape tree;
  const int n = dendrogram.object_count;
  tree.leaf_count = std::max(n, 0);
  std::vector<int> node_of_name(static_cast<std::size_t>(tree.leaf_count) + 1);  // a cluster is named by its smallest object
  for (int i = 1; i <= n; ++i) node_of_name[i] = i - 1;
  for (std::size_t t = 0; t < dendrogram.merges.size(); ++t) {
    const LevelledMerge& merge = dendrogram.merges[t];
    int first = node_of_name[merge.kept], second = node_of_name[merge.absorbed];
    if (dendrogram.absorbed_drawn_first[t]) std::swap(first, second);
    tree.left.push_back(first);
    tree.right.push_back(second);
    tree.height.push_back(level_heights[static_cast<std::size_t>(merge.level - 1)]);
    tree.level.push_back(merge.level);
    tree.size.push_back(tree.size_of(first) + tree.size_of(second));
    node_of_name[merge.kept] = n + static_cast<int>(t);
  }
  return tree;
}

std::vector<int> leaf_order(const TreeShape& tree, const Flips& flips) {
  std::vector<int> order;
  if (tree.leaf_count == 0) return order;
  order.reserve(static_cast<std::size_t>(tree.leaf_count));
  std::vector<int> stack{tree.root()};
  while (!stack.empty()) {
    const int node = stack.back();
    stack.pop_back();
    if (tree.is_leaf(node)) {
      order.push_back(node);
      continue;
    }
    const int t = tree.merge_of(node);
    const bool flipped = !flips.empty() && flips[t];
    // The child drawn first goes on the stack last.
    stack.push_back(flipped ? tree.left[t] : tree.right[t]);
    stack.push_back(flipped ? tree.right[t] : tree.left[t]);
  }
  return order;
}

std::vector<int> positions_of(const std::vector<int>& order) {
  std::vector<int> position(order.size());
  for (std::size_t i = 0; i < order.size(); ++i) position[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
  return position;
}

std::vector<int> clusters_at_level(const TreeShape& tree, int level, const std::vector<int>& order) {
  const int n = tree.leaf_count;
  // A node at or below the level takes its children into its cluster; the
  // objects' topmost such nodes then name the clusters.
  std::vector<int> parent(static_cast<std::size_t>(tree.node_count()));
  std::iota(parent.begin(), parent.end(), 0);
  for (std::size_t t = 0; t < tree.left.size(); ++t) {
    if (tree.level[t] > level) break;
    parent[tree.left[t]] = parent[tree.right[t]] = n + static_cast<int>(t);
  }
  const auto root_of = [&](int node) {
    int top = node;
    while (parent[top] != top) top = parent[top];
    while (parent[node] != top) node = std::exchange(parent[node], top);
    return top;
  };
  std::vector<int> number_of_root(parent.size(), -1), cluster(static_cast<std::size_t>(n));
  int next = 0;
  for (const int object : order) {
    int& number = number_of_root[root_of(object)];
    if (number < 0) number = next++;
    cluster[object] = number;
  }
  return cluster;
}

}  // namespace compare::tangle
