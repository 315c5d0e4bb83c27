#include "fast_level_pair_oracle.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <numeric>
#include <vector>

namespace compare::testing_support {

namespace {

std::vector<MergeRecord> sorted_merges(const DendrogramFile& file, int n) {
  std::vector<MergeRecord> merges(file.merges.begin(), file.merges.begin() + (n - 1));
  std::stable_sort(merges.begin(), merges.end(), [](const MergeRecord& a, const MergeRecord& b) { return a.height < b.height; });
  return merges;
}

// Labels 1..C by order of smallest object, after every merge up to `level`.
std::vector<int> labels_at(const DendrogramFile& file, int n, int level) {
  const std::vector<MergeRecord> merges = sorted_merges(file, n);
  std::vector<int> parent(n + 1);
  std::iota(parent.begin(), parent.end(), 0);
  auto root = [&](int x) {
    while (parent[x] != x) x = parent[x];
    return x;
  };
  int current = 0;
  for (std::size_t i = 0; i < merges.size(); ++i) {
    if (i == 0 || merges[i].height != merges[i - 1].height) ++current;
    if (current > level) break;
    parent[root(merges[i].second)] = root(merges[i].first);
  }
  std::vector<int> label_of_root(n + 1, 0), labels(n + 1, 0);
  int next = 0;
  for (int i = 1; i <= n; ++i) {
    int& label = label_of_root[root(i)];
    if (label == 0) label = ++next;
    labels[i] = label;
  }
  return labels;
}

float stored_square(float x) { return static_cast<float>(static_cast<double>(x) * static_cast<double>(x)); }

float folded_squares(const std::vector<float>& margins) {
  float sum = 0.0f;
  for (float m : margins) sum = static_cast<float>(static_cast<double>(sum) + static_cast<double>(stored_square(m)));
  return sum;
}

std::int64_t pairs_within(std::int64_t size) { return size * (size - 1) / 2; }

}  // namespace

int level_count_of(const DendrogramFile& file, int n) {
  const std::vector<MergeRecord> merges = sorted_merges(file, n);
  int levels = 0;
  for (std::size_t i = 0; i < merges.size(); ++i) levels += i == 0 || merges[i].height != merges[i - 1].height;
  return levels;
}

LevelPairResult plain_level_pair(const DendrogramFile& file1, const DendrogramFile& file2, int k, int l) {
  const int n = file1.object_count;
  const std::vector<int> p1 = labels_at(file1, n, k), p2 = labels_at(file2, n, l);
  LevelPairResult result;
  result.clusters1 = *std::max_element(p1.begin(), p1.end());
  result.clusters2 = *std::max_element(p2.begin(), p2.end());
  std::map<std::pair<int, int>, std::int64_t> cells;
  std::vector<float> rows(result.clusters1, 0.0f), columns(result.clusters2, 0.0f);
  for (int i = 1; i <= n; ++i) {
    ++cells[{p1[i], p2[i]}];
    rows[p1[i] - 1] += 1.0f;
    columns[p2[i] - 1] += 1.0f;
  }
  std::int64_t a = 0, ab = 0, ac = 0;
  for (const auto& [cell, count] : cells) a += pairs_within(count);
  for (float r : rows) ab += pairs_within(static_cast<std::int64_t>(r));
  for (float c : columns) ac += pairs_within(static_cast<std::int64_t>(c));

  const float s1 = folded_squares(rows), s2 = folded_squares(columns);
  float s12 = 0.0f;
  for (float r : rows)
    for (float c : columns)
      s12 = static_cast<float>(static_cast<double>(s12) +
                               static_cast<double>(stored_square(c)) * static_cast<double>(stored_square(r)));

  const double big_a = static_cast<float>(n - 1);
  const double f = static_cast<float>(static_cast<std::int64_t>(n) * (static_cast<std::int64_t>(n) * n + 1));
  const double e = (2.0 * s12 / n + ((f - (big_a + 2.0) * s1) - (big_a + 2.0) * s2)) / (2.0 * big_a);
  const double np = static_cast<double>(pairs_within(n));
  const double d = static_cast<double>(ab + ac - 2 * a);
  result.values = {static_cast<float>(d / static_cast<double>(ab + ac - a)), static_cast<float>(d / np),
                   static_cast<float>(std::sqrt(d)), static_cast<float>(d / static_cast<double>(ab + ac)),
                   static_cast<float>(1.0 - ((np - d) - e) / (np - e))};
  return result;
}

}  // namespace compare::testing_support
