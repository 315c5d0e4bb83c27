// Comparison: one run of the engine, its five single-precision tables as
// read-only NumPy views of the engine's own storage (so write_matrices
// writes exactly what Python sees), the exact double-precision values from
// the pair counts, and the comparison itself with the GIL released.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <algorithm>
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

// Keys of the measures, in the order of the tables and of MATRICES.DAT.
constexpr std::array<const char*, kMeasureCount> kMeasureNames = {"jaccard", "rand", "euclidean", "sorensen",
                                                                  "adjusted_rand"};

int measure_number(const std::string& name) {
  for (int m = 0; m < kMeasureCount; ++m)
    if (name == kMeasureNames[m]) return m + 1;
  throw py::value_error("unknown measure '" + name +
                        "'; the measures are jaccard, rand, euclidean, sorensen, adjusted_rand");
}

py::array read_only(py::array array) {
  array.attr("setflags")(py::arg("write") = false);
  return array;
}

// Measure m (1..5) over all compared level pairs, shape (L1 - 1, L2 - 1):
// a strided view into the (k, l, m) value table that keeps `owner` alive.
py::array measure_view(const py::object& owner, int m) {
  const Comparison& c = owner.cast<const Comparison&>();
  const auto rows = static_cast<py::ssize_t>(c.tables.compared_rows());
  const auto columns = static_cast<py::ssize_t>(c.tables.compared_columns());
  if (c.tables.values.empty()) return read_only(py::array_t<float>({rows, columns}));
  const auto cell = static_cast<py::ssize_t>(kMeasureCount * sizeof(float));
  return read_only(py::array_t<float>({rows, columns}, {columns * cell, cell}, c.tables.values.data() + (m - 1),
                                      owner));
}

template <typename T>
py::array_t<T> vector_copy(const std::vector<T>& values) {
  return py::array_t<T>(static_cast<py::ssize_t>(values.size()), values.data());
}

using ExactMember = double ExactValues::*;
constexpr std::array<std::pair<const char*, ExactMember>, 6> kExactMembers = {{
    {"jaccard", &ExactValues::jaccard},
    {"rand", &ExactValues::rand},
    {"euclidean", &ExactValues::euclidean},
    {"sorensen", &ExactValues::sorensen},
    {"adjusted_rand", &ExactValues::adjusted_rand},
    {"fowlkes_mallows", &ExactValues::fowlkes_mallows},
}};

// The double-precision values of the chosen members at every level pair.
py::dict exact_tables(const Comparison& c, std::size_t first_member, std::size_t member_end) {
  const auto rows = static_cast<py::ssize_t>(c.tables.compared_rows());
  const auto columns = static_cast<py::ssize_t>(c.tables.compared_columns());
  std::vector<py::array_t<double>> arrays;
  std::vector<double*> data;
  for (std::size_t i = first_member; i < member_end; ++i) {
    arrays.emplace_back(std::vector<py::ssize_t>{rows, columns});
    data.push_back(arrays.back().mutable_data());
  }
  {
    py::gil_scoped_release release;
    for (py::ssize_t k = 1; k <= rows; ++k)
      for (py::ssize_t l = 1; l <= columns; ++l) {
        const ExactValues v = c.exact(static_cast<int>(k), static_cast<int>(l));
        const auto cell = (k - 1) * columns + (l - 1);
        for (std::size_t i = first_member; i < member_end; ++i)
          data[i - first_member][cell] = v.*kExactMembers[i].second;
      }
  }
  py::dict result;
  for (std::size_t i = first_member; i < member_end; ++i)
    result[kExactMembers[i].first] = arrays[i - first_member];
  return result;
}

py::dict minima(const Comparison& c) {
  py::dict result;
  for (int m = 0; m < kMeasureCount; ++m) {
    const compare::MinimumRecord& r = c.tables.minima[m];
    result[kMeasureNames[m]] = py::make_tuple(static_cast<double>(r.smallest), r.clusters1, r.clusters2);
  }
  return result;
}

py::dict pair_counts(const Comparison& c) {
  py::dict result;
  const auto rows = static_cast<py::ssize_t>(c.tables.compared_rows());
  const auto columns = static_cast<py::ssize_t>(c.tables.compared_columns());
  result["joined_both"] = vector_copy(c.joined_both).reshape({rows, columns});
  // The engine counts every level, the top one too, and none at all when
  // no level pair is compared.
  const auto compared = [](const std::vector<std::int64_t>& counts, py::ssize_t levels) {
    return py::array_t<std::int64_t>(std::min(levels, static_cast<py::ssize_t>(counts.size())), counts.data());
  };
  result["joined1"] = compared(c.joined1, rows);
  result["joined2"] = compared(c.joined2, columns);
  return result;
}

