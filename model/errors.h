#pragma once
// The exceptions of a comparison and of its inputs and outputs, apart from
// the engine so that the readers and the output files raise them without
// including it.
#include <stdexcept>

namespace compare {

// Raised when a progress callback asked to stop.
class Cancelled : public std::runtime_error {
 public:
  Cancelled() : std::runtime_error("comparison cancelled") {}
};

// Bad input or a failed read or write: the message names the file, the
// record or line where known, and the fault.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class OutputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace compare
