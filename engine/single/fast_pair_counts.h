#pragma once
// Pair counts of every level pair: a pair joined at level k1 of dendrogram 1
// and level k2 of dendrogram 2 counts toward every level pair (k, l) with
// k >= k1 and l >= k2, so a cumulative two-dimensional histogram over
// (k1, k2), which the exact engine counts from the merges alone, gives a for
// all pairs at once.
#include <cstdint>
#include <vector>

#include "model/levels.h"

namespace compare::fast {

// Pairs joined in both partitions of level pair (k, l), k < L1, l < L2,
// kept as 32-bit counts in a caller-provided grid of (L1-1) x (L2-1) cells.
// The grid may live inside other storage: cell (k, l) is the 4 bytes at
// base + ((k-1) * (L2-1) + (l-1)) * stride_bytes.
class CountGrid {
 public:
  CountGrid(void* base, int columns, std::size_t stride_bytes)
      : base_(static_cast<unsigned char*>(base)), columns_(columns), stride_(stride_bytes) {}
  std::uint32_t get(int k, int l) const;
  void set(int k, int l, std::uint32_t value);

 private:
  unsigned char* cell(int k, int l) const {
    return base_ + (static_cast<std::size_t>(k - 1) * columns_ + (l - 1)) * stride_;
  }
  unsigned char* base_;
  int columns_;
  std::size_t stride_;
};

struct JoinedPairs {
  std::vector<std::int64_t> in_first;   // [k-1]: pairs joined at level k of dendrogram 1
  std::vector<std::int64_t> in_second;  // [l-1]: likewise for dendrogram 2
};

// Fills `both` with a(k, l) and returns a + b and a + c per level, on
// `threads` threads (0: the hardware's concurrency). Both dendrograms must
// have at least two levels.
JoinedPairs count_joined_pairs(const LevelledDendrogram& first, const LevelledDendrogram& second, CountGrid both,
                               int threads = 0);

}  // namespace compare::fast
