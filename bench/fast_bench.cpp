// Reference against fast engine on full binary dendrograms (every merge at a
// height of its own), then the fast engine alone on larger ones. Prints
// time, peak heap use during the comparison and the size MATRICES.DAT would
// have for the computed tables.
//
// Usage: fast_bench [largest N for the engine alone, default 5000]
//                   [largest N for the side-by-side run, default 300]
#include <malloc.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "engine/reference/reference.h"
#include "engine/single/fast_engine.h"
#include "fast_shapes.h"

namespace {

std::atomic<long long> live_bytes{0};
std::atomic<long long> peak_bytes{0};

void note_allocation(void* p) {
  if (p == nullptr) return;
  const long long now = live_bytes += static_cast<long long>(malloc_usable_size(p));
  long long peak = peak_bytes.load();
  while (now > peak && !peak_bytes.compare_exchange_weak(peak, now)) {
  }
}

}  // namespace

void* operator new(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  note_allocation(p);
  return p;
}
void operator delete(void* p) noexcept {
  if (p != nullptr) live_bytes -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using compare::ComparisonTables;
using compare::DendrogramFile;
using compare::shapes::Shape;

struct Measured {
  double seconds = 0.0;
  long long peak_bytes_above_start = 0;
  ComparisonTables tables;
};

template <typename Engine>
Measured measure(Engine&& engine) {
  const long long start = live_bytes.load();
  peak_bytes = start;
  const auto t0 = std::chrono::steady_clock::now();
  Measured m;
  m.tables = engine();
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  m.peak_bytes_above_start = peak_bytes.load() - start;
  return m;
}

// List-directed layout: an integer is 2 blanks and its digits; a 4-byte real
// is 9 characters in fixed form (0, and 0.1 up to below 10^6) and 14 in
// exponent form; each record has a leading blank and ends with CR LF.
std::size_t integer_chars(int v) { return 2 + std::to_string(v).size(); }
std::size_t real_chars(float v) {
  const double a = std::fabs(static_cast<double>(v));
  return a == 0.0 || (a >= 0.1 && a < 999999.95) ? 9 : 14;
}

std::size_t results_file_bytes(const ComparisonTables& t) {
  static const std::size_t heading_lengths[] = {12, 28, 10, 13, 18};
  std::size_t bytes = 1 + integer_chars(0) + 2;
  for (int c : t.cluster_counts2) bytes += integer_chars(c);
  for (int m = 1; m <= compare::kMeasureCount; ++m) {
    bytes += 1 + heading_lengths[m - 1] + 2;
    for (std::size_t k = 1; k <= t.compared_rows(); ++k) {
      bytes += 1 + integer_chars(t.cluster_counts1[k - 1]) + 2;
      for (std::size_t l = 1; l <= t.compared_columns(); ++l)
        bytes += real_chars(t.value(m, static_cast<int>(k), static_cast<int>(l)));
    }
  }
  return bytes;
}

std::pair<DendrogramFile, DendrogramFile> pair_of(Shape shape, int n, std::uint64_t seed) {
  std::mt19937_64 random(seed);
  compare::shapes::ShapeOptions o;
  o.shape = shape;
  o.object_count = n;
  DendrogramFile first = compare::shapes::make_dendrogram(o, random);
  DendrogramFile second = compare::shapes::make_dendrogram(o, random);
  return {std::move(first), std::move(second)};
}

double mib(long long bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

void side_by_side(int largest) {
  std::printf("Reference and fast engine, random trees\n");
  std::printf("%6s %12s %12s %10s %14s\n", "N", "reference s", "fast s", "ratio", "equal bits");
  for (int n = 100; n <= largest; n += 100) {
    const auto [first, second] = pair_of(Shape::random_tree, n, 1000 + n);
    const Measured ref = measure([&] { return compare::compare_reference(first, second); });
    const Measured fast = measure([&] { return compare::compare_fast(first, second); });
    const bool same = ref.tables.values.size() == fast.tables.values.size() &&
                      std::equal(ref.tables.values.begin(), ref.tables.values.end(), fast.tables.values.begin(),
                                 [](float x, float y) { return std::bit_cast<std::uint32_t>(x) == std::bit_cast<std::uint32_t>(y); });
    std::printf("%6d %12.3f %12.5f %10.0f %14s\n", n, ref.seconds, fast.seconds, ref.seconds / fast.seconds,
                same ? "yes" : "NO");
  }
}

void engine_alone(int largest) {
  const Shape shapes[] = {Shape::random_tree, Shape::balanced, Shape::chain, Shape::caterpillar_pairs};
  std::printf("\nFast engine alone (threads = hardware concurrency)\n");
  std::printf("%6s %-22s %10s %12s %14s %16s\n", "N", "shape", "compute s", "peak MiB", "budget MiB",
              "MATRICES.DAT MiB");
  for (int n : {500, 1000, 2000, 5000}) {
    if (n > largest) break;
    for (Shape shape : shapes) {
      const auto [first, second] = pair_of(shape, n, 2000 + n);
      const Measured fast = measure([&] { return compare::compare_fast(first, second); });
      const double l1 = fast.tables.levels1, l2 = fast.tables.levels2;
      const double budget = 2.0 * n * n + 20.0 * l1 * l2;
      std::printf("%6d %-22s %10.3f %12.1f %14.1f %16.1f\n", n, compare::shapes::shape_name(shape).c_str(),
                  fast.seconds, mib(fast.peak_bytes_above_start), budget / (1024.0 * 1024.0),
                  static_cast<double>(results_file_bytes(fast.tables)) / (1024.0 * 1024.0));
      std::fflush(stdout);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int largest_alone = argc > 1 ? std::atoi(argv[1]) : 5000;
  const int largest_side_by_side = argc > 2 ? std::atoi(argv[2]) : 300;
  side_by_side(largest_side_by_side);
  engine_alone(largest_alone);
  std::printf("\nMATRICES.DAT sizes are computed from the list-directed layout, not written.\n");
  return 0;
}
