#pragma once
// MATRICES.DAT for a front end that has a comparison's tables: the results
// file written through the record I/O runtime under its lock, its failure
// an OutputError.
#include <string>

#include "model/tables.h"
#include "outputs/run_outputs.h"

namespace compare {

// Writes MATRICES.DAT's records for the tables to the sink through the
// record I/O runtime. Throws OutputError naming the sink and the fault.
void write_matrices(const ComparisonTables& tables, const outputs::Sink& sink);

// The same to path on its own, put in place once complete.
void write_matrices(const ComparisonTables& tables, const std::string& path);

}  // namespace compare
