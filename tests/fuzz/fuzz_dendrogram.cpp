// Dendrogram files as the comparison reads them: the object count N and
// N - 1 merge records of four integers and a height, list-directed, for
// dendrogram 1 and then dendrogram 2 (whose own count is read and passed
// over), each checked by the validator. Two valid dendrograms of a few
// objects are then compared by the fast engine and by the literal
// level-pair loop: any difference in a value, a cluster count or a minimum
// is a finding.
//
// Input: the text of the two files one after the other.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/reference/reference.h"
#include "engine/single/fast_engine.h"
#include "fuzz_support.h"
#include "model/validate.h"
#include "rio/rio.h"

namespace {

// Larger dendrograms are read and checked but not compared: the literal
// loop's cost grows with the fourth power of N.
constexpr int kLargestComparedCount = 40;

int read_items(int unit, std::initializer_list<rio::ItemDescriptor> items) {
  int iostat = 0;
  rio::ControlInfo control;
  control.unit = &unit;
  control.iostat = &iostat;
  rio::io_read(rio::kPhaseWhole, &control, {items.begin(), items.size()});
  fuzz::check_status(iostat);
  return iostat;
}

rio::ItemDescriptor integer(int& v) { return {rio::kItemScalar, rio::kInteger4, &v, 0}; }
rio::ItemDescriptor real(float& v) { return {rio::kItemScalar, rio::kReal4, &v, 0}; }

bool read_merges(int unit, int n, compare::DendrogramFile& file) {
  file.object_count = n;
  for (int i = 1; i <= n - 1; ++i) {
    compare::MergeRecord m;
    if (read_items(unit, {integer(m.first), integer(m.second), integer(m.companion1), integer(m.companion2),
                          real(m.height)}))
      return false;
    file.merges.push_back(m);
  }
  return true;
}

bool same_bits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void expect_same_tables(const compare::ComparisonTables& fast, const compare::ComparisonTables& literal) {
  bool same = fast.levels1 == literal.levels1 && fast.levels2 == literal.levels2 &&
              fast.values.size() == literal.values.size() && fast.cluster_counts1 == literal.cluster_counts1 &&
              fast.cluster_counts2 == literal.cluster_counts2;
  for (std::size_t i = 0; same && i < fast.values.size(); ++i) same = same_bits(fast.values[i], literal.values[i]);
  for (int m = 0; same && m < compare::kMeasureCount; ++m)
    same = same_bits(fast.minima[m].smallest, literal.minima[m].smallest) &&
           fast.minima[m].clusters1 == literal.minima[m].clusters1 &&
           fast.minima[m].clusters2 == literal.minima[m].clusters2;
  if (same) return;
  std::fprintf(stderr, "the fast engine and the literal loop differ\n");
  std::abort();
}

void read_and_compare(int unit) {
  int n = 0, n2 = 0;
  if (read_items(unit, {integer(n)})) return;
  // The count alone is checked before anything is read or allocated.
  if (auto problem = compare::validate_dendrogram(compare::DendrogramFile{n, {}}); problem && problem->record == 0)
    return;
  compare::DendrogramFile first, second;
  if (!read_merges(unit, n, first) || compare::validate_dendrogram(first)) return;
  if (read_items(unit, {integer(n2)})) return;
  if (!read_merges(unit, n, second) || compare::validate_dendrogram(second)) return;
  if (n > kLargestComparedCount) return;
  expect_same_tables(compare::compare_fast(first, second, 1), compare::compare_reference(first, second));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::install_memory_console("");
  fuzz::write_scratch(std::string_view(reinterpret_cast<const char*>(data), size));
  const int unit = 1;
  if (fuzz::open_scratch(unit) == 0) read_and_compare(unit);
  fuzz::reset_runtime();
  return 0;
}
