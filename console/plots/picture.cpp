#include "console/plots/picture.h"

#include <QPainter>

#include "console/plots/agreement_plot.h"
#include "console/plots/bk_plot.h"
#include "console/plots/picture_style.h"

namespace console::plots {

namespace {

QString height_text(const std::vector<float>& heights, int level) {
  if (level < 1 || static_cast<std::size_t>(level) > heights.size()) return QStringLiteral("?");
  return QString::number(static_cast<double>(heights[static_cast<std::size_t>(level - 1)]), 'g', 6);
}

}  // namespace

namespace {

bool draws_tables(Measure measure) {
  return measure != Measure::variation_of_information && measure != Measure::nmi && measure != Measure::bk;
}

// The five tables of an exact comparison take as much memory again as its
// counts: made only for a picture that draws them.
std::optional<compare::ComparisonTables> exact_tables_of(const compare::Comparison& results, Measure measure) {
  if (results.precision == compare::Precision::single || !draws_tables(measure)) return std::nullopt;
  return compare::tables_for_display(results);
}

}  // namespace

Picture::Picture(const compare::Comparison& results, Measure measure)
    : results_(results),
      exact_tables_(exact_tables_of(results, measure)),
      tables_(exact_tables_ ? *exact_tables_ : results.tables),
      measure_(measure) {
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
  } else {
    draw_agreement_plot(painter, tables_, area);
  }
}

std::optional<Cell> Picture::cell_at(const QRectF& area, QPointF point, const QPaintDevice* device) const {
  if (!table_ || table_->empty()) return std::nullopt;
  return lay_out_heat_map(*table_, area, device).cell_at(point);
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
