// Comparison: one run of the engine, its five single-precision tables as
// read-only NumPy views of the engine's own storage (so write_matrices
// writes exactly what Python sees), the exact double-precision values from
// the pair counts, and the comparison itself with the GIL released.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cmath>
#include <array>
#include <string>
#include <utility>

#include "bindings.h"
#include "engine/engine.h"
#include "formats/matrices_writer.h"

namespace dendro_python {
namespace {

using compare::Comparison;
using compare::DendrogramFile;
using compare::ExactValues;
using compare::kMeasureCount;

// The measures' keys, the names every front end uses: the five tables in
// the order of MATRICES.DAT, then Fowlkes-Mallows.
const char* measure_key(int m) { return compare::measure_name(static_cast<compare::MeasureId>(m)); }

int measure_number(const std::string& name) {
  for (int m = 0; m < kMeasureCount; ++m)
    if (name == measure_key(m)) return m + 1;
  throw py::value_error("unknown measure '" + name +
                        "'; the measures are jaccard, rand, euclidean, sorensen, adjusted_rand");
}

py::array read_only(py::array array) {
  array.attr("setflags")(py::arg("write") = false);
  return array;
}

// One exact measure over all compared level pairs, float64, computed from
// the pair counts without the GIL into memory that needs no clearing.
py::array exact_table(const Comparison& c, compare::ExactMeasure measure) {
  const auto rows = static_cast<py::ssize_t>(c.rows()), columns = static_cast<py::ssize_t>(c.columns());
  if (rows == 0 || columns == 0) return read_only(py::array_t<double>({rows, columns}));
  auto* buffer = new compare::exact::LargeBuffer(static_cast<std::size_t>(rows * columns) * sizeof(double));
  py::capsule owner(buffer, [](void* p) { delete static_cast<compare::exact::LargeBuffer*>(p); });
  {
    py::gil_scoped_release release;
    compare::fill_exact_rows(c, measure, 1, c.rows(), buffer->as<double>());
  }
  return read_only(py::array_t<double>({rows, columns}, buffer->as<double>(), owner));
}

py::array information_table(const Comparison& c, compare::InformationMeasure measure) {
  const auto rows = static_cast<py::ssize_t>(c.rows()), columns = static_cast<py::ssize_t>(c.columns());
  if (rows == 0 || columns == 0) return read_only(py::array_t<double>({rows, columns}));
  if (!c.has_information())
    throw py::value_error("variation of information and NMI come from exact comparisons: compare(..., exact=True)");
  auto* buffer = new compare::exact::LargeBuffer(static_cast<std::size_t>(rows * columns) * sizeof(double));
  py::capsule owner(buffer, [](void* p) { delete static_cast<compare::exact::LargeBuffer*>(p); });
  {
    py::gil_scoped_release release;
    compare::fill_information_rows(c, measure, 1, c.rows(), buffer->as<double>());
  }
  return read_only(py::array_t<double>({rows, columns}, buffer->as<double>(), owner));
}

py::object cached_information_table(const py::object& self, compare::InformationMeasure measure) {
  const std::string key = measure == compare::InformationMeasure::nmi ? "_exact_nmi" : "_exact_vi";
  py::dict attributes = self.attr("__dict__");
  if (!attributes.contains(key))
    attributes[key.c_str()] = information_table(self.cast<const Comparison&>(), measure);
  return attributes[key.c_str()];
}

// The correlations over all object pairs take a pass of their own: worked
// out once, on first use, without the GIL.
py::tuple cached_correlations(const py::object& self) {
  py::dict attributes = self.attr("__dict__");
  if (!attributes.contains("_correlations")) {
    compare::exact::TreeCorrelations found;
    {
      py::gil_scoped_release release;
      found = self.cast<const Comparison&>().correlations();
    }
    attributes["_correlations"] = py::make_tuple(found.cophenetic_pearson, found.cophenetic_spearman, found.bakers_gamma);
  }
  return attributes["_correlations"].cast<py::tuple>();
}

double cophenetic_correlation(const py::object& self, const std::string& method) {
  const py::tuple found = cached_correlations(self);
  if (method == "pearson") return found[0].cast<double>();
  if (method == "spearman") return found[1].cast<double>();
  throw py::value_error("unknown method '" + method + "'; the methods are pearson and spearman");
}

struct BkRecord {
  std::int32_t k;
  double bk, expected, variance, lower, upper;
};

py::array bk_table(const Comparison& c, double sd) {
  if (!(sd >= 0)) throw py::value_error("sd must be a number of standard deviations, 0 or more");
  const std::vector<compare::BkPoint> curve = c.bk_curve();
  py::array_t<BkRecord> table(static_cast<py::ssize_t>(curve.size()));
  auto rows = table.mutable_unchecked<1>();
  for (std::size_t i = 0; i < curve.size(); ++i) {
    const compare::BkPoint& p = curve[i];
    const double spread = sd * std::sqrt(std::max(0.0, p.variance));
    rows(static_cast<py::ssize_t>(i)) = {p.k, p.bk, p.expected, p.variance, p.expected - spread, p.expected + spread};
  }
  return table;
}

// Each exact table is worked out on first use and kept with the comparison.
py::object cached_exact_table(const py::object& self, compare::ExactMeasure measure) {
  const std::string key = std::string("_exact_") + measure_key(static_cast<int>(measure));
  py::dict attributes = self.attr("__dict__");
  if (!attributes.contains(key)) attributes[key.c_str()] = exact_table(self.cast<const Comparison&>(), measure);
  return attributes[key.c_str()];
}

// Measure m (1..5) over all compared level pairs: the exact float64 table,
// or for a single-precision comparison a strided view into the (k, l, m)
// value table that keeps `owner` alive.
py::object measure_view(const py::object& owner, int m) {
  const Comparison& c = owner.cast<const Comparison&>();
  if (c.precision == compare::Precision::exact) return cached_exact_table(owner, static_cast<compare::ExactMeasure>(m - 1));
  const auto rows = static_cast<py::ssize_t>(c.rows());
  const auto columns = static_cast<py::ssize_t>(c.columns());
  if (c.tables.values.empty()) return read_only(py::array_t<float>({rows, columns}));
  const auto cell = static_cast<py::ssize_t>(kMeasureCount * sizeof(float));
  return read_only(py::array_t<float>({rows, columns}, {columns * cell, cell}, c.tables.values.data() + (m - 1),
                                      owner));
}

template <typename T>
py::array_t<T> vector_copy(const std::vector<T>& values) {
  return py::array_t<T>(static_cast<py::ssize_t>(values.size()), values.data());
}

// The double-precision values of the chosen members at every level pair.
py::dict exact_tables(const py::object& self, std::size_t first_member, std::size_t member_end) {
  py::dict result;
  for (std::size_t i = first_member; i < member_end; ++i)
    result[measure_key(i)] = cached_exact_table(self, static_cast<compare::ExactMeasure>(i));
  return result;
}

py::dict minima(const Comparison& c) {
  py::dict result;
  if (c.precision == compare::Precision::exact) {
    const auto found = compare::exact_minima(c);
    for (int m = 0; m < kMeasureCount; ++m)
      result[measure_key(m)] = found[m].found ? py::make_tuple(found[m].smallest, found[m].clusters1, found[m].clusters2)
                                                : py::make_tuple(100.0, 0, 0);
    return result;
  }
  for (int m = 0; m < kMeasureCount; ++m) {
    const compare::MinimumRecord& r = c.tables.minima[m];
    result[measure_key(m)] = py::make_tuple(static_cast<double>(r.smallest), r.clusters1, r.clusters2);
  }
  return result;
}

template <typename Count>
py::array count_array(const compare::PairCountTable& table) {
  py::array_t<Count> array({static_cast<py::ssize_t>(table.rows()), static_cast<py::ssize_t>(table.columns())});
  Count* out = array.mutable_data();
  for (int k = 0; k < table.rows(); ++k)
    for (int l = 0; l < table.columns(); ++l) *out++ = static_cast<Count>(table.at(k, l));
  return array;
}

py::dict pair_counts(const Comparison& c) {
  py::dict result;
  const bool wide = compare::PairCountTable::needs_wide(c.pair_count());
  result["joined_both"] = wide ? count_array<std::uint64_t>(c.joined_both) : count_array<std::uint32_t>(c.joined_both);
  result["joined1"] = vector_copy(c.joined1);
  result["joined2"] = vector_copy(c.joined2);
  return result;
}

void write_matrices(const Comparison& c, const std::string& path) {
  if (c.precision == compare::Precision::exact)
    throw py::value_error(
        "write_matrices needs the single-precision tables of MATRICES.DAT, which an exact comparison does not "
        "compute: compare(first, second, exact=False).write_matrices(path)");
  py::gil_scoped_release release;
  compare::write_matrices(c.tables, path);
}

// Runs on the comparing thread, which holds no GIL while the engine works:
// takes the GIL, calls the user's progress callable, and lets Python's
// signal handlers run, so that Ctrl+C cancels. Whatever they raise is kept
// and raised again once the engine has stopped.
class ProgressBridge {
 public:
  explicit ProgressBridge(py::object progress) : progress_(std::move(progress)) {}

