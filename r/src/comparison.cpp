// The comparison for R: the engine runs on the calling thread's behalf with
// a progress callback that watches for R's interrupt (Ctrl+C) without ever
// letting R jump across the engine's frames, and its results become R
// matrices (row i the first dendrogram's compared level, column j the
// second's, R's column-major order).
#include <R_ext/Utils.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "binding.h"
#include "engine/engine.h"
#include "formats/matrices_writer.h"

namespace dendro_r {
namespace {

using compare::Comparison;
using compare::kMeasureCount;

constexpr std::array<const char*, compare::kExactMeasureCount> kMeasureNames = {
    "jaccard", "rand", "euclidean", "sorensen", "adjusted_rand", "fowlkes_mallows"};

void check_interrupt(void*) { R_CheckUserInterrupt(); }

// R_CheckUserInterrupt jumps to the top level when the user pressed Ctrl+C;
// R_ToplevelExec catches that jump here and tells us instead.
bool interrupt_pending() { return R_ToplevelExec(check_interrupt, nullptr) == FALSE; }

// Shows "Comparing: 37% (level 740 of 1999)" on the console, or calls the
// user's function(done, total); stops the engine on an interrupt or when
// that function fails.
class ProgressWatch {
 public:
  ProgressWatch(SEXP progress, SEXP environment) : progress_(progress), environment_(environment) {}

  bool operator()(int done, int total) {
    if (interrupt_pending()) return stop("interrupt", "comparison interrupted");
    if (Rf_isFunction(progress_)) return call_user(done, total);
    if (Rf_asLogical(progress_) == TRUE && total > 0) {
      REprintf("\rComparing: %d%% (level %d of %d)", static_cast<int>(100.0 * done / total), done, total);
      shown_ = true;
    }
    return true;
  }

  ~ProgressWatch() {
    if (shown_) REprintf("\n");
  }

  const std::string& stop_kind() const { return stop_kind_; }
  const std::string& stop_message() const { return stop_message_; }

 private:
  bool call_user(int done, int total) {
    Rcpp::Shield<SEXP> call(Rf_lang3(progress_, Rf_ScalarInteger(done), Rf_ScalarInteger(total)));
    int failed = 0;
    R_tryEvalSilent(call, environment_, &failed);
    if (failed) return stop("progress", std::string("the progress function failed: ") + R_curErrorBuf());
    return true;
  }

  bool stop(const char* kind, const std::string& message) {
    stop_kind_ = kind;
    stop_message_ = message;
    return false;
  }

