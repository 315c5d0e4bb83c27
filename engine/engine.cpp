#include "engine/engine.h"

#include <algorithm>
#include <cmath>

#include "engine/single/fast_engine.h"
#include "model/validate.h"

namespace compare {
namespace {

double ratio(std::int64_t numerator, std::int64_t denominator) {
  return static_cast<double>(numerator) / static_cast<double>(denominator);
}

// One minus the adjusted Rand index from the four pair counts, with the
// products formed exactly before the one rounding division.
double adjusted_rand_dissimilarity(std::int64_t together, std::int64_t only1, std::int64_t only2,
                                   std::int64_t apart) {
  __extension__ typedef __int128 Wide;
  const Wide numerator = 2 * (Wide(together) * apart - Wide(only1) * only2);
  const Wide denominator = Wide(together + only1) * (only1 + apart) + Wide(together + only2) * (only2 + apart);
  if (denominator == 0) return 0.0;  // both partitions trivial and equal
  return 1.0 - static_cast<double>(numerator) / static_cast<double>(denominator);
}

}  // namespace

void check_dendrogram(const DendrogramFile& file, const std::string& name) {
  if (auto problem = validate_dendrogram(file)) throw InputError(name + ": " + problem->message);
}

ExactValues Comparison::exact(int k, int l) const {
  const std::int64_t a = joined_both[static_cast<std::size_t>(k - 1) * tables.compared_columns() + (l - 1)];
  const std::int64_t p1 = joined1[k - 1], p2 = joined2[l - 1];
  const std::int64_t disagree = p1 + p2 - 2 * a;
  ExactValues v;
  v.jaccard = ratio(disagree, p1 + p2 - a);
  v.rand = ratio(disagree, pair_count());
  v.euclidean = std::sqrt(static_cast<double>(disagree));
  v.sorensen = ratio(disagree, p1 + p2);
  v.adjusted_rand = adjusted_rand_dissimilarity(a, p1 - a, p2 - a, pair_count() - p1 - p2 + a);
  v.fowlkes_mallows = fowlkes_mallows(k, l);
  return v;
}

double Comparison::fowlkes_mallows(int k, int l) const {
  const std::int64_t a = joined_both[static_cast<std::size_t>(k - 1) * tables.compared_columns() + (l - 1)];
  return a == 0 ? 0.0 : std::sqrt(ratio(a, joined1[k - 1])) * std::sqrt(ratio(a, joined2[l - 1]));
}

std::vector<float> level_heights(const DendrogramFile& file) {
  const std::size_t used = std::min<std::size_t>(file.merges.size(), std::max(file.object_count - 1, 0));
  std::vector<float> heights;
  for (std::size_t i = 0; i < used; ++i) heights.push_back(file.merges[i].height);
  std::sort(heights.begin(), heights.end());
  heights.erase(std::unique(heights.begin(), heights.end()), heights.end());
  if (!heights.empty()) heights.pop_back();  // the top level is never compared
  return heights;
}

Comparison run_comparison(const DendrogramFile& first, const DendrogramFile& second, const CompareOptions& options) {
  check_dendrogram(first, "dendrogram 1");
  check_dendrogram(second, "dendrogram 2");
  if (first.object_count != second.object_count)
    throw InputError("the dendrograms have different object counts (" + std::to_string(first.object_count) +
                     " and " + std::to_string(second.object_count) + ")");
  Comparison result;
  result.object_count = first.object_count;
  FastRunExtras extras;
  if (options.keep_pair_counts) {
    extras.joined_both = &result.joined_both;
    extras.joined1 = &result.joined1;
    extras.joined2 = &result.joined2;
  }
  extras.progress = options.progress;
  result.tables = compare_fast(first, second, options.threads, extras);
  if (extras.stopped) throw Cancelled();
  result.heights1 = level_heights(first);
  result.heights2 = level_heights(second);
  return result;
}

}  // namespace compare
