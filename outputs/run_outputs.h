#pragma once
// The one owner of a run's output files. Every path is resolved and checked
// before anything is written: a directory in the way, a directory that
// takes no new file, or an output that is the same file as another output
// or an input (by device and inode, whatever the spelling) is refused then.
// A regular file (or one still to be made) is written under a temporary
// name beside it; a character device or FIFO is written through, never
// replaced. commit() flushes every temporary to disk and only then renames
// them all, with signals held back; a run that ends without commit, by an
// exception, exit() or a fatal signal, leaves no temporary and every earlier
// file as it was.
#include <sys/types.h>

#include <deque>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "model/errors.h"

namespace outputs {

// Two roles name one file: a usage error rather than a failed write.
class SameFileError : public compare::OutputError {
 public:
  using compare::OutputError::OutputError;
};

// Where a writer puts one output: a descriptor open for writing, the name
// its messages give, and for a writer that can only open files by name the
// name to open (the temporary's, or the file written through).
struct Sink {
  int fd = -1;
  std::string name;
  std::string open_by_name;
};

class RunOutputs {
 public:
  RunOutputs() = default;
  ~RunOutputs();
  RunOutputs(const RunOutputs&) = delete;
  RunOutputs& operator=(const RunOutputs&) = delete;

  // A file read by the run, which no output may replace; role names it in
  // messages ("the first input"). A name that does not exist is no file.
  void add_input(const std::string& role, const std::string& path);
  // Resolves and checks path and makes its temporary or opens it to write
  // through; "-" is standard output. With keep_extension the temporary's
  // name ends in path's extension, for writers that go by it. Throws
  // SameFileError, or OutputError naming the path and the fault.
  const Sink& add(const std::string& role, const std::string& path, bool keep_extension = false);
  // A directory to hold outputs: made now when missing, and removed again
  // if the run does not commit.
  void add_directory(const std::string& path);
  // Flushes every temporary file to disk, then renames them all into place.
  // Throws OutputError naming the file, before the first rename where it can.
  void commit();

 private:
  struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    std::string name_in_directory;  // for a file still to be made
    bool operator==(const Identity&) const = default;
  };
  struct Output {
    std::string role;
    Identity identity;
    Sink sink;
    std::string temporary, final_path;
    int pending_slot = -1;
    bool staged() const { return !temporary.empty(); }
  };
  struct Input {
    std::string role;
    Identity identity;
  };

  void refuse_same_file(const std::string& role, const Identity& identity, const std::string& path,
                        bool written_through) const;
  void stage(Output& output, bool keep_extension);
  void discard();

  std::deque<Output> outputs_;
  std::vector<Input> inputs_;
  std::vector<std::string> made_directories_;
  bool committed_ = false;
};

// Writes through write(stream) to the sink's descriptor; throws OutputError
// naming the sink when a write fails.
void write_to(const Sink& sink, const std::function<void(std::ostream&)>& write);

// One output on its own: path written whole or not at all ("-" is standard
// output).
void write_file_atomically(const std::string& path, const std::function<void(std::ostream&)>& write);

}  // namespace outputs
