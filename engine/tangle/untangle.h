#pragma once
// How tangled two drawings of the same objects are, and rotations of the
// trees' nodes (which change no partition) that make them less so.
#include <cstdint>
#include <vector>

#include "engine/tangle/tree_shape.h"

namespace compare::tangle {

// The power of the position differences: above 1, a long line costs more
// than several short ones.
inline constexpr double kEntanglementNorm = 1.5;

// Each object's position in the one order against its position in the
// other: the sum of |difference|^norm, divided by that sum for two orders
// the reverse of each other. 0 for equal orders, 1 for reversed ones; 0
// with fewer than two objects.
double entanglement(const std::vector<int>& order1, const std::vector<int>& order2,
                    double norm = kEntanglementNorm);

struct Untangled {
  Flips flips1, flips2;
  double entanglement = 0;  // of the leaf orders the flips give
  int rounds = 0;           // sweeps over both trees
  bool stopped_early = false;  // the work limit was reached before no rotation helped
};

struct UntangleOptions {
  double norm = kEntanglementNorm;
  // Object positions visited, at most: each sweep over a tree visits every
  // node's objects once.
  std::int64_t work_limit = 4'000'000'000;
};

// Rotates the nodes of both trees, one tree at a time against the other
// held fixed, each node from the top down whenever that lowers the
// entanglement, until no single rotation lowers it. Two starts: the trees
// as given, and each node's children ordered by their objects' mean
// position in the other tree; the better end is kept.
Untangled untangle(const TreeShape& first, const TreeShape& second, const UntangleOptions& options = {});

}  // namespace compare::tangle
