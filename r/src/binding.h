#pragma once
// The R package's compiled side: R's data in, the engine's DendrogramFile
// out, and every engine failure handed back to R as a value (never a C++
// exception or a longjmp across the engine), which R then raises as a
// classed condition.
#include <Rcpp.h>

#include <functional>
#include <string>

#include "model/tables.h"

namespace dendro_r {

// Runs body; an InputError, OutputError, Cancelled or other exception
// becomes list(kind, message) of class "dendrocompare_failure".
SEXP guarded(const std::function<SEXP()>& body);

// One dendrogram from the list R made of it: kind "hclust" (merge, height),
// "linkage" (a row-major scipy linkage matrix) or "records" (our own
// format's object count, merge records and heights).
compare::DendrogramFile dendrogram_from(const Rcpp::List& spec);

// list(kind = "records", object_count, records (M x 4), heights) for R.
Rcpp::List records_of(const compare::DendrogramFile& file);

}  // namespace dendro_r
