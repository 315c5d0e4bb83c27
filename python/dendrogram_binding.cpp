// Dendrogram: the content of one dendrogram file (object count and merge
// records in file order), however it was made.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <string>

#include "bindings.h"
#include "formats/den_reader.h"
#include "model/tables.h"

namespace dendro_python {
namespace {

using compare::DendrogramFile;
using compare::MergeRecord;
using IntArray = py::array_t<int, py::array::c_style | py::array::forcecast>;
using FloatArray = py::array_t<float, py::array::c_style | py::array::forcecast>;

DendrogramFile from_records(int object_count, const IntArray& merges, const FloatArray& heights) {
  if (merges.ndim() != 2 || merges.shape(1) != 4)
    throw py::value_error("merges must have shape (M, 4): first, second, companion1, companion2");
  if (heights.ndim() != 1 || heights.shape(0) != merges.shape(0))
    throw py::value_error("heights must have shape (M,), one height per merge record");
  DendrogramFile file;
  file.object_count = object_count;
  file.merges.resize(static_cast<std::size_t>(merges.shape(0)));
  auto m = merges.unchecked<2>();
  auto h = heights.unchecked<1>();
  for (py::ssize_t i = 0; i < merges.shape(0); ++i)
    file.merges[static_cast<std::size_t>(i)] = MergeRecord{m(i, 0), m(i, 1), m(i, 2), m(i, 3), h(i)};
  return file;
}

py::array_t<int> merge_table(const DendrogramFile& file) {
  py::array_t<int> table({static_cast<py::ssize_t>(file.merges.size()), py::ssize_t{4}});
  auto t = table.mutable_unchecked<2>();
  for (py::ssize_t i = 0; i < t.shape(0); ++i) {
    const MergeRecord& r = file.merges[static_cast<std::size_t>(i)];
    t(i, 0) = r.first;
    t(i, 1) = r.second;
    t(i, 2) = r.companion1;
    t(i, 3) = r.companion2;
  }
  return table;
}

py::array_t<float> merge_heights(const DendrogramFile& file) {
  py::array_t<float> heights(static_cast<py::ssize_t>(file.merges.size()));
  auto h = heights.mutable_unchecked<1>();
  for (py::ssize_t i = 0; i < h.shape(0); ++i) h(i) = file.merges[static_cast<std::size_t>(i)].height;
  return heights;
}

bool same_content(const DendrogramFile& x, const DendrogramFile& y) {
  if (x.object_count != y.object_count || x.merges.size() != y.merges.size()) return false;
  for (std::size_t i = 0; i < x.merges.size(); ++i) {
    const MergeRecord &a = x.merges[i], &b = y.merges[i];
    if (a.first != b.first || a.second != b.second || a.companion1 != b.companion1 ||
        a.companion2 != b.companion2 || a.height != b.height)
      return false;
  }
  return true;
}

void write_den(const DendrogramFile& file, const std::string& path) {
  py::gil_scoped_release release;
  compare::write_den_file(file, path);
}

constexpr const char* kDendrogramDoc = R"(A dendrogram as our own file format holds it.

The object count N and the merge records in file order. Each record joins
two clusters, each named by its smallest object (objects are numbered 1 to
N), carries two companion integers (the two clusters' sizes when made from
a linkage matrix) and the merge height as a 4-byte float. Levels are the
distinct heights in ascending order; merges of equal height are applied in
record order.

Make one with from_linkage(), from_hclust() or read_dendrogram(), or
directly from the records: Dendrogram(object_count, merges, heights) with
merges of shape (M, 4) and heights of shape (M,). The records are checked
when the dendrogram is compared.)";

}  // namespace

void register_dendrogram(py::module_& m) {
  py::class_<DendrogramFile>(m, "Dendrogram", kDendrogramDoc)
      .def(py::init(&from_records), py::arg("object_count"), py::arg("merges"), py::arg("heights"))
      .def_readonly("object_count", &DendrogramFile::object_count, "The number of objects N.")
      .def_property_readonly("merges", &merge_table,
                             "The merge records' integers, int32 of shape (M, 4): first and second "
                             "cluster, their two companion values. A copy.")
      .def_property_readonly("heights", &merge_heights, "The merge heights, float32 of shape (M,). A copy.")
      .def("to_den", &write_den, py::arg("path"),
           "Writes the dendrogram in our own format: N, then one merge record a line, heights in the "
           "shortest decimal that reads back to the same 4-byte value. Raises OutputError (an OSError).")
      .def("__eq__", &same_content, py::is_operator())
      .def("__len__", [](const DendrogramFile& file) { return file.merges.size(); },
           "The number of merge records.")
      .def("__repr__", [](const DendrogramFile& file) {
        return "Dendrogram(object_count=" + std::to_string(file.object_count) +
               ", merges=" + std::to_string(file.merges.size()) + ")";
      });
}

}  // namespace dendro_python
