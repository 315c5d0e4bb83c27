#pragma once
// Files written whole or not at all: the content goes to a temporary file
// in the target's directory, which is flushed to disk and renamed over the
// target only once complete. A failed write leaves the old file as it was.
#include <functional>
#include <ostream>
#include <string>

namespace compare {

// Makes an empty file beside path with the mode an ordinary create (or the
// file it replaces) would have, its name ending in suffix (for writers that
// go by the extension); "" when none can be made (errno tells why).
std::string make_temporary_beside(const std::string& path, const std::string& suffix = "");

// Flushes the temporary file to disk and renames it over path; on failure
// removes it and returns false with errno kept.
bool commit_temporary(const std::string& temporary, const std::string& path);

// Removes a temporary file, keeping errno.
void discard_temporary(const std::string& temporary);

// Writes path through write(stream); throws OutputError naming the path and
// the fault. "-" means standard output, written directly.
void write_file_atomically(const std::string& path, const std::function<void(std::ostream&)>& write);

}  // namespace compare
