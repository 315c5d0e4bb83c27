#pragma once
// Reading a dendrogram file of our own format through the record I/O
// runtime, with status results instead of the fatal report, so that every
// spelling the dialogue accepts reads the same here and a bad file becomes
// an InputError naming the file, the record and the fault.
#include <mutex>
#include <string>

#include "model/tables.h"
#include "outputs/run_outputs.h"

namespace compare {

// The runtime keeps one statement context and one unit table for the
// process: every front end that uses it from more than one thread holds
// this lock around its statements.
std::mutex& runtime_lock();

// Reads N and N - 1 merge records (anything after them is not read).
DendrogramFile read_den_file(const std::string& path);
// The same from the bytes of a file read once; `path` names it in messages.
DendrogramFile read_den_bytes(const std::string& bytes, const std::string& path);

// Writes a dendrogram in our own format: N, then one merge record a line.
// Heights are written with the shortest decimal that reads back to the
// same 4-byte value. Throws OutputError.
void write_den_file(const DendrogramFile& file, const std::string& path);
void write_den_file(const DendrogramFile& file, const outputs::Sink& sink);

}  // namespace compare
