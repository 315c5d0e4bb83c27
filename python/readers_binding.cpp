// Dendrograms from the forms users have: scipy linkage matrices and R hclust
// merges in memory, and files in every format the command line reads. The
// engine's readers do the work, so a bad input is refused with the same
// words as on the command line.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "bindings.h"
#include "engine/engine.h"
#include "formats/inputs.h"

namespace dendro_python {
namespace {

using compare::DendrogramFile;
using compare::InputError;
using DoubleArray = py::array_t<double, py::array::c_style | py::array::forcecast>;

std::string shape_text(const py::array& array) {
  std::string text = "(";
  for (py::ssize_t i = 0; i < array.ndim(); ++i) text += (i ? ", " : "") + std::to_string(array.shape(i));
  return text + (array.ndim() == 1 ? ",)" : ")");
}

DendrogramFile linkage_matrix(const DoubleArray& z) {
  if (z.ndim() != 2)
    throw InputError("linkage matrix: the array has shape " + shape_text(z) + "; a linkage matrix has shape (N-1, 4)");
  return compare::from_linkage(z.data(), static_cast<std::size_t>(z.shape(0)), static_cast<std::size_t>(z.shape(1)));
}

// hclust's merge entries are whole numbers however they are stored.
int merge_entry(double value, py::ssize_t step) {
  if (value != std::floor(value) || std::fabs(value) > 1e9)
    throw InputError("hclust merges: step " + std::to_string(step + 1) + ": merge entry " + std::to_string(value) +
                     " is not a whole number");
  return static_cast<int>(value);
}

DendrogramFile hclust_merges(const DoubleArray& merge, const DoubleArray& height) {
  if (merge.ndim() != 2 || merge.shape(1) != 2)
    throw InputError("hclust merges: the merge matrix has shape " + shape_text(merge) + "; it has shape (N-1, 2)");
  if (height.ndim() != 1)
    throw InputError("hclust merges: the heights have shape " + shape_text(height) + "; they have shape (N-1,)");
  auto m = merge.unchecked<2>();
  std::vector<int> merge1, merge2;
  for (py::ssize_t t = 0; t < m.shape(0); ++t) {
    merge1.push_back(merge_entry(m(t, 0), t));
    merge2.push_back(merge_entry(m(t, 1), t));
  }
  return compare::from_hclust(merge1, merge2, std::vector<double>(height.data(), height.data() + height.size()));
}

compare::ReadOptions read_options(const std::optional<std::string>& format, std::vector<std::string> labels) {
  compare::ReadOptions options;
  options.labels = std::move(labels);
  options.labels_source = "labels";
  options.how_to_give_labels = "with labels=[...] (a list, or a file with one a line)";
  if (!format) return options;
  const auto named = compare::input_format_named(*format);
  if (!named)
    throw InputError("unknown input format '" + *format + "'; the formats are auto, den, npy, linkage, hclust, newick");
  options.format = *named;
  return options;
}

DendrogramFile read_one(const std::string& path, const std::optional<std::string>& format,
                        std::vector<std::string> labels) {
  const compare::ReadOptions options = read_options(format, std::move(labels));
  py::gil_scoped_release release;
  return compare::read_dendrogram(path, options);
}

// Each file is checked under its own name, as the command line does.
std::pair<DendrogramFile, DendrogramFile> read_pair(const std::string& first, const std::string& second,
                                                    const std::optional<std::string>& format,
                                                    std::vector<std::string> labels) {
  const compare::ReadOptions options = read_options(format, std::move(labels));
  py::gil_scoped_release release;
  auto pair = compare::read_dendrogram_pair(first, second, options);
  compare::check_dendrogram(pair.first, first);
  compare::check_dendrogram(pair.second, second);
  return pair;
}

// One file beside a dendrogram in memory, which has no labels; checked
// under its own name.
DendrogramFile read_beside(const std::string& path, const std::string& other, const std::optional<std::string>& format,
                           std::vector<std::string> labels) {
  const compare::ReadOptions options = read_options(format, std::move(labels));
  py::gil_scoped_release release;
  DendrogramFile file = compare::read_dendrogram_beside(path, other, options).dendrogram;
  compare::check_dendrogram(file, path);
  return file;
}

// Checks each dendrogram as the comparison would, then that both have
// levels to compare (two object counts that differ the comparison names);
// a file is named by its path, a dendrogram in memory by its number.
void check_levels(const DendrogramFile& first, const std::string& first_name, const DendrogramFile& second,
                  const std::string& second_name) {
  py::gil_scoped_release release;
  compare::check_dendrogram(first, "dendrogram 1");
  compare::check_dendrogram(second, "dendrogram 2");
  if (first.object_count == second.object_count)
    compare::check_levels_to_compare(first, first_name, second, second_name);
}

std::vector<std::string> read_labels(const std::string& path) {
  py::gil_scoped_release release;
  return compare::read_labels(path);
}

}  // namespace

void register_readers(py::module_& m) {
  m.def("from_linkage", &linkage_matrix, py::arg("Z"),
        R"(A Dendrogram from a scipy linkage matrix Z of shape (N - 1, 4).

Row t joins the clusters idx1 and idx2 (ids of N and more are the clusters
made by earlier rows) at height dist; leaf i is object i + 1, a merged
cluster is named by its smallest object, and the companion values are the
two clusters' sizes. Heights become 4-byte floats, so heights that differ
only beyond single precision form one level. A matrix that is no tree of
N objects raises InputError (a ValueError).)");
  m.def("from_hclust", &hclust_merges, py::arg("merge"), py::arg("height"),
        R"(A Dendrogram from R's hclust: merge of shape (N - 1, 2) (-x is object x,
j > 0 the cluster made at step j) and height of shape (N - 1,). Bad merges
raise InputError (a ValueError).)");
  m.def("_read_dendrogram", &read_one, py::arg("path"), py::arg("format"), py::arg("labels"));
  m.def("_read_dendrogram_pair", &read_pair, py::arg("first"), py::arg("second"), py::arg("format"),
        py::arg("labels"));
  m.def("_read_dendrogram_beside", &read_beside, py::arg("path"), py::arg("other"), py::arg("format"),
        py::arg("labels"));
  m.def("_read_labels", &read_labels, py::arg("path"));
  m.def("_check_levels", &check_levels, py::arg("first"), py::arg("first_name"), py::arg("second"),
        py::arg("second_name"));
  m.def("_check_dendrogram", &compare::check_dendrogram, py::arg("dendrogram"), py::arg("name"),
        py::call_guard<py::gil_scoped_release>());
}

}  // namespace dendro_python
