#include "model/validate.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace compare {

namespace {

std::string record_text(int record) { return "record " + std::to_string(record); }

std::optional<ValidationProblem> check_object_count(int n, int largest) {
  if (n < 2)
    return ValidationProblem{0, "the object count is " + std::to_string(n) +
                                    "; a dendrogram needs at least 2 objects"};
  if (n > largest)
    return ValidationProblem{0, "the object count is " + std::to_string(n) + "; at most " +
                                    std::to_string(largest) +
                                    " objects can be compared"};
  return std::nullopt;
}

std::optional<ValidationProblem> check_heights(const std::vector<MergeRecord>& merges,
                                               int merge_count) {
  // A height written beyond the range of 4-byte reals reads as infinite;
  // the tables would still come out, but the report would name no level.
  for (int i = 0; i < merge_count; ++i) {
    if (std::isnan(merges[i].height))
      return ValidationProblem{i + 1, record_text(i + 1) + " has a height that is not a number"};
    if (std::isinf(merges[i].height))
      return ValidationProblem{i + 1, record_text(i + 1) +
                                          " has a height beyond the range of 4-byte reals (about 3.4e38)"};
  }
  return std::nullopt;
}

// File positions (0-based) of the merges in the order they are applied.
std::vector<int> applied_order(const std::vector<MergeRecord>& merges, int merge_count) {
  std::vector<int> order(merge_count);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int x, int y) { return merges[x].height < merges[y].height; });
  return order;
}

// Clusters as a forest whose roots are the clusters' names: joining links
// the larger name under the smaller, so every root is its cluster's
// smallest object.
class CurrentClusters {
 public:
  explicit CurrentClusters(int n) : parent_(static_cast<std::size_t>(n) + 1), remaining_(n) {
    std::iota(parent_.begin(), parent_.end(), 0);
  }
  bool in_range(int name) const { return name >= 1 && name < static_cast<int>(parent_.size()); }
  bool is_current(int name) const { return parent_[name] == name; }
  int cluster_of(int object) {
    while (parent_[object] != object) object = parent_[object] = parent_[parent_[object]];
    return object;
  }
  void join(int x, int y) {
    parent_[std::max(x, y)] = std::min(x, y);
    --remaining_;
  }
  int remaining() const { return remaining_; }

 private:
  std::vector<int> parent_;
  int remaining_;
};

std::optional<ValidationProblem> check_name(CurrentClusters& clusters, int record, int name,
                                            int n) {
  if (!clusters.in_range(name))
    return ValidationProblem{record, record_text(record) + " joins cluster " +
                                         std::to_string(name) + ", but objects are numbered 1 to " +
                                         std::to_string(n)};
  if (!clusters.is_current(name))
    return ValidationProblem{record, record_text(record) + " joins cluster " +
                                         std::to_string(name) +
                                         ", which is not a current cluster (object " +
                                         std::to_string(name) + " is in cluster " +
                                         std::to_string(clusters.cluster_of(name)) +
                                         " by then)"};
  return std::nullopt;
}

std::optional<ValidationProblem> check_merge(CurrentClusters& clusters, int record,
                                             const MergeRecord& merge, int n) {
  if (auto problem = check_name(clusters, record, merge.first, n)) return problem;
  if (auto problem = check_name(clusters, record, merge.second, n)) return problem;
  if (merge.first == merge.second)
    return ValidationProblem{record, record_text(record) + " joins cluster " +
                                         std::to_string(merge.first) + " with itself"};
  clusters.join(merge.first, merge.second);
  return std::nullopt;
}

// Only a file with too few merge records can leave objects apart once every
// merge joined two distinct current clusters.
std::optional<ValidationProblem> check_all_joined(const CurrentClusters& clusters,
                                                  int merges_read, int n) {
  if (clusters.remaining() == 1) return std::nullopt;
  return ValidationProblem{merges_read + 1,
                           record_text(merges_read + 1) + " is missing: after " +
                               std::to_string(merges_read) + " merge records the " +
                               std::to_string(n) + " objects still form " +
                               std::to_string(clusters.remaining()) +
                               " clusters, and " + std::to_string(n - 1) + " records are needed"};
}

}  // namespace

std::optional<ValidationProblem> validate_dendrogram(const DendrogramFile& file, int largest_object_count) {
  const int n = file.object_count;
  if (auto problem = check_object_count(n, largest_object_count)) return problem;
  const int merge_count = std::min(n - 1, static_cast<int>(file.merges.size()));
  if (auto problem = check_heights(file.merges, merge_count)) return problem;

  CurrentClusters clusters(n);
  for (int position : applied_order(file.merges, merge_count))
    if (auto problem = check_merge(clusters, position + 1, file.merges[position], n))
      return problem;
  return check_all_joined(clusters, merge_count, n);
}

}  // namespace compare