void write_matrices(const Comparison& c, const std::string& path) {
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

Comparison run(const DendrogramFile& first, const DendrogramFile& second, int threads, py::object progress) {
  if (threads < 0) throw py::value_error("threads must be at least 1, or None for as many as the hardware offers");
  ProgressBridge bridge(std::move(progress));
  compare::CompareOptions options;
  options.threads = threads;
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
order; level k of dendrogram 1 (k = 1 .. L1-1) and level l of dendrogram 2
(l = 1 .. L2-1) are compared, the top level (one cluster) never. Row k-1
and column l-1 of every table belong to that level pair; the first row and
column are the partitions with the most clusters.

jaccard, rand, euclidean, sorensen, adjusted_rand: float32 arrays of shape
(L1-1, L2-1), read-only views of the values MATRICES.DAT holds, bit for
bit: 1 - Jaccard, 1 - Rand, the Euclidean distance of the co-membership
vectors, 1 - Sorensen and 1 - adjusted Rand (expected agreement in the
Hubert-Arabie form, computed in single precision as the program does).
fowlkes_mallows: the Fowlkes-Mallows index (not one minus it), float64.
exact(): every measure in double precision from the pair counts.)";

}  // namespace

void register_comparison(py::module_& m) {
  py::class_<Comparison> cls(m, "Comparison", kComparisonDoc);
  for (int number = 1; number <= kMeasureCount; ++number)
    cls.def_property_readonly(
        kMeasureNames[number - 1], [number](const py::object& self) { return measure_view(self, number); },
        "float32 (L1-1, L2-1), read-only: this measure at every compared level pair.");
  cls.def(
         "table", [](const py::object& self, const std::string& name) { return measure_view(self, measure_number(name)); },
         py::arg("measure"), "The float32 table of a measure named as in MEASURES.")
      .def_property_readonly(
          "fowlkes_mallows",
          [](const Comparison& c) {
            const py::dict tables = exact_tables(c, kMeasureCount, kMeasureCount + 1);
            return py::object(tables["fowlkes_mallows"]);
          },
          "float64 (L1-1, L2-1): the Fowlkes-Mallows index at every compared level pair.")
      .def("exact", [](const Comparison& c) { return exact_tables(c, 0, kExactMembers.size()); },
           "A dict of float64 arrays of shape (L1-1, L2-1), computed from the pair counts in double "
           "precision: jaccard, rand, euclidean, sorensen, adjusted_rand (as dissimilarities, like the "
           "tables) and fowlkes_mallows (the index itself).")
      .def_property_readonly("levels1", [](const Comparison& c) { return c.tables.levels1; },
                             "L1, the number of levels of dendrogram 1.")
      .def_property_readonly("levels2", [](const Comparison& c) { return c.tables.levels2; },
                             "L2, the number of levels of dendrogram 2.")
      .def_readonly("object_count", &Comparison::object_count, "The number of objects N.")
      .def_property_readonly("pair_count", &Comparison::pair_count, "N(N-1)/2, the number of object pairs.")
      .def_property_readonly("clusters1", [](const Comparison& c) { return vector_copy(c.tables.cluster_counts1); },
                             "int32 (L1-1,): clusters of dendrogram 1 at each compared level (the row labels "
                             "of MATRICES.DAT).")
      .def_property_readonly("clusters2", [](const Comparison& c) { return vector_copy(c.tables.cluster_counts2); },
                             "int32 (L2-1,): clusters of dendrogram 2 at each compared level (the header of "
                             "MATRICES.DAT).")
      .def_property_readonly("heights1", [](const Comparison& c) { return vector_copy(c.heights1); },
                             "float32 (L1-1,): the merge height that makes each compared level of dendrogram 1.")
      .def_property_readonly("heights2", [](const Comparison& c) { return vector_copy(c.heights2); },
                             "float32 (L2-1,): the merge height that makes each compared level of dendrogram 2.")
      .def_property_readonly("minima", &minima,
                             "measure -> (smallest value, clusters 1, clusters 2), as the minimum report gives "
                             "them: the first level pair in row order with the smallest value; (100.0, 0, 0) "
                             "when no level pair was compared.")
      .def("pair_counts", &pair_counts,
           "The pair counts behind the exact values: joined_both (uint32 (L1-1, L2-1), pairs joined in both "
           "partitions), joined1 and joined2 (int64, pairs joined in each dendrogram's partition).")
      .def("write_matrices", &write_matrices, py::arg("path"),
           "Writes the five tables as MATRICES.DAT, byte for byte as the program does, to path (under a "
           "temporary name, renamed once complete). Raises OutputError (an OSError).")
      .def("__repr__", [](const Comparison& c) {
        return "<Comparison of " + std::to_string(c.object_count) + " objects, " +
               std::to_string(c.tables.levels1) + " x " + std::to_string(c.tables.levels2) + " levels>";
      });
  m.attr("MEASURES") = py::make_tuple(kMeasureNames[0], kMeasureNames[1], kMeasureNames[2], kMeasureNames[3],
                                      kMeasureNames[4]);
  m.def("_compare", &run, py::arg("first"), py::arg("second"), py::arg("threads"), py::arg("progress"),
        "Compares two Dendrogram objects with the GIL released.");
}

}  // namespace dendro_python
