#include "console/plots/picture.h"

#include <QPainter>

#include "console/plots/agreement_plot.h"
#include "console/plots/bk_plot.h"
#include "console/plots/picture_style.h"
#include "console/plots/tanglegram_geometry.h"
#include "console/plots/tanglegram_plot.h"

namespace console::plots {

namespace {

QString height_text(const std::vector<float>& heights, int level) {
  if (level < 1 || static_cast<std::size_t>(level) > heights.size()) return QStringLiteral("?");
  return QString::number(static_cast<double>(heights[static_cast<std::size_t>(level - 1)]), 'g', 6);
}

}  // namespace

namespace {

// Only the five tables' pictures and the agreement plot draw them: the
// five tables of an exact comparison take as much memory again as its
// counts.
bool draws_tables(Measure measure) {
  return measure_number(measure) <= kTableMeasures || measure == Measure::agreement;
}

std::optional<compare::ComparisonTables> exact_tables_of(const compare::Comparison& results, Measure measure) {
  if (results.precision == compare::Precision::single || !draws_tables(measure)) return std::nullopt;
  return compare::tables_for_display(results);
}

compare::Tanglegram lay_out_trees(const compare::Comparison& results, const TangleSettings& settings) {
  compare::TangleOptions options;
  options.clusters = settings.clusters;
  options.untangle = settings.untangle;
  if (draws_collapsed(results.object_count)) options.blocks = kCollapsedBlocks;
  return compare::tanglegram_layout(results, options);
}

}  // namespace

Picture::Picture(const compare::Comparison& results, Measure measure, TangleSettings tangle)
    : results_(results),
      exact_tables_(exact_tables_of(results, measure)),
      tables_(exact_tables_ ? *exact_tables_ : results.tables),
      measure_(measure),
      tangle_(std::move(tangle)) {
  if (measure == Measure::variation_of_information || measure == Measure::nmi) {
    const bool nmi = measure == Measure::nmi;
    const auto kind = nmi ? compare::InformationMeasure::nmi : compare::InformationMeasure::variation_of_information;
    // Without the contingency sums (a single-precision comparison) the table is empty.
    const bool known = results.has_information();
    table_.emplace(known ? results.clusters1 : std::vector<int>(), known ? results.clusters2 : std::vector<int>(),
                   [&](int k, int l) {
                     const double v = results.information_value(kind, k, l);
                     return static_cast<float>(nmi ? 1.0 - v : v);
                   });
  } else if (measure == Measure::bk) {
    if (results.has_pair_counts()) bk_curve_ = results.bk_curve();
  } else if (measure == Measure::tanglegram) {
    tanglegram_ = lay_out_trees(results, tangle_);
  } else if (measure != Measure::agreement) {
    table_.emplace(tables_, measure_number(measure));
  }
}

QString Picture::title() const { return QString::fromLatin1(measure_title(measure_)); }

void Picture::draw(QPainter& painter, const QRectF& area) const {
  if (table_) {
    draw_heat_map(painter, *table_, title(), area);
  } else if (measure_ == Measure::bk) {
    draw_bk_plot(painter, bk_curve_, area);
  } else if (tanglegram_) {
    draw_tanglegram(painter, *tanglegram_, tangle_.labels, area);
  } else {
    draw_agreement_plot(painter, tables_, area);
  }
}

std::optional<Cell> Picture::cell_at(const QRectF& area, QPointF point, const QPaintDevice* device) const {
  if (!table_ || table_->empty()) return std::nullopt;
  return lay_out_heat_map(*table_, area, device).cell_at(point);
}

std::optional<QString> Picture::describe_point(const QRectF& area, QPointF point, const QPaintDevice* device) const {
  if (!tanglegram_) return std::nullopt;
  return describe_tanglegram_point(*tanglegram_, tangle_.labels,
                                   lay_out_tanglegram(*tanglegram_, tangle_.labels, area, device), point);
}

QString Picture::describe(Cell cell) const {
  if (!table_) return {};
  return QStringLiteral("clusters %1 and %2, heights %3 and %4, value %5")
      .arg(table_->row_clusters(cell.k))
      .arg(table_->column_clusters(cell.l))
      .arg(height_text(results_.heights1, cell.k), height_text(results_.heights2, cell.l),
           value_text(table_->value(cell.k, cell.l)));
}

}  // namespace console::plots
