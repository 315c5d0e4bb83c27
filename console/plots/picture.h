#pragma once
// One picture of a comparison's results, whatever shows it: the graphics
// window paints it, the printer prints it, the PNG and SVG files hold it.
#include <QRectF>
#include <QString>
#include <optional>

#include "console/plots/heat_map.h"
#include "console/plots/heat_table.h"
#include "console/plots/measure.h"
#include "engine/engine.h"

class QPaintDevice;
class QPainter;

namespace console::plots {

class Picture {
 public:
  // results must outlive the picture.
  Picture(const compare::Comparison& results, Measure measure);

  Measure measure() const { return measure_; }
  QString title() const;

  // Draws the whole picture over area, on a white ground.
  void draw(QPainter& painter, const QRectF& area) const;

  // The table cell under point when the picture fills area on device (null:
  // the screen); none for the line plot or off the table.
  std::optional<Cell> cell_at(const QRectF& area, QPointF point, const QPaintDevice* device) const;
  // "clusters 3 and 4, heights 0.5 and 1.25, value 0.30000".
  QString describe(Cell cell) const;

 private:
  const compare::Comparison& results_;
  // The exact values rounded for drawing, when the results have no
  // single-precision tables of their own.
  std::optional<compare::ComparisonTables> exact_tables_;
  const compare::ComparisonTables& tables_;
  Measure measure_;
  std::optional<HeatTable> table_;
  std::vector<compare::BkPoint> bk_curve_;
};

}  // namespace console::plots
