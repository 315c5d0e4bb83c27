#pragma once
// The search for the smallest value of each measure over the level pairs.
#include <array>

#include "model/tables.h"

namespace compare {

// Every smallest value starts at 100.0 with cluster counts 0.
void start_minima(std::array<MinimumRecord, kMeasureCount>& minima);

// Takes the value when it is strictly below the record's, so that the first
// level pair in loop order wins ties and NaN never replaces anything.
void update_minimum(MinimumRecord& record, float value, int clusters1, int clusters2);

}  // namespace compare
