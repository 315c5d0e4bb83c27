#include "engine/exact/tree_correlations.h"

#include <cmath>

#include "engine/exact/level_pair_counts.h"
#include "engine/exact/pair_histogram.h"
#include "engine/exact/reduced_tree.h"

namespace compare::exact {
namespace {

// Mean rank of the pairs each level joins, ranks counted from 1 over all
// pairs in order of level.
std::vector<long double> mean_ranks(const std::vector<std::int64_t>& joined_per_level) {
  std::vector<long double> ranks(joined_per_level.size());
  long double before = 0;
  for (std::size_t i = 0; i < ranks.size(); ++i) {
    ranks[i] = before + (static_cast<long double>(joined_per_level[i]) + 1) / 2;
    before += static_cast<long double>(joined_per_level[i]);
  }
  return ranks;
}

struct Moments {
  long double pairs = 0, x = 0, y = 0, xx = 0, yy = 0, xy = 0;
  // A row level's pairs, all at x, with their sums over the column levels.
  void add_row(long double n, long double row_x, long double sum_y, long double sum_yy, long double sum_xy) {
    pairs += n;
    x += n * row_x;
    xx += n * row_x * row_x;
    y += sum_y;
    yy += sum_yy;
    xy += sum_xy;
  }
  double correlation() const {
    const long double covariance = pairs * xy - x * y;
    return static_cast<double>(covariance / std::sqrt((pairs * xx - x * x) * (pairs * yy - y * y)));
  }
};

}  // namespace

std::vector<double> cluster_triples_per_level(const LevelledDendrogram& dendrogram) {
  const auto triple = [](long double x) { return x * (x - 1) * (x - 2); };
  std::vector<double> sums(static_cast<std::size_t>(dendrogram.level_count));
  std::vector<std::int64_t> size(dendrogram.object_count + 1, 1);
  long double running = 0;
  std::size_t next = 0;
  for (int level = 1; level <= dendrogram.level_count; ++level) {
    for (; next < dendrogram.merges.size() && dendrogram.merges[next].level == level; ++next) {
      const LevelledMerge& m = dendrogram.merges[next];
      const long double a = size[m.kept], b = size[m.absorbed];
      running += triple(a + b) - triple(a) - triple(b);
      size[m.kept] += size[m.absorbed];
    }
    sums[level - 1] = static_cast<double>(running);
  }
  return sums;
}

TreeCorrelations tree_correlations(const LevelledDendrogram& first, const std::vector<float>& heights1,
                                   const LevelledDendrogram& second, const std::vector<float>& heights2, int threads) {
  TreeCorrelations result;
  if (first.level_count < 1 || second.level_count < 1) return result;
  const std::vector<long double> ranks1 = mean_ranks(pairs_joined_per_level(first));
  const std::vector<long double> ranks2 = mean_ranks(pairs_joined_per_level(second));
  // One row per level of dendrogram 1, written once each from any thread.
  struct RowMoments {
    long double pairs = 0, height = 0, height_squared = 0, height_product = 0, rank = 0, rank_squared = 0,
                rank_product = 0;
  };
  std::vector<RowMoments> rows(static_cast<std::size_t>(first.level_count));
  const auto sink = [&](int r, std::span<const std::uint64_t> counts) {
    RowMoments m;
    const long double x = heights1[r], rx = ranks1[r];
    for (int c = 0; c < second.level_count; ++c) {
      if (counts[c] == 0) continue;
      const long double n = static_cast<long double>(counts[c]), y = heights2[c], ry = ranks2[c];
      m.pairs += n;
      m.height += n * y;
      m.height_squared += n * y * y;
      m.rank += n * ry;
      m.rank_squared += n * ry * ry;
      m.height_product += n * x * y;
      m.rank_product += n * rx * ry;
    }
    rows[r] = m;
  };
  pair_histogram(first, {1, first.level_count}, second, {1, second.level_count}, threads, sink);
  Moments heights, ranks;
  for (int r = 0; r < first.level_count; ++r) {
    const RowMoments& m = rows[r];
    heights.add_row(m.pairs, heights1[r], m.height, m.height_squared, m.height_product);
    ranks.add_row(m.pairs, ranks1[r], m.rank, m.rank_squared, m.rank_product);
  }
  result.cophenetic_pearson = heights.correlation();
  result.cophenetic_spearman = result.bakers_gamma = ranks.correlation();
  return result;
}

BkValue bk_value(std::int64_t n_objects, std::int64_t both, std::int64_t first, std::int64_t second, double triples1,
                 double triples2) {
  const long double n = static_cast<long double>(n_objects);
  // In the paper's terms: T = sum m_ij^2 - n, P and Q the same over the
  // margins, P' and Q' the sums of n (n - 1) (n - 2) over the margins.
  const long double t = 2.0L * both, p = 2.0L * first, q = 2.0L * second, p3 = triples1, q3 = triples2;
  BkValue v;
  v.bk = static_cast<double>(t / std::sqrt(p * q));
  v.expected = static_cast<double>(std::sqrt(p * q) / (n * (n - 1)));
  v.variance = static_cast<double>(2 / (n * (n - 1)) + 4 * p3 * q3 / (n * (n - 1) * (n - 2) * p * q) +
                                   (p - 2 - 4 * p3 / p) * (q - 2 - 4 * q3 / q) / (n * (n - 1) * (n - 2) * (n - 3)) -
                                   p * q / (n * n * (n - 1) * (n - 1)));
  return v;
}

}  // namespace compare::exact
