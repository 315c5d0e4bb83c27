// Comparison.tanglegram: the trees' leaf orders, untangled, their
// entanglement and the clusters that colour the lines, and the picture
// drawn by the same code as the command line's when given a path.
#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <QFile>
#include <optional>
#include <string>

#include "bindings.h"
#include "console/plots/render.h"
#include "engine/tanglegram.h"

namespace dendro_python {
namespace {

template <typename T>
py::array_t<T> array_of(const std::vector<T>& values) {
  py::array_t<T> array(static_cast<py::ssize_t>(values.size()));
  std::copy(values.begin(), values.end(), array.mutable_data());
  return array;
}

py::array_t<bool> flags_of(const std::vector<char>& values) {
  py::array_t<bool> array(static_cast<py::ssize_t>(values.size()));
  for (std::size_t i = 0; i < values.size(); ++i) array.mutable_data()[i] = values[i] != 0;
  return array;
}

py::dict tanglegram(const compare::Comparison& c, const std::optional<std::string>& path, int clusters, bool untangle,
                    const std::vector<std::string>& labels) {
  if (!labels.empty() && labels.size() != static_cast<std::size_t>(c.object_count))
    throw py::value_error("labels has " + std::to_string(labels.size()) + " names for " +
                          std::to_string(c.object_count) + " objects");
  compare::Tanglegram t;
  {
    py::gil_scoped_release release;
    t = compare::tanglegram_layout(c, {clusters, -1, untangle});
  }
  if (path) {
    console::plots::TangleSettings settings{{}, clusters, untangle};
    for (const std::string& label : labels) settings.labels.push_back(QString::fromStdString(label));
    std::string error;
    if (console::plots::render_file(c, *path, console::plots::Measure::tanglegram, &error, std::move(settings)) != 0)
      throw compare::OutputError(error);
  }
  py::dict result;
  result["order1"] = array_of(t.order1);
  result["order2"] = array_of(t.order2);
  result["entanglement"] = t.entanglement;
  result["given_entanglement"] = t.given_entanglement;
  result["clusters1"] = t.clusters1;
  result["clusters2"] = t.clusters2;
  result["cluster1"] = array_of(t.cluster1);
  result["cluster2"] = array_of(t.cluster2);
  result["moved"] = flags_of(t.moved);
  return result;
}

}  // namespace

void register_tanglegram(py::class_<compare::Comparison>& cls) {
  cls.def("_tanglegram", &tanglegram, py::arg("path"), py::arg("clusters"), py::arg("untangle"), py::arg("labels"));
}

}  // namespace dendro_python
