#pragma once
// Plain data shared by the comparison engines, the program body, the tests
// and the benchmarks: a dendrogram file's content and the tables a
// comparison produces.
#include <array>
#include <cstddef>
#include <vector>

namespace compare {

// One merge record as read from a dendrogram file: the two cluster numbers,
// their companion values, and the height of the merge.
struct MergeRecord {
  int first = 0;
  int second = 0;
  int companion1 = 0;
  int companion2 = 0;
  float height = 0.0f;

  bool operator==(const MergeRecord&) const = default;
};

// A dendrogram file's content: the object count and the merge records in
// file order (object_count - 1 of them for a complete file).
struct DendrogramFile {
  int object_count = 0;
  std::vector<MergeRecord> merges;
};

inline constexpr int kMeasureCount = 5;

// Smallest value of one measure and the cluster counts where it first
// occurred. Cluster counts stay 0 when the value was never replaced.
struct MinimumRecord {
  float smallest = 100.0f;
  int clusters1 = 0;
  int clusters2 = 0;
};

// Everything a comparison run reports, for levels k = 1..L1-1 of dendrogram 1
// and l = 1..L2-1 of dendrogram 2.
struct ComparisonTables {
  int levels1 = 0;  // L1
  int levels2 = 0;  // L2
  // value(m, k, l) at ((k-1)*(L2-1) + (l-1))*5 + (m-1), m = 1..5
  std::vector<float> values;
  // cluster_counts1[k-1]: clusters of dendrogram 1 at level k, k = 1..L1-1;
  // cluster_counts2[l-1] likewise. Entries never set are 0.
  std::vector<int> cluster_counts1;
  std::vector<int> cluster_counts2;
  std::array<MinimumRecord, kMeasureCount> minima{};

  std::size_t compared_rows() const { return levels1 > 1 ? levels1 - 1 : 0; }
  std::size_t compared_columns() const { return levels2 > 1 ? levels2 - 1 : 0; }
  float value(int m, int k, int l) const {
    return values[((std::size_t(k) - 1) * compared_columns() + (std::size_t(l) - 1)) * kMeasureCount +
                  (std::size_t(m) - 1)];
  }
};

}  // namespace compare
