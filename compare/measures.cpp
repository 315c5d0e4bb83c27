#include "compare/measures.h"

#include <cmath>
#include <cstdint>

namespace compare {

namespace {

// A cluster count never exceeds N for N >= 1; the bound only matters for a
// degenerate object count.
int within(int count, std::ptrdiff_t extent) {
  return count < extent ? count : static_cast<int>(extent);
}

float squared(float x) { return static_cast<float>(static_cast<double>(x) * x); }

void clear_contingency(IntMatrix table) {
  for (std::ptrdiff_t s = 1; s <= table.extent(1); ++s)
    for (std::ptrdiff_t r = 1; r <= table.extent(0); ++r) table(r, s) = 0;
}

// An object left without a valid label (possible only for a dendrogram that
// never joins its objects) is not counted rather than written outside the
// table.
void count_objects(int object_count, const LabelledPartition& p1, const LabelledPartition& p2,
                   IntMatrix table) {
  for (int i = 1; i <= object_count; ++i) {
    const int r = p1.labels(i);
    const int s = p2.labels(i);
    if (r >= 1 && r <= table.extent(0) && s >= 1 && s <= table.extent(1)) table(r, s) += 1;
  }
}

float row_margins(const ContingencyWork& work, int rows, int columns) {
  float sum_of_squares = 0.0f;
  for (int r = 1; r <= rows; ++r) {
    work.row_sums(r) = 0.0f;
    for (int s = 1; s <= columns; ++s)
      work.row_sums(r) = static_cast<float>(static_cast<double>(work.row_sums(r)) + work.table(r, s));
    sum_of_squares = static_cast<float>(static_cast<double>(sum_of_squares) + squared(work.row_sums(r)));
  }
  return sum_of_squares;
}

float column_margins(const ContingencyWork& work, int rows, int columns) {
  float sum_of_squares = 0.0f;
  for (int s = 1; s <= columns; ++s) {
    work.column_sums(s) = 0.0f;
    for (int r = 1; r <= rows; ++r)
      work.column_sums(s) =
          static_cast<float>(static_cast<double>(work.column_sums(s)) + work.table(r, s));
    sum_of_squares =
        static_cast<float>(static_cast<double>(sum_of_squares) + squared(work.column_sums(s)));
  }
  return sum_of_squares;
}

float cross_term(const ContingencyWork& work, int rows, int columns) {
  float s12 = 0.0f;
  for (int r = 1; r <= rows; ++r) {
    for (int s = 1; s <= columns; ++s) {
      const double product = static_cast<double>(squared(work.column_sums(s))) *
                             static_cast<double>(squared(work.row_sums(r)));
      s12 = static_cast<float>(static_cast<double>(s12) + product);
    }
  }
  return s12;
}

// Beyond N = 1290 the product no longer fits 32 bits.
float cube_term(int object_count) {
  const std::int64_t n = object_count;
  return static_cast<float>(n * (n * n + 1));
}

double expected_agreement(int object_count, const AgreementMeasures& m) {
  const double a = m.a_real;
  const double t1 = 2.0 * static_cast<double>(m.s12) / object_count;
  const double t2 = (static_cast<double>(m.f_real) - (a + 2.0) * m.s1) - (a + 2.0) * m.s2;
  return (t1 + t2) / (2.0 * a);
}

// Divisions by zero are left to give infinities or NaN.
void form_values(AgreementMeasures& m) {
  const double d = m.disagreements;
  const double np = m.pair_count;
  m.values[0] = static_cast<float>(d / m.joined_either);
  m.values[1] = static_cast<float>(d / np);
  m.values[2] = static_cast<float>(std::sqrt(d));
  m.values[3] = static_cast<float>(d / m.joined_sum);
  m.values[4] = static_cast<float>(1.0 - ((np - d) - m.expected) / (np - m.expected));
}

}  // namespace

AgreementMeasures agreement_measures(int object_count, int pair_count, const PairCounts& pairs,
                                     const LabelledPartition& partition1,
                                     const LabelledPartition& partition2,
                                     const ContingencyWork& work) {
  clear_contingency(work.table);
  count_objects(object_count, partition1, partition2, work.table);

  AgreementMeasures m;
  m.pairs = pairs;
  m.pair_count = pair_count;
  m.a_real = static_cast<float>(object_count - 1);
  m.f_real = cube_term(object_count);
  const int rows = within(partition1.cluster_count, work.table.extent(0));
  const int columns = within(partition2.cluster_count, work.table.extent(1));
  m.s1 = row_margins(work, rows, columns);
  m.s2 = column_margins(work, rows, columns);
  m.s12 = cross_term(work, rows, columns);
  m.expected = expected_agreement(object_count, m);

  const int joined1 = pairs.a_plus_b;
  const int joined2 = pairs.a_plus_c;
  m.disagreements = joined1 + joined2 - 2 * pairs.a;
  m.joined_either = joined1 + joined2 - pairs.a;
  m.joined_sum = joined1 + joined2;
  form_values(m);
  return m;
}

}  // namespace compare
