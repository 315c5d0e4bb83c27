#pragma once
// A table as a heat map: the cells in viridis, rows down the levels of
// dendrogram 1 and columns across those of dendrogram 2, both labelled by
// their numbers of clusters; a colour bar with values; the minimum's cell
// ringed and labelled with its value and cluster counts.
#include <QFont>
#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

#include "console/plots/heat_table.h"

class QPaintDevice;
class QPainter;

namespace console::plots {

inline constexpr const char* kRowAxisTitle = "clusters in dendrogram 1";
inline constexpr const char* kColumnAxisTitle = "clusters in dendrogram 2";

// Where everything goes when the heat map fills an area.
struct HeatMapLayout {
  QFont font;
  double line_height = 0.0;
  QRectF title;
  QRectF cells;       // the table itself
  QRectF colour_bar;
  std::vector<int> labelled_rows;
  std::vector<int> labelled_columns;
  int rows = 0;
  int columns = 0;

  QRectF cell_rect(Cell cell) const;
  // The cell under a point, none outside the table.
  std::optional<Cell> cell_at(QPointF point) const;
};

// device gives the font's metrics (null: the screen's).
HeatMapLayout lay_out_heat_map(const HeatTable& table, const QRectF& area, const QPaintDevice* device);

// Draws the heat map with its title over area, on a white ground. A table
// too large for the area's pixels is drawn a pixel at a time, each the
// smallest value of the cells it covers.
void draw_heat_map(QPainter& painter, const HeatTable& table, const QString& title, const QRectF& area);

// The minimum's label: "minimum 0.30000 at 3 and 4 clusters".
QString minimum_text(const HeatTable& table, Cell cell);

}  // namespace console::plots