  bool operator()(int done, int total) {
    py::gil_scoped_acquire acquire;
    if (!progress_.is_none()) {
      try {
        progress_(done, total);
      } catch (py::error_already_set& e) {
        e.restore();
        keep_python_error();
        return false;
      }
    }
    if (PyErr_CheckSignals() != 0) {
      keep_python_error();
      return false;
    }
    return true;
  }

  // Called with the GIL held.
  [[noreturn]] void raise_kept() {
    if (!type_) throw py::error_already_set();
    PyErr_Restore(type_.release().ptr(), value_.release().ptr(), trace_.release().ptr());
    throw py::error_already_set();
  }

 private:
  void keep_python_error() {
    PyObject *type = nullptr, *value = nullptr, *trace = nullptr;
    PyErr_Fetch(&type, &value, &trace);
    type_ = py::reinterpret_steal<py::object>(type);
    value_ = py::reinterpret_steal<py::object>(value);
    trace_ = py::reinterpret_steal<py::object>(trace);
  }

  py::object progress_;
  py::object type_, value_, trace_;
};

Comparison run(const DendrogramFile& first, const DendrogramFile& second, int threads, py::object progress, bool exact,
               int max_clusters, bool information) {
  if (threads < 0) throw py::value_error("threads must be at least 1, or None for as many as the hardware offers");
  if (max_clusters < 0) throw py::value_error("max_clusters must be a positive integer, or None for every level");
  ProgressBridge bridge(std::move(progress));
  compare::CompareOptions options;
  options.threads = threads;
  options.precision = exact ? compare::Precision::exact : compare::Precision::single;
  options.max_clusters = max_clusters;
  options.information = exact && information;
  options.keep_pair_counts = true;
  options.progress = [&bridge](int done, int total) { return bridge(done, total); };
  bool cancelled = false;
  Comparison result;
  {
    py::gil_scoped_release release;
    try {
      result = compare::run_comparison(first, second, options);
    } catch (const compare::Cancelled&) {
      cancelled = true;
    }
  }
  if (cancelled) bridge.raise_kept();
  return result;
}

constexpr const char* kComparisonDoc = R"(The result of comparing two dendrograms level by level.

Levels are the distinct merge heights of each dendrogram in ascending
order; level k of dendrogram 1 and level l of dendrogram 2 below the top
level (one cluster) are compared: all of them, or with max_clusters only
those with at most that many clusters. Row i and column j of every table
belong to levels base_level1 + i and base_level2 + j; the first row and
column are the partitions with the most clusters.

jaccard, rand, euclidean, sorensen, adjusted_rand: 1 - Jaccard, 1 - Rand,
the Euclidean distance of the co-membership vectors, 1 - Sorensen and
1 - adjusted Rand at every compared level pair. From an exact comparison
(the default) float64 arrays from exact pair counts, worked out on first
use; with exact=False float32 read-only views of the values MATRICES.DAT
holds, bit for bit (the expected agreement of adjusted Rand in the
Hubert-Arabie form, computed in single precision as the program does).
fowlkes_mallows: the Fowlkes-Mallows index (not one minus it), float64.
exact(): every measure in double precision from the pair counts.)";

}  // namespace

