#include "compare/minimum.h"

namespace compare {

void start_minima(std::array<MinimumRecord, kMeasureCount>& minima) {
  minima.fill(MinimumRecord{100.0f, 0, 0});
}

void update_minimum(MinimumRecord& record, float value, int clusters1, int clusters2) {
  if (value < record.smallest) {
    record.smallest = value;
    record.clusters1 = clusters1;
    record.clusters2 = clusters2;
  }
}

}  // namespace compare
