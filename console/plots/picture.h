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
#include "engine/tanglegram.h"

class QPaintDevice;
class QPainter;

namespace console::plots {

// What a tanglegram shows besides the comparison.
struct TangleSettings {
  std::vector<QString> labels;  // per object; empty: their numbers
  int clusters = 0;             // the colour level, as compare::TangleOptions has it
  bool untangle = true;
};

class Picture {
 public:
  // results must outlive the picture.
  Picture(const compare::Comparison& results, Measure measure, TangleSettings tangle = {});

  Measure measure() const { return measure_; }
  QString title() const;

  // Draws the whole picture over area, on a white ground.
  void draw(QPainter& painter, const QRectF& area) const;

  // The table cell under point when the picture fills area on device (null:
  // the screen); none for the line plot or off the table.
  std::optional<Cell> cell_at(const QRectF& area, QPointF point, const QPaintDevice* device) const;
  // "clusters 3 and 4, heights 0.5 and 1.25, value 0.30000".
  QString describe(Cell cell) const;
  // What the pointer is over in a tanglegram: an object's line or a band;
  // none elsewhere and for the other pictures.
  std::optional<QString> describe_point(const QRectF& area, QPointF point, const QPaintDevice* device) const;

  // The trees as the tanglegram draws them; null for the other pictures.
  const compare::Tanglegram* tanglegram() const { return tanglegram_ ? &*tanglegram_ : nullptr; }

 private:
  const compare::Comparison& results_;
  // The exact values rounded for drawing, when the results have no
  // single-precision tables of their own.
  std::optional<compare::ComparisonTables> exact_tables_;
  const compare::ComparisonTables& tables_;
  Measure measure_;
  std::optional<HeatTable> table_;
  std::vector<compare::BkPoint> bk_curve_;
  TangleSettings tangle_;
  std::optional<compare::Tanglegram> tanglegram_;
};

}  // namespace console::plots
