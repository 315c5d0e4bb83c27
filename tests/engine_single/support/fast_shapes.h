#pragma once
// Valid dendrogram files of chosen shapes for the engine tests and the
// benchmark: every merge names two current clusters by their smallest
// objects, heights never decrease along the merge order, and records are
// optionally shuffled in a way that keeps the file's meaning.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "model/tables.h"

namespace compare::shapes {

enum class Shape {
  random_tree,        // two random current clusters per merge
  chain,              // one growing cluster swallows objects in random order
  balanced,           // neighbouring clusters pair up round by round
  caterpillar_pairs,  // pairs first, then a chain over the pairs
  star,               // a chain whose merges all share one height
  giant_cluster,      // one cluster grows by absorbing others while small ones form beside it
};

struct ShapeOptions {
  Shape shape = Shape::random_tree;
  int object_count = 10;
  int distinct_heights = 0;  // 0: every merge its own height; else heights drawn from this many
  bool shuffle_records = true;
  bool swap_names = true;
};

DendrogramFile make_dendrogram(const ShapeOptions& options, std::mt19937_64& random);

std::string shape_name(Shape shape);

}  // namespace compare::shapes