void register_comparison(py::module_& m) {
  PYBIND11_NUMPY_DTYPE(BkRecord, k, bk, expected, variance, lower, upper);
  py::class_<Comparison> cls(m, "Comparison", py::dynamic_attr(), kComparisonDoc);
  for (int number = 1; number <= kMeasureCount; ++number)
    cls.def_property_readonly(
        measure_key(number - 1), [number](const py::object& self) { return measure_view(self, number); },
        "This measure at every compared level pair: float64 from an exact comparison, float32 (the values of "
        "MATRICES.DAT) with exact=False; read-only.");
  cls.def(
         "table", [](const py::object& self, const std::string& name) { return measure_view(self, measure_number(name)); },
         py::arg("measure"), "The table of a measure named as in MEASURES.")
      .def_property_readonly(
          "fowlkes_mallows",
          [](const py::object& self) { return cached_exact_table(self, compare::ExactMeasure::fowlkes_mallows); },
          "float64: the Fowlkes-Mallows index at every compared level pair.")
      .def_property_readonly(
          "variation_of_information",
          [](const py::object& self) {
            return cached_information_table(self, compare::InformationMeasure::variation_of_information);
          },
          "float64: Meila's variation of information H(U) + H(V) - 2 I(U, V) (natural logarithms) at every "
          "compared level pair; exact comparisons only.")
      .def_property_readonly(
          "nmi", [](const py::object& self) { return cached_information_table(self, compare::InformationMeasure::nmi); },
          "float64: normalized mutual information, I(U, V) over the arithmetic mean of H(U) and H(V) "
          "(scikit-learn's default), at every compared level pair; exact comparisons only.")
      .def("cophenetic_correlation", &cophenetic_correlation, py::arg("method") = "pearson",
           "The correlation over all object pairs of the heights at which the two dendrograms join them (their "
           "cophenetic heights, as 4-byte reals): method 'pearson' or 'spearman' (tied pairs share their mean "
           "rank). Every level counts, not only the compared ones.")
      .def_property_readonly(
          "bakers_gamma", [](const py::object& self) { return cached_correlations(self)[2].cast<double>(); },
          "Baker's gamma: the Spearman correlation over all object pairs of the largest number of clusters at "
          "which each tree still holds the pair together (the same ranks as the cophenetic heights, reversed in "
          "both trees, so equal to cophenetic_correlation('spearman')).")
      .def("bk", &bk_table, py::arg("sd") = 2.0,
           "The Fowlkes-Mallows curve: a structured array with one record per number of clusters k that both "
           "dendrograms have among their compared levels (a k that one skips because of tied heights is left "
           "out): k, bk (the Fowlkes-Mallows index), expected and variance (under random partitions with the same "
           "cluster sizes, Fowlkes and Mallows 1983), and the band lower, upper = expected -/+ sd standard "
           "deviations.")
      .def("exact", [](const py::object& self) { return exact_tables(self, 0, compare::kExactMeasureCount); },
           "A dict of float64 arrays of shape (L1-1, L2-1), computed from the pair counts in double "
           "precision: jaccard, rand, euclidean, sorensen, adjusted_rand (as dissimilarities, like the "
           "tables) and fowlkes_mallows (the index itself).")
      .def_readonly("levels1", &Comparison::levels1, "L1, the number of levels of dendrogram 1.")
      .def_readonly("levels2", &Comparison::levels2, "L2, the number of levels of dendrogram 2.")
      .def_readonly("base_level1", &Comparison::base_level1,
                    "The level of dendrogram 1 that row 0 shows: 1, or with max_clusters the lowest level with at "
                    "most that many clusters.")
      .def_readonly("base_level2", &Comparison::base_level2, "The level of dendrogram 2 that column 0 shows.")
      .def_property_readonly(
          "exact_values", [](const Comparison& c) { return c.precision == compare::Precision::exact; },
          "True for an exact comparison (float64 tables), False for the single-precision tables of MATRICES.DAT.")
      .def_readonly("object_count", &Comparison::object_count, "The number of objects N.")
      .def_property_readonly("pair_count", &Comparison::pair_count, "N(N-1)/2, the number of object pairs.")
      .def_property_readonly("clusters1", [](const Comparison& c) { return vector_copy(c.clusters1); },
                             "int32: clusters of dendrogram 1 at each compared level (the row labels "
                             "of MATRICES.DAT).")
      .def_property_readonly("clusters2", [](const Comparison& c) { return vector_copy(c.clusters2); },
                             "int32: clusters of dendrogram 2 at each compared level (the header of "
                             "MATRICES.DAT).")
      .def_property_readonly("heights1", [](const Comparison& c) { return vector_copy(c.heights1); },
                             "float32: the merge height that makes each compared level of dendrogram 1.")
      .def_property_readonly("heights2", [](const Comparison& c) { return vector_copy(c.heights2); },
                             "float32 (L2-1,): the merge height that makes each compared level of dendrogram 2.")
      .def_property_readonly("minima", &minima,
                             "measure -> (smallest value, clusters 1, clusters 2), as the minimum report gives "
                             "them: the first level pair in row order with the smallest value; (100.0, 0, 0) "
                             "when no level pair was compared.")
      .def("pair_counts", &pair_counts,
           "The pair counts behind the exact values: joined_both (pairs joined in both partitions; uint32, or uint64 "
           "beyond 2**32 pairs), joined1 and joined2 (int64, pairs joined in each dendrogram's partition).")
      .def("write_matrices", &write_matrices, py::arg("path"),
           "Writes the five tables as MATRICES.DAT, byte for byte as the program does, to path (under a "
           "temporary name, renamed once complete); needs a comparison made with exact=False. Raises "
           "OutputError (an OSError).")
      .def("__repr__", [](const Comparison& c) {
        return "<Comparison of " + std::to_string(c.object_count) + " objects, " + std::to_string(c.rows()) +
               " x " + std::to_string(c.columns()) + " compared levels of " + std::to_string(c.levels1) + " x " +
               std::to_string(c.levels2) + (c.precision == compare::Precision::exact ? ", exact>" : ", single precision>");
      });
  register_tanglegram(cls);
  m.attr("MEASURES") = py::make_tuple(measure_key(0), measure_key(1), measure_key(2), measure_key(3),
                                      measure_key(4));
  m.def("_compare", &run, py::arg("first"), py::arg("second"), py::arg("threads"), py::arg("progress"),
        py::arg("exact"), py::arg("max_clusters"), py::arg("information") = true,
        "Compares two Dendrogram objects with the GIL released.");
}

}  // namespace dendro_python
