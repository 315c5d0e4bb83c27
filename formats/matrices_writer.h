#pragma once
// MATRICES.DAT for a front end that has a comparison's tables: the results
// file written through the record I/O runtime under its lock, its failure
// an OutputError.
#include <string>

#include "model/tables.h"

namespace compare {

// Writes MATRICES.DAT's records for the tables to `path` through the record
// I/O runtime: to a temporary file in the same directory, renamed over path
// once complete. Throws OutputError naming the path and the fault.
void write_matrices(const ComparisonTables& tables, const std::string& path);

}  // namespace compare
