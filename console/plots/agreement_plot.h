#pragma once
// "Agreement at equal cluster counts": where both dendrograms are cut into
// the same number of clusters, each measure's value there, one line per
// measure against that number. The Euclidean distance counts pairs, not a
// share of them, so it has an axis of its own on the right.
#include <QRectF>
#include <QString>
#include <vector>

#include "model/tables.h"

class QPainter;

namespace console::plots {

// A level of each dendrogram with the same number of clusters.
struct EqualCount {
  int clusters = 0;
  int k = 0;  // level of dendrogram 1
  int l = 0;  // level of dendrogram 2
};

// In the order of dendrogram 1's levels, so of falling cluster counts.
std::vector<EqualCount> equal_count_levels(const compare::ComparisonTables& tables);

// Draws the plot over area, on a white ground.
void draw_agreement_plot(QPainter& painter, const compare::ComparisonTables& tables, const QRectF& area);

// The legend's entries, by measure 1..5.
QString agreement_line_label(int m);

}  // namespace console::plots
