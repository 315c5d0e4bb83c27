#pragma once
// Every measure a comparison gives, under the one name that the command
// line, the exports and the bindings use: the five tables of MATRICES.DAT
// in their order, Fowlkes-Mallows, then the two from the contingency table.
#include <array>
#include <optional>
#include <string_view>

namespace compare {

enum class MeasureId { jaccard, rand, euclidean, sorensen, adjusted_rand, fowlkes_mallows, variation_of_information, nmi };

struct MeasureName {
  MeasureId id;
  const char* name;
};

inline constexpr std::array<MeasureName, 8> kMeasureNamesById = {{
    {MeasureId::jaccard, "jaccard"},
    {MeasureId::rand, "rand"},
    {MeasureId::euclidean, "euclidean"},
    {MeasureId::sorensen, "sorensen"},
    {MeasureId::adjusted_rand, "adjusted_rand"},
    {MeasureId::fowlkes_mallows, "fowlkes_mallows"},
    {MeasureId::variation_of_information, "variation_of_information"},
    {MeasureId::nmi, "nmi"},
}};

inline const char* measure_name(MeasureId id) { return kMeasureNamesById[static_cast<int>(id)].name; }

inline std::optional<MeasureId> measure_named(std::string_view name) {
  for (const MeasureName& m : kMeasureNamesById)
    if (name == m.name) return m.id;
  return std::nullopt;
}

// Variation of information and NMI need the contingency sums of an exact
// comparison; the others come from pair counts.
inline bool from_contingency(MeasureId id) { return id >= MeasureId::variation_of_information; }

}  // namespace compare
