// The comparison for R: the engine runs on the calling thread's behalf with
// a progress callback that watches for R's interrupt (Ctrl+C) without ever
// letting R jump across the engine's frames, and its results become R
// matrices (row i the first dendrogram's compared level, column j the
// second's, R's column-major order).
#include <R_ext/Utils.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "binding.h"
#include "engine/engine.h"
#include "engine/exact/parallel_tasks.h"
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

// One table at every compared level pair, straight into R's column-major
// matrix: the engine fills a band of rows at a time into a small buffer of
// each thread's own, which is then turned into the band's columns, so no
// table-sized buffer is written and read again.
using RowFill = std::function<void(int first_row, int last_row, double* out)>;

Rcpp::NumericMatrix filled_matrix(const Comparison& c, const RowFill& fill) {
  const int rows = c.rows(), columns = c.columns();
  Rcpp::NumericMatrix out = Rcpp::no_init_matrix(rows, columns);
  const std::size_t bytes = static_cast<std::size_t>(rows) * columns * sizeof(double);
  // Fresh pages fault one by one on a first write unless huge pages back them.
  compare::exact::advise_huge_pages(out.begin(), bytes);
  constexpr int kBand = 32;
  const int bands = (rows + kBand - 1) / kBand;
  const int threads = compare::exact::thread_count(0);
  std::vector<std::vector<double>> buffers(static_cast<std::size_t>(threads),
                                           std::vector<double>(static_cast<std::size_t>(kBand) * columns));
  double* to = out.begin();
  compare::exact::run_tasks(bands, threads, [&](int band, int worker) {
    const int first = band * kBand, last = std::min(rows, first + kBand);
    double* rows_of_band = buffers[static_cast<std::size_t>(worker)].data();
    fill(first + 1, last, rows_of_band);
    for (int l = 0; l < columns; ++l)
      for (int k = first; k < last; ++k)
        to[static_cast<std::size_t>(l) * rows + k] = rows_of_band[static_cast<std::size_t>(k - first) * columns + l];
  }, {});
  return out;
}

Rcpp::NumericMatrix exact_matrix(const Comparison& c, compare::ExactMeasure measure) {
  return filled_matrix(c, [&](int first, int last, double* out) {
    compare::fill_exact_rows(c, measure, first, last, out, 1);
  });
}

Rcpp::NumericMatrix information_matrix(const Comparison& c, compare::InformationMeasure measure) {
  return filled_matrix(c, [&](int first, int last, double* out) {
    compare::fill_information_rows(c, measure, first, last, out, 1);
  });
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
  const Rcpp::List dimnames = Rcpp::List::create(Rcpp::Named("clusters1") = Rcpp::as<Rcpp::CharacterVector>(Rcpp::IntegerVector(Rcpp::wrap(c.clusters1))),
                                                 Rcpp::Named("clusters2") = Rcpp::as<Rcpp::CharacterVector>(Rcpp::IntegerVector(Rcpp::wrap(c.clusters2))));
  for (int m = 0; m < compare::kExactMeasureCount; ++m) {
    const bool single = c.precision == compare::Precision::single && m < kMeasureCount;
    Rcpp::NumericMatrix table = single ? single_matrix(c, m) : exact_matrix(c, static_cast<compare::ExactMeasure>(m));
    table.attr("dimnames") = dimnames;
    tables[m] = table;
  }
  Rcpp::CharacterVector names(kMeasureNames.begin(), kMeasureNames.end());
  if (c.has_information()) {
    for (const auto& [name, measure] : {std::pair{"variation_of_information", compare::InformationMeasure::variation_of_information},
                                        std::pair{"nmi", compare::InformationMeasure::nmi}}) {
      Rcpp::NumericMatrix table = information_matrix(c, measure);
      table.attr("dimnames") = dimnames;
      tables.push_back(table);
      names.push_back(name);
    }
  }
  tables.names() = names;
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

// The comparison itself, kept for what R asks of it later (the Bk curve,
// the correlations); gone once the result is saved and restored.
SEXP engine_handle(Comparison&& c) {
  return Rcpp::XPtr<Comparison>(new Comparison(std::move(c)), true);
}

const Comparison& comparison_of(SEXP handle) {
  if (TYPEOF(handle) != EXTPTRSXP || R_ExternalPtrAddr(handle) == nullptr)
    throw compare::InputError("this result no longer holds its comparison (results saved and restored lose it): "
                              "compare the dendrograms again");
  return *static_cast<const Comparison*>(R_ExternalPtrAddr(handle));
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
    compare::CompareOptions options;
    options.threads = Rf_asInteger(threads);
    options.precision = Rf_asLogical(exact) == TRUE ? compare::Precision::exact : compare::Precision::single;
    options.keep_pair_counts = true;  // Fowlkes-Mallows beside the single-precision tables
    options.information = options.precision == compare::Precision::exact;  // variation of information, NMI
    options.max_clusters = Rf_asInteger(max_clusters);
    options.progress = [&watch](int done, int total) { return watch(done, total); };
    compare::Comparison result;
    try {
      result = compare::run_comparison(first, second, options);
    } catch (const compare::Cancelled&) {
      return dendro_r::failure(watch.stop_kind(), watch.stop_message());
    }
    Rcpp::List out = dendro_r::result_of(result);
    out["engine"] = dendro_r::engine_handle(std::move(result));
    return out;
  });
}

// The Fowlkes-Mallows curve with its band at sd standard deviations.
extern "C" SEXP dc_bk(SEXP handle, SEXP sd) {
  return dendro_r::guarded([&]() -> SEXP {
    const std::vector<compare::BkPoint> curve = dendro_r::comparison_of(handle).bk_curve();
    const double deviations = Rf_asReal(sd);
    Rcpp::IntegerVector k;
    Rcpp::NumericVector bk, expected, variance, lower, upper;
    for (const compare::BkPoint& p : curve) {
      const double spread = deviations * std::sqrt(std::max(0.0, p.variance));
      k.push_back(p.k);
      bk.push_back(p.bk);
      expected.push_back(p.expected);
      variance.push_back(p.variance);
      lower.push_back(p.expected - spread);
      upper.push_back(p.expected + spread);
    }
    return Rcpp::List::create(Rcpp::Named("k") = k, Rcpp::Named("bk") = bk, Rcpp::Named("expected") = expected,
                              Rcpp::Named("variance") = variance, Rcpp::Named("lower") = lower,
                              Rcpp::Named("upper") = upper);
  });
}

// Cophenetic Pearson and Spearman correlations and Baker's gamma.
extern "C" SEXP dc_correlations(SEXP handle) {
  return dendro_r::guarded([&]() -> SEXP {
    const compare::exact::TreeCorrelations c = dendro_r::comparison_of(handle).correlations();
    return Rcpp::NumericVector::create(Rcpp::Named("pearson") = c.cophenetic_pearson,
                                       Rcpp::Named("spearman") = c.cophenetic_spearman,
                                       Rcpp::Named("bakers_gamma") = c.bakers_gamma);
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
