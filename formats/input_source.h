#pragma once
// An input read once, whole, into memory: a regular file, a pipe a shell
// hands over as /dev/fd/N, or a device alike. It is opened once and never
// reopened (a pipe could not be), its format is told from the bytes read,
// and its size is bounded by what its format can hold for the largest
// object count, and by the memory available, so that an endless stream
// (/dev/zero, /dev/urandom) is refused at once instead of filling memory.
#include <cstdint>
#include <string>

#include "formats/inputs.h"

namespace compare {

struct InputSource {
  std::string path;  // as given, for messages
  InputFormat format = InputFormat::automatic;  // as asked, else from the extension or the content
  // The whole content; a text format's UTF-8 byte order mark left out.
  std::string bytes;
};

// Throws InputError "<path>: <fault>": a name that cannot be opened or is a
// directory, a read that fails, content no format fits (naming every
// format tried and why it failed), a NUL byte in a text format, a .npy file
// with data after its array, an input beyond its bound.
// memory_limit: the most bytes an input may take; 0: half the memory
// available, the other half left for what it becomes.
InputSource read_input(const std::string& path, InputFormat format, std::uint64_t memory_limit = 0);

// A text file of no particular format (a labels file), read the same way.
std::string read_text_input(const std::string& path, std::uint64_t memory_limit = 0);

// The format of an input from its name's extension (.den .npy .nwk .newick
// .tree .tre) or, where that does not settle it, from its first bytes.
// Throws InputError naming every format tried and why it failed.
InputFormat format_of(const std::string& path, const std::string& start);

}  // namespace compare
