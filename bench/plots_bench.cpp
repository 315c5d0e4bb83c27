// Times the heat map's redraw for large tables: a whole picture drawn into
// an image of the graphics window's size and of the file size, as a paint
// of the window does it, and the one-off copy of a measure's table that a
// menu choice makes. Prints the median and fastest of the redraws and
// their share of a 100 ms budget.
//
// Usage: plots_bench [L ..., default 500 1000 2000] [redraws each, default 15]
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "console/plots/picture.h"
#include "console/plots/render.h"

namespace {

using Clock = std::chrono::steady_clock;

double milliseconds_since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// L levels a side (L - 1 compared): a smooth valley along the diagonal with
// ripples, so that every pixel's block holds different values, and one
// sharp minimum off the diagonal.
compare::Comparison valley_results(int levels) {
  compare::Comparison results;
  compare::ComparisonTables& tables = results.tables;
  tables.levels1 = tables.levels2 = levels;
  const int n = levels - 1;
  for (int i = 0; i < n; ++i) {
    tables.cluster_counts1.push_back(levels - i);
    tables.cluster_counts2.push_back(levels - i);
    results.heights1.push_back(static_cast<float>(i + 1));
    results.heights2.push_back(static_cast<float>(i + 1));
  }
  tables.values.resize(static_cast<std::size_t>(n) * n * compare::kMeasureCount);
  std::size_t at = 0;
  for (int k = 1; k <= n; ++k) {
    for (int l = 1; l <= n; ++l) {
      double off = std::abs(k - l) / double(n);
      float v = static_cast<float>(0.1 + off + 0.05 * std::sin(k * 0.37) * std::cos(l * 0.23));
      if (k == n / 3 && l == 2 * n / 3) v = 0.0f;
      for (int m = 0; m < compare::kMeasureCount; ++m) tables.values[at++] = v;
    }
  }
  return results;
}

struct Timing {
  double median = 0.0;
  double fastest = 0.0;
};

Timing time_redraws(const console::plots::Picture& picture, QSize size, int redraws) {
  QImage image(size, QImage::Format_RGB32);
  std::vector<double> times;
  for (int r = 0; r < redraws; ++r) {
    Clock::time_point start = Clock::now();
    QPainter painter(&image);
    picture.draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    times.push_back(milliseconds_since(start));
  }
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times.front()};
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> levels;
  int redraws = 15;
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    if (argument.rfind("--redraws=", 0) == 0) {
      redraws = std::max(1, std::atoi(argument.c_str() + 10));
    } else {
      levels.push_back(std::atoi(argument.c_str()));
    }
  }
  if (levels.empty()) levels = {500, 1000, 2000};
  if (console::plots::graphical_application() == nullptr) return 1;
  constexpr double kBudgetMs = 100.0;
  const QSize window(720, 540);
  std::printf("%6s %12s %22s %22s\n", "L", "table copy", "redraw 720x540", "redraw 1000x750");
  std::printf("%6s %12s %22s %22s\n", "", "ms", "median/fastest ms (%)", "median/fastest ms (%)");
  for (int l : levels) {
    compare::Comparison results = valley_results(l);
    Clock::time_point start = Clock::now();
    console::plots::Picture picture(results, console::plots::Measure::adjusted_rand);
    double copy = milliseconds_since(start);
    Timing small = time_redraws(picture, window, redraws);
    Timing large = time_redraws(picture, console::plots::kFilePictureSize, redraws);
    std::printf("%6d %12.1f %8.1f/%6.1f (%3.0f%%) %8.1f/%6.1f (%3.0f%%)\n", l, copy, small.median, small.fastest,
                100.0 * small.median / kBudgetMs, large.median, large.fastest, 100.0 * large.median / kBudgetMs);
  }
  return 0;
}
