#pragma once
// One measure's table as a heat map sees it: rows are the compared levels of
// dendrogram 1, columns those of dendrogram 2, each labelled by its number
// of clusters; the smallest value and its cell; and the reduction of a table
// larger than the picture to one value a pixel.
#include <QImage>
#include <QSize>
#include <optional>
#include <functional>
#include <vector>

#include "console/plots/colour_map.h"
#include "model/tables.h"

namespace console::plots {

// A level pair, 1-based: level k of dendrogram 1, level l of dendrogram 2.
struct Cell {
  int k = 0;
  int l = 0;
  friend bool operator==(const Cell&, const Cell&) = default;
};

class HeatTable {
 public:
  // Copies measure m (1..5) out of the interleaved tables, so that every
  // redraw reads one contiguous table.
  HeatTable(const compare::ComparisonTables& tables, int m);
  // Any table of rows x columns values, value(k, l) for k = 1..rows and
  // l = 1..columns.
  HeatTable(std::vector<int> row_clusters, std::vector<int> column_clusters,
            const std::function<float(int k, int l)>& value);

  int rows() const { return rows_; }
  int columns() const { return columns_; }
  bool empty() const { return rows_ == 0 || columns_ == 0; }
  float value(int k, int l) const { return values_[row_start(k) + static_cast<std::size_t>(l - 1)]; }
  const float* row(int k) const { return values_.data() + row_start(k); }
  int row_clusters(int k) const { return row_clusters_[static_cast<std::size_t>(k - 1)]; }
  int column_clusters(int l) const { return column_clusters_[static_cast<std::size_t>(l - 1)]; }

  // The first cell, rows before columns, whose value is strictly smaller
  // than every one before it, as the minimum report searches; a value that
  // is not a number never counts. Unlike the report, no value is too large
  // to count. None when no cell holds a number.
  std::optional<Cell> minimum() const { return minimum_; }
  // The lowest and highest finite values; 0 and 0 without any.
  ValueScale scale() const { return scale_; }

 private:
  std::size_t row_start(int k) const { return static_cast<std::size_t>(k - 1) * static_cast<std::size_t>(columns_); }

  int rows_ = 0;
  int columns_ = 0;
  std::vector<float> values_;
  std::vector<int> row_clusters_;
  std::vector<int> column_clusters_;
  std::optional<Cell> minimum_;
  ValueScale scale_;
};

// The cells that pixel p of `pixels` across `cells` cells touches, wholly
// or in part: [first, last). A cell cut by a pixel's edge belongs to both
// pixels, so the pixel under any point of a cell takes that cell in.
struct CellSpan {
  int first = 0;
  int last = 0;
};
CellSpan cells_of_pixel(int p, int pixels, int cells);

// The table reduced to `pixels` values, one a pixel, each the smallest
// number among the cells the pixel touches (NaN when none holds
// one): a minimum shows however many cells share its pixel.
std::vector<float> smallest_per_pixel(const HeatTable& table, QSize pixels);

// The same as a picture in the scale's colours, a pixel for each value.
QImage heat_image(const HeatTable& table, QSize pixels, const ValueScale& scale);

}  // namespace console::plots
