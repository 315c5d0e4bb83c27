#include "fast_shapes.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <utility>

namespace compare::shapes {

namespace {

using Pairing = std::vector<std::pair<int, int>>;  // object pairs to join, in merge order

// Joins objects' clusters; returns the merges as pairs of current names.
class Merger {
 public:
  explicit Merger(int n) : name_(n + 1) { std::iota(name_.begin(), name_.end(), 0); }
  std::pair<int, int> join(int x, int y) {
    const int nx = find(x), ny = find(y);
    const int kept = std::min(nx, ny), absorbed = std::max(nx, ny);
    name_[absorbed] = kept;
    return {nx, ny};
  }
  int find(int x) {
    while (name_[x] != x) x = name_[x] = name_[name_[x]];
    return x;
  }

 private:
  std::vector<int> name_;
};

std::vector<int> shuffled_objects(int n, std::mt19937_64& random) {
  std::vector<int> objects(n);
  std::iota(objects.begin(), objects.end(), 1);
  std::shuffle(objects.begin(), objects.end(), random);
  return objects;
}

Pairing random_tree(int n, std::mt19937_64& random) {
  std::vector<int> roots = shuffled_objects(n, random);
  Pairing joins;
  while (roots.size() > 1) {
    std::uniform_int_distribution<std::size_t> pick(0, roots.size() - 1);
    std::size_t i = pick(random), j = pick(random);
    while (j == i) j = pick(random);
    joins.emplace_back(roots[i], roots[j]);
    roots[std::min(i, j)] = roots[i];
    roots.erase(roots.begin() + static_cast<std::ptrdiff_t>(std::max(i, j)));
  }
  return joins;
}

Pairing chain(int n, std::mt19937_64& random) {
  const std::vector<int> objects = shuffled_objects(n, random);
  Pairing joins;
  for (int i = 1; i < n; ++i) joins.emplace_back(objects[0], objects[i]);
  return joins;
}

Pairing balanced(int n, std::mt19937_64& random) {
  std::vector<int> roots = shuffled_objects(n, random);
  Pairing joins;
  while (roots.size() > 1) {
    std::vector<int> next;
    for (std::size_t i = 0; i + 1 < roots.size(); i += 2) {
      joins.emplace_back(roots[i], roots[i + 1]);
      next.push_back(roots[i]);
    }
    if (roots.size() % 2 == 1) next.push_back(roots.back());
    roots = std::move(next);
  }
  return joins;
}

Pairing caterpillar_pairs(int n, std::mt19937_64& random) {
  const std::vector<int> objects = shuffled_objects(n, random);
  Pairing joins;
  for (int i = 0; i + 1 < n; i += 2) joins.emplace_back(objects[i], objects[i + 1]);
  for (int i = 2; i < n; i += 2) joins.emplace_back(objects[0], objects[i]);
  return joins;
}

// As single linkage on well-separated data: at every level one cluster holds
// most objects and the rest are singletons or small clusters.
Pairing giant_cluster(int n, std::mt19937_64& random) {
  std::vector<int> others = shuffled_objects(n, random);
  const int giant = others.back();
  others.pop_back();
  Pairing joins;
  while (!others.empty()) {
    if (others.size() >= 2 && random() % 3 == 0) {
      std::uniform_int_distribution<std::size_t> pick(0, others.size() - 1);
      std::size_t i = pick(random), j = pick(random);
      while (j == i) j = pick(random);
      joins.emplace_back(others[i], others[j]);
      others.erase(others.begin() + static_cast<std::ptrdiff_t>(std::max(i, j)));
    } else {
      std::uniform_int_distribution<std::size_t> pick(0, others.size() - 1);
      const std::size_t i = pick(random);
      joins.emplace_back(giant, others[i]);
      others.erase(others.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
  return joins;
}

Pairing pairing_for(Shape shape, int n, std::mt19937_64& random) {
  switch (shape) {
    case Shape::random_tree: return random_tree(n, random);
    case Shape::chain:
    case Shape::star: return chain(n, random);
    case Shape::balanced: return balanced(n, random);
    case Shape::caterpillar_pairs: return caterpillar_pairs(n, random);
    case Shape::giant_cluster: return giant_cluster(n, random);
  }
  return {};
}

// Nondecreasing heights, one per merge.
std::vector<float> heights_for(const ShapeOptions& o, std::size_t merges, std::mt19937_64& random) {
  std::vector<float> heights(merges);
  if (o.shape == Shape::star) {
    std::fill(heights.begin(), heights.end(), 1.5f);
    return heights;
  }
  std::uniform_real_distribution<float> any(0.0f, 100.0f);
  for (float& h : heights) h = o.distinct_heights > 0 ? static_cast<float>(random() % o.distinct_heights) : any(random);
  std::sort(heights.begin(), heights.end());
  return heights;
}

// Reorders records without changing what the file means: equal heights keep
// their relative order, which is all the decoding depends on.
void shuffle_keeping_ties(std::vector<MergeRecord>& merges, std::mt19937_64& random) {
  std::vector<MergeRecord> shuffled = merges;
  std::shuffle(shuffled.begin(), shuffled.end(), random);
  std::map<float, std::vector<MergeRecord>> by_height;
  for (const MergeRecord& m : merges) by_height[m.height].push_back(m);
  std::map<float, std::size_t> used;
  for (MergeRecord& m : shuffled) m = by_height[m.height][used[m.height]++];
  merges = std::move(shuffled);
}

}  // namespace

DendrogramFile make_dendrogram(const ShapeOptions& options, std::mt19937_64& random) {
  const int n = options.object_count;
  const Pairing joins = pairing_for(options.shape, n, random);
  const std::vector<float> heights = heights_for(options, joins.size(), random);
  DendrogramFile file;
  file.object_count = n;
  Merger merger(n);
  for (std::size_t i = 0; i < joins.size(); ++i) {
    auto [p, q] = merger.join(joins[i].first, joins[i].second);
    if (!options.swap_names && p > q) std::swap(p, q);
    file.merges.push_back({p, q, static_cast<int>(i), -static_cast<int>(i), heights[i]});
  }
  if (options.shuffle_records) shuffle_keeping_ties(file.merges, random);
  return file;
}

std::string shape_name(Shape shape) {
  switch (shape) {
    case Shape::random_tree: return "random tree";
    case Shape::chain: return "chain";
    case Shape::balanced: return "balanced";
    case Shape::caterpillar_pairs: return "caterpillar of pairs";
    case Shape::star: return "star";
    case Shape::giant_cluster: return "giant cluster";
  }
  return "?";
}

}  // namespace compare::shapes
