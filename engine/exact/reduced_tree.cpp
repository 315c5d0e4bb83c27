#include "engine/exact/reduced_tree.h"

namespace compare::exact {

ReducedTree reduce_tree(const LevelledDendrogram& dendrogram, int base_level, int top_level) {
  const int n = dendrogram.object_count;
  ReducedTree tree;
  tree.base_level = base_level;
  // A cluster is named by its smallest object, so the name an object was
  // merged into is always smaller than its own: one pass upward finds the
  // base cluster of every object.
  std::vector<int> merged_into(n + 1);
  for (int x = 0; x <= n; ++x) merged_into[x] = x;
  for (const LevelledMerge& merge : dendrogram.merges) {
    if (merge.level > base_level) break;
    merged_into[merge.absorbed] = merge.kept;
  }
  std::vector<int> node_of(n + 1, -1);
  tree.leaf_of.assign(n + 1, -1);
  for (int x = 1; x <= n; ++x) {
    if (merged_into[x] == x) {
      node_of[x] = tree.leaf_count++;
      tree.leaf_size.push_back(0);
    } else {
      merged_into[x] = merged_into[merged_into[x]];
    }
    tree.leaf_of[x] = node_of[merged_into[x]];
    ++tree.leaf_size[tree.leaf_of[x]];
  }
  for (const LevelledMerge& merge : dendrogram.merges) {
    if (merge.level <= base_level) continue;
    if (merge.level > top_level) break;
    tree.merges.push_back({node_of[merge.kept], node_of[merge.absorbed], merge.level});
    node_of[merge.kept] = tree.leaf_count + static_cast<int>(tree.merges.size()) - 1;
  }
  return tree;
}

std::vector<int> clusters_per_level(const LevelledDendrogram& dendrogram) {
  std::vector<int> clusters(static_cast<std::size_t>(dendrogram.level_count), 0);
  int remaining = dendrogram.object_count;
  std::size_t next = 0;
  for (int level = 1; level <= dendrogram.level_count; ++level) {
    while (next < dendrogram.merges.size() && dendrogram.merges[next].level == level) {
      --remaining;
      ++next;
    }
    clusters[level - 1] = remaining;
  }
  return clusters;
}

std::vector<std::int64_t> pairs_joined_per_level(const LevelledDendrogram& dendrogram) {
  std::vector<std::int64_t> joined(static_cast<std::size_t>(dendrogram.level_count), 0);
  std::vector<std::int64_t> size(dendrogram.object_count + 1, 1);
  for (const LevelledMerge& merge : dendrogram.merges) {
    joined[merge.level - 1] += size[merge.kept] * size[merge.absorbed];
    size[merge.kept] += size[merge.absorbed];
  }
  return joined;
}

LeafOrder leaf_order(const ReducedTree& tree) {
  const int leaves = tree.leaf_count, nodes = tree.node_count();
  std::vector<int> covered(nodes, 1), start(nodes, -1);
  std::vector<char> is_child(nodes, 0);
  for (int j = 0; j < static_cast<int>(tree.merges.size()); ++j) {
    const ReducedTree::Merge& m = tree.merges[j];
    covered[leaves + j] = covered[m.left] + covered[m.right];
    is_child[m.left] = is_child[m.right] = 1;
  }
  // A parent comes after its children, so walking down from the last node
  // places every node after the node that contains it.
  int next_free = 0;
  LeafOrder order;
  order.runs.resize(tree.merges.size());
  for (int node = nodes - 1; node >= 0; --node) {
    if (!is_child[node]) {
      start[node] = next_free;
      next_free += covered[node];
    }
    if (node < leaves) continue;
    const ReducedTree::Merge& m = tree.merges[node - leaves];
    start[m.left] = start[node];
    start[m.right] = start[node] + covered[m.left];
    order.runs[node - leaves] = {start[node], start[m.right], start[node] + covered[node]};
  }
  order.leaf_at.resize(leaves);
  order.position_of.resize(leaves);
  for (int leaf = 0; leaf < leaves; ++leaf) {
    order.leaf_at[start[leaf]] = leaf;
    order.position_of[leaf] = start[leaf];
  }
  return order;
}

}  // namespace compare::exact
