// Times the tanglegram at several N: the top levels' comparison it needs,
// the untangling (the layout with and without it) and the whole picture
// drawn at the file size, each the median of a few runs. The trees are
// single linkage of N random points on a line and of the same points moved
// by noise, so that they agree in part, as real pairs do, each merge drawn
// either way round at random, so that there is something to untangle.
//
// Usage: tanglegram_bench [N ..., default 150 2000 5000] [runs, default 5]
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "console/plots/picture.h"
#include "console/plots/render.h"
#include "engine/tanglegram.h"

namespace {

using Clock = std::chrono::steady_clock;

// Neighbours on the line joined in the order of the gaps between them; a
// cluster is named by its smallest object.
compare::DendrogramFile single_linkage_on_a_line(const std::vector<double>& points, std::mt19937& random) {
  const int n = static_cast<int>(points.size());
  std::vector<int> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](int a, int b) { return points[a] < points[b]; });
  std::vector<int> gaps(n - 1);
  std::iota(gaps.begin(), gaps.end(), 0);
  const auto gap = [&](int g) { return points[order[g + 1]] - points[order[g]]; };
  std::sort(gaps.begin(), gaps.end(), [&](int a, int b) { return gap(a) < gap(b); });
  std::vector<int> parent(n), name(n);
  std::iota(parent.begin(), parent.end(), 0);
  for (int i = 0; i < n; ++i) name[i] = order[i] + 1;
  const auto root = [&](int i) {
    while (parent[i] != i) i = parent[i] = parent[parent[i]];
    return i;
  };
  compare::DendrogramFile file{n, {}};
  for (const int g : gaps) {
    const int a = root(g), b = root(g + 1);
    file.merges.push_back({name[a], name[b], 0, 0, static_cast<float>(gap(g))});
    if (random() % 2) std::swap(file.merges.back().first, file.merges.back().second);
    parent[b] = a;
    name[a] = std::min(name[a], name[b]);
  }
  return file;
}

template <typename Work>
double median_ms(int runs, Work&& work) {
  std::vector<double> times;
  for (int r = 0; r < runs; ++r) {
    const auto start = Clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  int runs = 5;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.size() > 1 && sizes.back() < 50) runs = sizes.back(), sizes.pop_back();
  if (sizes.empty()) sizes = {150, 2000, 5000};
  if (console::plots::graphical_application() == nullptr) return 1;
  std::printf("%8s %12s %14s %14s %12s %14s\n", "N", "compare ms", "layout ms", "untangled ms", "drawn ms",
              "entanglement");
  for (const int n : sizes) {
    std::mt19937 random(static_cast<unsigned>(n));
    std::normal_distribution<double> noise(0.0, 0.3);
    std::vector<double> points(n), moved(n);
    for (int i = 0; i < n; ++i) points[i] = std::uniform_real_distribution<double>(0.0, n / 10.0)(random);
    for (int i = 0; i < n; ++i) moved[i] = points[i] + noise(random);
    const compare::DendrogramFile first = single_linkage_on_a_line(points, random);
    const compare::DendrogramFile second = single_linkage_on_a_line(moved, random);
    compare::CompareOptions options;
    options.precision = compare::Precision::exact;
    options.max_clusters = compare::kTangleClustersAtMost;
    compare::Comparison comparison;
    const double compared = median_ms(runs, [&] { comparison = compare::run_comparison(first, second, options); });
    compare::Tanglegram t;
    const double given = median_ms(runs, [&] { t = compare::tanglegram_layout(comparison, {0, -1, false}); });
    const double untangled = median_ms(runs, [&] { t = compare::tanglegram_layout(comparison); });
    const double drawn = median_ms(runs, [&] {
      const console::plots::Picture picture(comparison, console::plots::Measure::tanglegram);
      const QImage image = console::plots::render_image(picture, console::plots::kFilePictureSize);
    });
    std::printf("%8d %12.1f %14.1f %14.1f %12.1f %7.4f->%.4f\n", n, compared, given, untangled, drawn,
                t.given_entanglement, t.entanglement);
  }
  return 0;
}
