// dendrocompare._core: the exact comparison engine for Python. The package
// dendrocompare wraps it with the argument handling users expect.
#include "bindings.h"

#include "engine/engine.h"

namespace dendro_python {

void register_errors(py::module_& m) {
  py::register_exception<compare::InputError>(m, "InputError", PyExc_ValueError).attr("__doc__") =
      "A dendrogram that cannot be read or compared: the message names the file or source, the line or "
      "record where known, and the fault, in the command line's words.";
  py::register_exception<compare::OutputError>(m, "OutputError", PyExc_OSError).attr("__doc__") =
      "A results or dendrogram file that cannot be written: the message names the path and the fault.";
}

}  // namespace dendro_python

PYBIND11_MODULE(_core, m) {
  m.doc() = "The exact dendrogram comparison engine; use the dendrocompare package.";
  dendro_python::register_errors(m);
  dendro_python::register_dendrogram(m);
  dendro_python::register_readers(m);
  dendro_python::register_comparison(m);
}
