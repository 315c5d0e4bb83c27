// The cross term alone: folds every level pair of two dendrograms (scipy
// .npy linkages or any format the command line reads) with the engine's
// folder, and with the folder as it was before crossing rows were blocked,
// checks that the two agree bit for bit, and prints each one's time per
// level pair. Run it under callgrind with --toggle-collect to count the
// instructions of one folder:
//
//   valgrind --tool=callgrind --toggle-collect='compare::fast::CrossTermFolder::fold*'
//       bench/cross_term_bench A.npy B.npy new
//   valgrind --tool=callgrind
//       --toggle-collect='compare::testing_support::OracleCrossTermFolder::fold*'
//       bench/cross_term_bench A.npy B.npy old
// (each command on one line)
//
// Built as cross_term_steps, it also counts the terms folded one at a time.
//
// Usage: cross_term_bench FIRST SECOND [new|old|both, default both]
//                         [every k-th column level, default 1]
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "engine/single/fast_binade.h"
#include "engine/single/fast_cross_term.h"
#include "model/levels.h"
#include "engine/single/fast_margins.h"
#include "fast_cross_term_oracle.h"
#include "formats/inputs.h"

namespace {

using compare::fast::ClusterMargins;

using compare::fast::RowGroups;

std::vector<ClusterMargins> margins_of_every_level(const compare::LevelledDendrogram& d, bool with_tiers) {
  std::vector<ClusterMargins> result;
  std::vector<int> sizes, scratch;
  for (int level = 1; level < d.level_count; ++level) {
    compare::partition_sizes(d, level, sizes, scratch);
    result.emplace_back(sizes, with_tiers);
  }
  return result;
}

// The engine's folder is given the rows' label groups, as the engine gives
// them; the old folder has no use for them.
template <typename Folder>
std::vector<float> fold_all(const std::vector<ClusterMargins>& rows, const RowGroups& groups,
                            const std::vector<ClusterMargins>& columns, std::size_t stride, double& seconds) {
  std::vector<float> sums;
  Folder folder(columns.front());
  const auto start = std::chrono::steady_clock::now();
  for (std::size_t l = 0; l < columns.size(); l += stride) {
    folder.use_columns(columns[l]);
    for (std::size_t k = 0; k < rows.size(); ++k) {
      const int as_before = k == 0 ? 0 : rows[k].leading_sizes_shared(rows[k - 1]);
      if constexpr (std::is_same_v<Folder, compare::fast::CrossTermFolder>) {
        const compare::fast::RowGroupsView view = groups.level(static_cast<int>(k));
        sums.push_back(folder.fold(rows[k], as_before, &view));
      } else {
        sums.push_back(folder.fold(rows[k], as_before));
      }
    }
  }
  seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return sums;
}

#ifdef DENDROCOMPARE_COUNT_STEPS
// Every term of the folded level pairs: rows times columns.
double terms_folded(const std::vector<ClusterMargins>& rows, const std::vector<ClusterMargins>& columns,
                    std::size_t stride) {
  double row_total = 0.0, column_total = 0.0;
  for (const ClusterMargins& row : rows) row_total += row.count();
  for (std::size_t l = 0; l < columns.size(); l += stride) column_total += columns[l].count();
  return row_total * column_total;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s FIRST SECOND [new|old|both] [column stride]\n", argv[0]);
    return 2;
  }
  const std::string which = argc > 3 ? argv[3] : "both";
  const std::size_t stride = argc > 4 ? std::stoul(argv[4]) : 1;
  const auto [file1, file2] = compare::read_dendrogram_pair(argv[1], argv[2]);
  const int n = file1.object_count;
  const compare::LevelledDendrogram first = compare::level_merges(file1, n);
  const auto rows = margins_of_every_level(first, false);
  const RowGroups groups(first);
  const auto columns = margins_of_every_level(compare::level_merges(file2, n), true);
  if (rows.empty() || columns.empty()) return 0;
  const std::size_t pairs = rows.size() * ((columns.size() + stride - 1) / stride);
  std::printf("N = %d, %zu row levels, %zu column levels, %zu level pairs folded\n", n, rows.size(),
              columns.size(), pairs);
  std::vector<float> fresh, old;
  double fresh_seconds = 0.0, old_seconds = 0.0;
  if (which != "old") {
    fresh = fold_all<compare::fast::CrossTermFolder>(rows, groups, columns, stride, fresh_seconds);
    std::printf("new folder: %.3f s, %.1f ns per level pair\n", fresh_seconds, 1e9 * fresh_seconds / pairs);
#ifdef DENDROCOMPARE_COUNT_STEPS
    const double terms = terms_folded(rows, columns, stride);
    const auto single = static_cast<double>(compare::fast::single_steps_taken);
    std::printf("terms taken one at a time (fold and effects): %.4g of %.4g (%.4f%%)\n", single, terms,
                100.0 * single / terms);
#endif
  }
  if (which != "new") {
    old = fold_all<compare::testing_support::OracleCrossTermFolder>(rows, groups, columns, stride, old_seconds);
    std::printf("old folder: %.3f s, %.1f ns per level pair\n", old_seconds, 1e9 * old_seconds / pairs);
  }
  if (!fresh.empty() && !old.empty()) {
    const bool same = std::memcmp(fresh.data(), old.data(), fresh.size() * sizeof(float)) == 0;
    std::printf("bitwise equal: %s; old/new time ratio %.2f\n", same ? "yes" : "NO", old_seconds / fresh_seconds);
    return same ? 0 : 1;
  }
  return 0;
}