  SEXP progress_, environment_;
  bool shown_ = false;
  std::string stop_kind_ = "interrupt", stop_message_ = "comparison interrupted";
};

// Measure m at every compared level pair. The engine fills row-major in
// one call on all threads; the turn into R's column-major order goes a
// block at a time to stay within the cache.
Rcpp::NumericMatrix exact_matrix(const Comparison& c, compare::ExactMeasure measure,
                                 compare::exact::LargeBuffer& filled) {
  const int rows = c.rows(), columns = c.columns();
  Rcpp::NumericMatrix out = Rcpp::no_init_matrix(rows, columns);
  const std::size_t bytes = static_cast<std::size_t>(rows) * columns * sizeof(double);
  // Fresh pages fault one by one on a first write unless huge pages back them.
  compare::exact::advise_huge_pages(out.begin(), bytes);
  if (filled.size() < bytes) filled = compare::exact::LargeBuffer(bytes);
  compare::fill_exact_rows(c, measure, 1, rows, filled.as<double>());
  constexpr int kBlock = 64;
  double* to = out.begin();
  for (int k0 = 0; k0 < rows; k0 += kBlock)
    for (int l0 = 0; l0 < columns; l0 += kBlock)
      for (int l = l0; l < std::min(columns, l0 + kBlock); ++l)
        for (int k = k0; k < std::min(rows, k0 + kBlock); ++k)
          to[static_cast<std::size_t>(l) * rows + k] = filled.as<double>()[static_cast<std::size_t>(k) * columns + l];
  return out;
}

// The single-precision value of measure m (0-based) as a double, exactly.
Rcpp::NumericMatrix single_matrix(const Comparison& c, int m) {
  Rcpp::NumericMatrix out = Rcpp::no_init_matrix(c.rows(), c.columns());
  for (int l = 1; l <= c.columns(); ++l)
    for (int k = 1; k <= c.rows(); ++k) out(k - 1, l - 1) = c.tables.value(m + 1, k, l);
  return out;
}

// Named here rather than in R, where naming would copy every table.
Rcpp::List tables_of(const Comparison& c) {
  Rcpp::List tables(compare::kExactMeasureCount);
  compare::exact::LargeBuffer filled;
  const Rcpp::List dimnames = Rcpp::List::create(Rcpp::Named("clusters1") = Rcpp::as<Rcpp::CharacterVector>(Rcpp::IntegerVector(Rcpp::wrap(c.clusters1))),
                                                 Rcpp::Named("clusters2") = Rcpp::as<Rcpp::CharacterVector>(Rcpp::IntegerVector(Rcpp::wrap(c.clusters2))));
  for (int m = 0; m < compare::kExactMeasureCount; ++m) {
    const bool single = c.precision == compare::Precision::single && m < kMeasureCount;
    Rcpp::NumericMatrix table = single ? single_matrix(c, m) : exact_matrix(c, static_cast<compare::ExactMeasure>(m), filled);
    table.attr("dimnames") = dimnames;
    tables[m] = table;
  }
  tables.names() = Rcpp::CharacterVector(kMeasureNames.begin(), kMeasureNames.end());
  return tables;
}

// value, clusters1, clusters2 of each measure's first smallest value; NA
// where no level pair was compared.
Rcpp::List minima_of(const Comparison& c) {
  Rcpp::NumericVector value(kMeasureCount);
  Rcpp::IntegerVector clusters1(kMeasureCount), clusters2(kMeasureCount);
  const auto exact = c.precision == compare::Precision::exact ? compare::exact_minima(c)
                                                               : std::array<compare::ExactMinimum, kMeasureCount>{};
  for (int m = 0; m < kMeasureCount; ++m) {
    if (c.precision == compare::Precision::single) {
      const compare::MinimumRecord& r = c.tables.minima[m];
      value[m] = r.clusters1 == 0 ? NA_REAL : r.smallest;
      clusters1[m] = r.clusters1 == 0 ? NA_INTEGER : r.clusters1;
      clusters2[m] = r.clusters1 == 0 ? NA_INTEGER : r.clusters2;
    } else {
      value[m] = exact[m].found ? exact[m].smallest : NA_REAL;
      clusters1[m] = exact[m].found ? exact[m].clusters1 : NA_INTEGER;
      clusters2[m] = exact[m].found ? exact[m].clusters2 : NA_INTEGER;
    }
  }
  return Rcpp::List::create(Rcpp::Named("measure") = Rcpp::CharacterVector(kMeasureNames.begin(), kMeasureNames.end() - 1),
                            Rcpp::Named("value") = value, Rcpp::Named("clusters1") = clusters1,
                            Rcpp::Named("clusters2") = clusters2);
}

// What write_matrices needs beyond the tables themselves, exactly as the
// engine had it.
SEXP matrices_record(const Comparison& c) {
  if (c.precision != compare::Precision::single) return R_NilValue;
  Rcpp::NumericVector smallest(kMeasureCount);
  Rcpp::IntegerVector clusters1(kMeasureCount), clusters2(kMeasureCount);
  for (int m = 0; m < kMeasureCount; ++m) {
    smallest[m] = c.tables.minima[m].smallest;
    clusters1[m] = c.tables.minima[m].clusters1;
    clusters2[m] = c.tables.minima[m].clusters2;
  }
  return Rcpp::List::create(
      Rcpp::Named("levels") = Rcpp::IntegerVector::create(c.tables.levels1, c.tables.levels2),
      Rcpp::Named("cluster_counts1") = Rcpp::wrap(c.tables.cluster_counts1),
      Rcpp::Named("cluster_counts2") = Rcpp::wrap(c.tables.cluster_counts2), Rcpp::Named("smallest") = smallest,
      Rcpp::Named("clusters1") = clusters1, Rcpp::Named("clusters2") = clusters2);
}

Rcpp::List result_of(const Comparison& c) {
  return Rcpp::List::create(
      Rcpp::Named("tables") = tables_of(c), Rcpp::Named("clusters1") = Rcpp::wrap(c.clusters1),
      Rcpp::Named("clusters2") = Rcpp::wrap(c.clusters2),
      Rcpp::Named("heights1") = Rcpp::NumericVector(c.heights1.begin(), c.heights1.end()),
      Rcpp::Named("heights2") = Rcpp::NumericVector(c.heights2.begin(), c.heights2.end()),
      Rcpp::Named("levels") = Rcpp::IntegerVector::create(c.levels1, c.levels2),
      Rcpp::Named("base_level") = Rcpp::IntegerVector::create(c.base_level1, c.base_level2),
      Rcpp::Named("object_count") = static_cast<double>(c.object_count), Rcpp::Named("minima") = minima_of(c),
      Rcpp::Named("matrices") = matrices_record(c));
}

Rcpp::List failure(const std::string& kind, const std::string& message) {
  Rcpp::List f = Rcpp::List::create(Rcpp::Named("kind") = kind, Rcpp::Named("message") = message);
  f.attr("class") = "dendrocompare_failure";
  return f;
}

}  // namespace

SEXP guarded(const std::function<SEXP()>& body) {
  try {
    return body();
  } catch (const compare::InputError& e) {
    return failure("input", e.what());
  } catch (const compare::OutputError& e) {
    return failure("output", e.what());
  } catch (const compare::Cancelled& e) {
    return failure("interrupt", e.what());
  } catch (const std::exception& e) {
    return failure("internal", e.what());
  }
}

}  // namespace dendro_r

