#pragma once
// What a picture shows: the table of one of the five measures, or the
// agreement of all five where both dendrograms have the same number of
// clusters.
#include <optional>
#include <string_view>

namespace console::plots {

// The five in table order (measure m = 1..5), then the line plot.
// After them the two from the contingency table of exact comparisons, NMI
// drawn as one minus it so that, as everywhere, smaller is more alike.
// Then the Fowlkes-Mallows curve; last the two trees face to face.
enum class Measure {
  jaccard = 1,
  rand,
  euclidean,
  sorensen,
  adjusted_rand,
  agreement,
  variation_of_information,
  nmi,
  bk,
  tanglegram
};

inline constexpr int kTableMeasures = 5;

inline int measure_number(Measure measure) { return static_cast<int>(measure); }
inline Measure table_measure(int m) { return static_cast<Measure>(m); }

// The names the command line takes: "jaccard", "rand", "euclidean",
// "sorensen", "adjusted_rand", "agreement", "variation_of_information", "nmi", "bk",
// "tanglegram".
std::string_view measure_name(Measure measure);
std::optional<Measure> parse_measure(std::string_view name);

// The title of the picture: a table's heading as MATRICES.DAT has it,
// without its leading blank ("1 - ADJUSTED RAND"), or "Agreement at equal
// cluster counts".
std::string_view measure_title(Measure measure);

}  // namespace console::plots
