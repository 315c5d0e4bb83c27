#pragma once
// The pieces of the extension module dendrocompare._core, each registered
// by a function of its own.
#include <pybind11/pybind11.h>

namespace dendro_python {

namespace py = pybind11;

// InputError -> dendrocompare.InputError (a ValueError), OutputError ->
// dendrocompare.OutputError (an OSError), with the engine's message.
void register_errors(py::module_& m);

// The Dendrogram class, its constructors from linkage matrices, hclust
// merges and files, and its writing in our own format.
void register_dendrogram(py::module_& m);

// from_linkage, from_hclust and the file readers.
void register_readers(py::module_& m);

// The Comparison class and the comparison itself.
void register_comparison(py::module_& m);

}  // namespace dendro_python

namespace compare {
struct Comparison;
}

namespace dendro_python {

// Comparison._tanglegram, which Comparison.tanglegram wraps.
void register_tanglegram(py::class_<compare::Comparison>& cls);

}  // namespace dendro_python