extern "C" SEXP dc_compare(SEXP spec1, SEXP spec2, SEXP exact, SEXP max_clusters, SEXP threads, SEXP progress,
                           SEXP environment) {
  dendro_r::ProgressWatch watch(progress, environment);
  return dendro_r::guarded([&]() -> SEXP {
    const compare::DendrogramFile first = dendro_r::dendrogram_from(spec1);
    const compare::DendrogramFile second = dendro_r::dendrogram_from(spec2);
    if (first.object_count == second.object_count)
      compare::check_levels_to_compare(first, Rcpp::as<std::string>(Rcpp::List(spec1)["source"]), second,
                                       Rcpp::as<std::string>(Rcpp::List(spec2)["source"]));
    compare::CompareOptions options;
    options.threads = Rf_asInteger(threads);
    options.precision = Rf_asLogical(exact) == TRUE ? compare::Precision::exact : compare::Precision::single;
    options.keep_pair_counts = true;  // Fowlkes-Mallows beside the single-precision tables
    options.max_clusters = Rf_asInteger(max_clusters);
    options.progress = [&watch](int done, int total) { return watch(done, total); };
    compare::Comparison result;
    try {
      result = compare::run_comparison(first, second, options);
    } catch (const compare::Cancelled&) {
      return dendro_r::failure(watch.stop_kind(), watch.stop_message());
    }
    return dendro_r::result_of(result);
  });
}

// MATRICES.DAT from what an exact = FALSE comparison gave R: the doubles
// are the engine's 4-byte values, so they go back to them exactly.
extern "C" SEXP dc_write_matrices(SEXP tables, SEXP record, SEXP path) {
  return dendro_r::guarded([&]() -> SEXP {
    const Rcpp::List t(tables), r(record);
    compare::ComparisonTables out;
    const Rcpp::IntegerVector levels = r["levels"];
    out.levels1 = levels[0];
    out.levels2 = levels[1];
    out.cluster_counts1 = Rcpp::as<std::vector<int>>(r["cluster_counts1"]);
    out.cluster_counts2 = Rcpp::as<std::vector<int>>(r["cluster_counts2"]);
    const Rcpp::NumericVector smallest = r["smallest"];
    const Rcpp::IntegerVector clusters1 = r["clusters1"], clusters2 = r["clusters2"];
    for (int m = 0; m < compare::kMeasureCount; ++m)
      out.minima[m] = {static_cast<float>(smallest[m]), clusters1[m], clusters2[m]};
    const std::size_t rows = out.compared_rows(), columns = out.compared_columns();
    out.values.resize(rows * columns * compare::kMeasureCount);
    for (int m = 0; m < compare::kMeasureCount; ++m) {
      const Rcpp::NumericMatrix table = t[m];
      for (std::size_t k = 0; k < rows; ++k)
        for (std::size_t l = 0; l < columns; ++l)
          out.values[(k * columns + l) * compare::kMeasureCount + m] = static_cast<float>(table(k, l));
    }
    compare::write_matrices(out, Rcpp::as<std::string>(path));
    return R_NilValue;
  });
}
