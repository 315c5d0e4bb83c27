#include "engine/tangle/untangle.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace compare::tangle {
namespace {

double cost_of(double difference, double norm) {
  const double d = std::abs(difference);
  return norm == 1.5 ? d * std::sqrt(d) : std::pow(d, norm);
}

// One tree's drawing while it is being rotated: the flips, the objects top
// to bottom and each object's position.
struct Drawing {
  const TreeShape* tree;
  Flips flips;
  std::vector<int> order, position;

  Drawing(const TreeShape& shape, Flips start) : tree(&shape), flips(std::move(start)) {
    flips.resize(shape.left.size(), 0);
    order = leaf_order(shape, flips);
    position = positions_of(order);
  }
};

class Rotator {
 public:
  Rotator(double norm, std::int64_t work_limit) : norm_(norm), work_left_(work_limit) {}

  // One sweep over `moving` from the top down against `fixed`; true if a
  // rotation was made.
  bool sweep(Drawing& moving, const Drawing& fixed) {
    const TreeShape& tree = *moving.tree;
    if (tree.left.empty()) return false;
    bool rotated = false;
    std::vector<std::pair<int, int>> stack{{tree.root(), 0}};  // node, position of its first object
    while (!stack.empty() && work_left_ > 0) {
      const auto [node, start] = stack.back();
      stack.pop_back();
      if (tree.is_leaf(node)) continue;
      const int t = tree.merge_of(node);
      if (gain_of_flip(moving, fixed, t, start) > 0) {
        flip(moving, t, start);
        rotated = true;
      }
      const int top = moving.flips[t] ? tree.right[t] : tree.left[t];
      const int bottom = moving.flips[t] ? tree.left[t] : tree.right[t];
      stack.emplace_back(bottom, start + tree.size_of(top));
      stack.emplace_back(top, start);
    }
    return rotated;
  }

  bool out_of_work() const { return work_left_ <= 0; }

 private:
  // How much the sum falls if node t's two children change places; 0 unless
  // by more than rounding could make up.
  double gain_of_flip(const Drawing& moving, const Drawing& fixed, int t, int start) {
    const TreeShape& tree = *moving.tree;
    const int top = moving.flips[t] ? tree.right[t] : tree.left[t];
    const int above = tree.size_of(top), count = tree.size[t], below = count - above;
    work_left_ -= count;
    double before = 0, after = 0;
    for (int i = start; i < start + count; ++i) {
      const int object = moving.order[i];
      const int now = moving.position[object] - fixed.position[object];
      const int shifted = now + (i < start + above ? below : -above);
      before += cost_of(now, norm_);
      after += cost_of(shifted, norm_);
    }
    const double gain = before - after;
    return gain > 1e-12 * (before + after) ? gain : 0;
  }

  static void flip(Drawing& moving, int t, int start) {
    const TreeShape& tree = *moving.tree;
    const int top = moving.flips[t] ? tree.right[t] : tree.left[t];
    const auto first = moving.order.begin() + start;
    std::rotate(first, first + tree.size_of(top), first + tree.size[t]);
    for (int i = start; i < start + tree.size[t]; ++i) moving.position[moving.order[i]] = i;
    moving.flips[t] ^= 1;
  }

  double norm_;
  std::int64_t work_left_;
};

// Each node's children ordered by their objects' mean position in `fixed`,
// the smaller mean on top.
Flips by_mean_position(const TreeShape& tree, const std::vector<int>& fixed_position) {
  std::vector<double> sum(static_cast<std::size_t>(tree.node_count()), 0.0);
  for (int object = 0; object < tree.leaf_count; ++object) sum[object] = fixed_position[object];
  Flips flips(tree.left.size(), 0);
  for (std::size_t t = 0; t < tree.left.size(); ++t) {
    const int left = tree.left[t], right = tree.right[t];
    flips[t] = sum[left] * tree.size_of(right) > sum[right] * tree.size_of(left);
    sum[tree.leaf_count + t] = sum[left] + sum[right];
  }
  return flips;
}

Untangled untangle_from(const TreeShape& first, const TreeShape& second, Flips start1, Flips start2,
                        const UntangleOptions& options) {
  Drawing one(first, std::move(start1)), two(second, std::move(start2));
  Rotator rotator(options.norm, options.work_limit);
  Untangled result;
  for (;;) {
    ++result.rounds;
    const bool rotated_one = rotator.sweep(one, two);
    const bool rotated_two = rotator.sweep(two, one);
    if (rotator.out_of_work()) {
      result.stopped_early = true;
      break;
    }
    if (!rotated_one && !rotated_two) break;
  }
  result.entanglement = entanglement(one.order, two.order, options.norm);
  result.flips1 = std::move(one.flips);
  result.flips2 = std::move(two.flips);
  return result;
}

}  // namespace

double entanglement(const std::vector<int>& order1, const std::vector<int>& order2, double norm) {
  const std::size_t n = order1.size();
  if (n < 2) return 0;
  const std::vector<int> position2 = positions_of(order2);
  double sum = 0, worst = 0;
  for (std::size_t i = 0; i < n; ++i) {
    sum += cost_of(static_cast<double>(i) - position2[static_cast<std::size_t>(order1[i])], norm);
    worst += cost_of(2.0 * static_cast<double>(i) + 1.0 - static_cast<double>(n), norm);
  }
  return sum / worst;
}

Untangled untangle(const TreeShape& first, const TreeShape& second, const UntangleOptions& options) {
  UntangleOptions half = options;
  half.work_limit = options.work_limit / 2;
  Untangled as_given = untangle_from(first, second, {}, {}, half);
  const Flips start1 = by_mean_position(first, positions_of(leaf_order(second, {})));
  const Flips start2 = by_mean_position(second, positions_of(leaf_order(first, start1)));
  Untangled by_means = untangle_from(first, second, start1, start2, half);
  return by_means.entanglement < as_given.entanglement ? by_means : as_given;
}

}  // namespace compare::tangle
