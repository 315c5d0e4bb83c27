#include "compare/dendrogram.h"

#include <cstdint>
#include <utility>

namespace compare {

int packed_pair_index(int i, int j) {
  const std::int64_t a = i > j ? i : j;
  const std::int64_t b = i > j ? j : i;
  return static_cast<int>(a * (a - 1) / 2 + b);
}

int packed_table_length(int object_count) {
  return object_count + (object_count - 1) * object_count / 2;
}

namespace {

void clear_membership(IntMatrix membership, int object_count) {
  for (int column = 1; column <= object_count; ++column)
    for (int row = 1; row <= object_count; ++row) membership(row, column) = 0;
}

void exchange_rows(IntMatrix merge_table, RealVector merge_heights, int row1, int row2) {
  for (int column = 1; column <= 4; ++column)
    std::swap(merge_table(row1, column), merge_table(row2, column));
  std::swap(merge_heights(row1), merge_heights(row2));
}

// Bubble passes with a strict comparison keep rows of equal height in file
// order, which the merge semantics rely on.
void sort_by_height(IntMatrix merge_table, RealVector merge_heights, int merge_count) {
  bool exchanged = true;
  while (exchanged) {
    exchanged = false;
    for (int i = 2; i <= merge_count; ++i) {
      if (merge_heights(i) < merge_heights(i - 1)) {
        exchange_rows(merge_table, merge_heights, i, i - 1);
        exchanged = true;
      }
    }
  }
}

// Companions travel with their cluster, so columns 3 and 4 follow 1 and 2.
void put_smaller_name_first(IntMatrix merge_table, int merge_count) {
  for (int i = 1; i <= merge_count; ++i) {
    if (merge_table(i, 1) >= merge_table(i, 2)) {
      std::swap(merge_table(i, 1), merge_table(i, 2));
      std::swap(merge_table(i, 3), merge_table(i, 4));
    }
  }
}

int number_levels(RealVector merge_heights, int merge_count) {
  int level_count = 0;
  int i = 1;
  while (i <= merge_count) {
    ++level_count;
    const float run_height = merge_heights(i);
    int last = i;
    while (last < merge_count && merge_heights(last + 1) == run_height) ++last;
    for (int row = i; row <= last; ++row) merge_heights(row) = static_cast<float>(level_count);
    i = last + 1;
  }
  return level_count;
}

// Row i of the membership table receives every object's cluster name after
// the first i merges.
void apply_merges(IntMatrix merge_table, int merge_count, IntVector label_work,
                  IntMatrix membership, int object_count) {
  for (int j = 1; j <= object_count; ++j) label_work(j) = j;
  for (int i = 1; i <= merge_count; ++i) {
    const int p = merge_table(i, 1);
    const int q = merge_table(i, 2);
    for (int j = 1; j <= object_count; ++j)
      if (label_work(j) == q) label_work(j) = p;
    for (int j = 1; j <= object_count; ++j) membership(i, j) = label_work(j);
  }
}

int first_shared_row(IntMatrix membership, int merge_count, int i, int j) {
  for (int row = 1; row <= merge_count; ++row)
    if (membership(row, i) == membership(row, j)) return row;
  return 0;
}

void fill_pair_levels(RealVector merge_heights, int merge_count, IntVector pair_levels,
                      IntMatrix membership, int object_count) {
  for (int i = 1; i <= merge_count; ++i) {
    for (int j = i + 1; j <= object_count; ++j) {
      const int row = first_shared_row(membership, merge_count, i, j);
      if (row != 0) pair_levels(packed_pair_index(i, j)) = static_cast<int>(merge_heights(row));
    }
  }
}

}  // namespace

void decode_dendrogram(IntMatrix merge_table, RealVector merge_heights, int merge_count,
                       int pack_length, int& level_count, IntVector pair_levels,
                       IntVector label_work, IntMatrix membership, int object_count) {
  clear_membership(membership, object_count);
  sort_by_height(merge_table, merge_heights, merge_count);
  put_smaller_name_first(merge_table, merge_count);
  level_count = number_levels(merge_heights, merge_count);
  for (int p = 1; p <= pack_length; ++p) pair_levels(p) = 0;
  apply_merges(merge_table, merge_count, label_work, membership, object_count);
  fill_pair_levels(merge_heights, merge_count, pair_levels, membership, object_count);
}

}  // namespace compare
