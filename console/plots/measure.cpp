#include "console/plots/measure.h"

#include <array>

namespace console::plots {

namespace {

struct MeasureNames {
  Measure measure;
  std::string_view name;
  std::string_view title;
};

constexpr std::array<MeasureNames, 10> kNames = {{
    {Measure::jaccard, "jaccard", "1 - jaccard"},
    {Measure::rand, "rand", "1 - simple match = 1 - RAND"},
    {Measure::euclidean, "euclidean", "Euclidean"},
    {Measure::sorensen, "sorensen", "1 - Sorensen"},
    {Measure::adjusted_rand, "adjusted_rand", "1 - ADJUSTED RAND"},
    {Measure::agreement, "agreement", "Agreement at equal cluster counts"},
    {Measure::variation_of_information, "variation_of_information", "Variation of information"},
    {Measure::nmi, "nmi", "1 - normalized mutual information"},
    {Measure::bk, "bk", "Fowlkes-Mallows Bk with its expectation and 2 standard deviations"},
    {Measure::tanglegram, "tanglegram", "Tanglegram"},
}};

const MeasureNames& names_of(Measure measure) { return kNames[static_cast<std::size_t>(measure) - 1]; }

}  // namespace

std::string_view measure_name(Measure measure) { return names_of(measure).name; }

std::string_view measure_title(Measure measure) { return names_of(measure).title; }

std::optional<Measure> parse_measure(std::string_view name) {
  for (const MeasureNames& entry : kNames) {
    if (entry.name == name) return entry.measure;
  }
  return std::nullopt;
}

}  // namespace console::plots
