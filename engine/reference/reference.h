#pragma once
// The literal comparison: decodes both dendrograms and runs the level-pair
// loop with the straightforward algorithms and their costs. It is kept as
// the reference against which faster engines are checked.
#include "model/tables.h"

namespace compare {

// Compares dendrogram 1 with dendrogram 2. N is file1.object_count; both
// files contribute their first N-1 merge records (file2 must hold at least
// N-1 of them).
ComparisonTables compare_reference(const DendrogramFile& file1, const DendrogramFile& file2);

}  // namespace compare
