#include "engine/exact/exact_tables.h"

#include <emmintrin.h>

#include <cmath>
#include <type_traits>
#include <vector>

namespace compare::exact {
namespace {

// The adjusted Rand index needs products of pair counts: below 2^31 pairs
// they fit 64 bits, beyond it they take 128.
constexpr std::int64_t kNarrowProducts = std::int64_t(1) << 31;

template <ExactMeasure kMeasure, typename Count>
void fill_row(const Count* both, std::int64_t first, const std::int64_t* second, std::int64_t total, int columns,
              double* out) {
  for (int l = 0; l < columns; ++l) {
    const std::int64_t a = static_cast<std::int64_t>(both[l]), p2 = second[l];
    const std::int64_t disagree = first + p2 - 2 * a;
    if constexpr (kMeasure == ExactMeasure::jaccard) {
      out[l] = static_cast<double>(disagree) / static_cast<double>(first + p2 - a);
    } else if constexpr (kMeasure == ExactMeasure::rand) {
      out[l] = static_cast<double>(disagree) / static_cast<double>(total);
    } else if constexpr (kMeasure == ExactMeasure::euclidean) {
      out[l] = std::sqrt(static_cast<double>(disagree));
    } else if constexpr (kMeasure == ExactMeasure::sorensen) {
      out[l] = static_cast<double>(disagree) / static_cast<double>(first + p2);
    } else if constexpr (kMeasure == ExactMeasure::fowlkes_mallows) {
      out[l] = a == 0 ? 0.0
                      : std::sqrt(static_cast<double>(a) / static_cast<double>(first)) *
                            std::sqrt(static_cast<double>(a) / static_cast<double>(p2));
    } else if (total < kNarrowProducts) {
      const std::int64_t only1 = first - a, only2 = p2 - a, apart = total - first - p2 + a;
      const std::int64_t numerator = 2 * (a * apart - only1 * only2);
      const std::int64_t denominator = first * (only1 + apart) + p2 * (only2 + apart);
      out[l] = denominator == 0 ? 0.0 : 1.0 - static_cast<double>(numerator) / static_cast<double>(denominator);
    } else {
      out[l] = exact_value(ExactMeasure::adjusted_rand, {a, first, p2, total});
    }
  }
}

// Two cells at a time, for counts below 2^31: every sum and difference of
// counts is exact in double precision, so the values are those of the
// integer arithmetic above, to the bit.
template <ExactMeasure kMeasure>
int fill_pairs_of_cells(const std::uint32_t* both, double first, const double* second, double total, int columns,
                        double* out) {
  const __m128d p1 = _mm_set1_pd(first), all = _mm_set1_pd(total), zero = _mm_setzero_pd();
  int l = 0;
  for (; l + 2 <= columns; l += 2) {
    const __m128d a = _mm_cvtepi32_pd(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(both + l)));
    const __m128d p2 = _mm_loadu_pd(second + l);
    const __m128d joined = _mm_add_pd(p1, p2);
    const __m128d disagree = _mm_sub_pd(joined, _mm_add_pd(a, a));
    __m128d value;
    if constexpr (kMeasure == ExactMeasure::jaccard) {
      value = _mm_div_pd(disagree, _mm_sub_pd(joined, a));
    } else if constexpr (kMeasure == ExactMeasure::rand) {
      value = _mm_div_pd(disagree, all);
    } else if constexpr (kMeasure == ExactMeasure::euclidean) {
      value = _mm_sqrt_pd(disagree);
    } else if constexpr (kMeasure == ExactMeasure::sorensen) {
      value = _mm_div_pd(disagree, joined);
    } else {
      value = _mm_mul_pd(_mm_sqrt_pd(_mm_div_pd(a, p1)), _mm_sqrt_pd(_mm_div_pd(a, p2)));
      value = _mm_and_pd(value, _mm_cmpneq_pd(a, zero));
    }
    _mm_storeu_pd(out + l, value);
  }
  return l;
}

template <ExactMeasure kMeasure, typename Count>
void fill_rows(const CountsView& c, int first_row, int last_row, double* out) {
  const int columns = c.both.columns();
  constexpr bool kPairs = std::is_same_v<Count, std::uint32_t> && kMeasure != ExactMeasure::adjusted_rand;
  std::vector<double> second;
  if (kPairs && c.total < kNarrowProducts) second.assign(c.joined2.begin(), c.joined2.end());
  for (int r = first_row; r <= last_row; ++r, out += columns) {
    const Count* both = c.both.row<Count>(r);
    int done = 0;
    if constexpr (kPairs) {
      if (!second.empty())
        done = fill_pairs_of_cells<kMeasure>(both, static_cast<double>(c.joined1[r]), second.data(),
                                             static_cast<double>(c.total), columns, out);
    }
    fill_row<kMeasure>(both + done, c.joined1[r], c.joined2.data() + done, c.total, columns - done, out + done);
  }
}

template <ExactMeasure kMeasure>
void fill_rows_of(const CountsView& c, int first_row, int last_row, double* out) {
  if (c.both.wide())
    fill_rows<kMeasure, std::uint64_t>(c, first_row, last_row, out);
  else
    fill_rows<kMeasure, std::uint32_t>(c, first_row, last_row, out);
}

}  // namespace

void fill_measure_rows(ExactMeasure measure, const CountsView& c, int first_row, int last_row, double* out) {
  switch (measure) {
    case ExactMeasure::jaccard:
      return fill_rows_of<ExactMeasure::jaccard>(c, first_row, last_row, out);
    case ExactMeasure::rand:
      return fill_rows_of<ExactMeasure::rand>(c, first_row, last_row, out);
    case ExactMeasure::euclidean:
      return fill_rows_of<ExactMeasure::euclidean>(c, first_row, last_row, out);
    case ExactMeasure::sorensen:
      return fill_rows_of<ExactMeasure::sorensen>(c, first_row, last_row, out);
    case ExactMeasure::adjusted_rand:
      return fill_rows_of<ExactMeasure::adjusted_rand>(c, first_row, last_row, out);
    case ExactMeasure::fowlkes_mallows:
      return fill_rows_of<ExactMeasure::fowlkes_mallows>(c, first_row, last_row, out);
  }
}

}  // namespace compare::exact
