#include "console/plots/heat_table.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace console::plots {

namespace {

constexpr float kNoValue = std::numeric_limits<float>::quiet_NaN();

bool is_finite(float value) { return std::isfinite(value); }

}  // namespace

namespace {

std::vector<int> counts_of(const std::vector<int>& counts, std::size_t n) {
  std::vector<int> result(counts.begin(), counts.begin() + static_cast<std::ptrdiff_t>(std::min(n, counts.size())));
  result.resize(n, 0);
  return result;
}

}  // namespace

HeatTable::HeatTable(const compare::ComparisonTables& tables, int m)
    : HeatTable(counts_of(tables.cluster_counts1, tables.compared_rows()),
                counts_of(tables.cluster_counts2, tables.compared_columns()),
                [&](int k, int l) { return tables.value(m, k, l); }) {}

HeatTable::HeatTable(std::vector<int> row_clusters, std::vector<int> column_clusters,
                     const std::function<float(int k, int l)>& value)
    : rows_(static_cast<int>(row_clusters.size())),
      columns_(static_cast<int>(column_clusters.size())),
      row_clusters_(std::move(row_clusters)),
      column_clusters_(std::move(column_clusters)) {
  values_.resize(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_));
  float smallest = std::numeric_limits<float>::infinity();
  float low = std::numeric_limits<float>::infinity();
  float high = -std::numeric_limits<float>::infinity();
  std::size_t i = 0;
  for (int k = 1; k <= rows_; ++k) {
    for (int l = 1; l <= columns_; ++l, ++i) {
      float v = value(k, l);
      values_[i] = v;
      if (v < smallest || (!minimum_ && v == smallest)) {
        smallest = v;
        minimum_ = Cell{k, l};
      }
      if (is_finite(v)) {
        low = std::min(low, v);
        high = std::max(high, v);
      }
    }
  }
  if (low <= high) scale_ = ValueScale(low, high);
}

CellSpan cells_of_pixel(int p, int pixels, int cells) {
  const long long n = cells, d = pixels;
  int first = static_cast<int>(p * n / d);
  int last = static_cast<int>(((p + 1) * n + d - 1) / d);
  return {first, std::max(first + 1, last)};
}

std::vector<float> smallest_per_pixel(const HeatTable& table, QSize pixels) {
  const int width = pixels.width();
  const int height = pixels.height();
  std::vector<float> result(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kNoValue);
  if (table.empty() || width <= 0 || height <= 0) return result;
  std::vector<CellSpan> column_spans(static_cast<std::size_t>(width));
  for (int x = 0; x < width; ++x) column_spans[static_cast<std::size_t>(x)] = cells_of_pixel(x, width, table.columns());
  for (int y = 0; y < height; ++y) {
    float* line = result.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    CellSpan rows = cells_of_pixel(y, height, table.rows());
    for (int r = rows.first; r < rows.last; ++r) {
      const float* cells = table.row(r + 1);
      for (int x = 0; x < width; ++x) {
        const CellSpan span = column_spans[static_cast<std::size_t>(x)];
        float smallest = line[x];
        for (int c = span.first; c < span.last; ++c) {
          // NaN on either side loses: a number replaces NaN, NaN replaces nothing.
          if (cells[c] < smallest || smallest != smallest) smallest = cells[c];
        }
        line[x] = smallest;
      }
    }
  }
  return result;
}

QImage heat_image(const HeatTable& table, QSize pixels, const ValueScale& scale) {
  std::vector<float> values = smallest_per_pixel(table, pixels);
  QImage image(pixels, QImage::Format_RGB32);
  for (int y = 0; y < pixels.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    const float* source = values.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(pixels.width());
    for (int x = 0; x < pixels.width(); ++x) line[x] = scale.colour(source[x]);
  }
  return image;
}

}  // namespace console::plots
