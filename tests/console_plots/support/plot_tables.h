#pragma once
// Tables made by hand for the pictures' tests, and the application their
// fonts need.
#include <functional>
#include <vector>

#include "engine/engine.h"

namespace console::plots::test {

// Tables of rows x columns compared levels (L1 = rows + 1, L2 = columns + 1)
// with the given cluster counts and value(m, k, l) for every measure.
compare::ComparisonTables make_tables(const std::vector<int>& row_clusters, const std::vector<int>& column_clusters,
                                      const std::function<float(int m, int k, int l)>& value);

// The same as the results of a run, with heights 0.5 k and 0.25 l.
compare::Comparison make_results(compare::ComparisonTables tables);

// The comparison of the two five-object dendrograms in examples/.
compare::Comparison five_object_results();

}  // namespace console::plots::test
