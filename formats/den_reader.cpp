#include "formats/den_reader.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

#include "formats/input_source.h"
#include "formats/shortest_real.h"
#include "model/errors.h"
#include "model/validate.h"
#include "outputs/run_outputs.h"
#include "rio/errors.h"
#include "rio/statements.h"

namespace compare {
namespace {

using namespace statements;

std::string runtime_message(int number) {
  if (number == -1) return "the file ends too early";
  if (const char* text = rio::catalogue_text(number)) return text;
  if (const char* text = rio::system_error_text(number)) return text;
  return "run-time error " + std::to_string(number);
}

[[noreturn]] void refuse(const std::string& path, const std::string& where, int number) {
  throw InputError(path + ": " + where + runtime_message(number));
}

// The bytes, already read once, in an anonymous file of memory that the
// runtime opens by its name under /proc/self/fd: the runtime reads them as
// it would read the input itself, and the input is never opened again.
class MemoryFile {
 public:
  MemoryFile(const std::string& bytes, const std::string& path) : path_(path) {
    descriptor_ = ::memfd_create("dendrogram", MFD_CLOEXEC);
    if (descriptor_ < 0) fail();
    for (std::size_t done = 0; done < bytes.size();) {
      const ssize_t written = ::write(descriptor_, bytes.data() + done, bytes.size() - done);
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) fail();
      done += static_cast<std::size_t>(written);
    }
  }
  ~MemoryFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  std::string name() const { return "/proc/self/fd/" + std::to_string(descriptor_); }

 private:
  [[noreturn]] void fail() {
    const int error = errno;
    if (descriptor_ >= 0) ::close(descriptor_);
    throw InputError(path_ + ": cannot hold the file in memory: " + std::strerror(error));
  }
  std::string path_;
  int descriptor_ = -1;
};

class OpenedUnit {
 public:
  OpenedUnit(const std::string& name, const std::string& path) : path_(path) {
    rio::OpenSpec spec;
    spec.unit = &kUnit;
    spec.iostat = &iostat_;
    spec.file = {name.data(), name.size()};
    spec.status = {"OLD", 3};
    spec.action = {"READ", 4};
    if (rio::io_open(spec)) refuse(path_, "cannot open: ", iostat_);
  }
  ~OpenedUnit() {
    int ignored = 0;
    close_unit(kUnit, &ignored);
  }
  OpenedUnit(const OpenedUnit&) = delete;
  OpenedUnit& operator=(const OpenedUnit&) = delete;

  void read(const std::string& where, Items items) {
    if (read_list(&kUnit, items, &iostat_)) refuse(path_, where, iostat_);
  }

 private:
  static constexpr int kUnit = 1;
  std::string path_;
  int iostat_ = 0;
};

std::string shortest(float value) {
  std::string text;
  append_shortest(text, value);
  return text;
}

}  // namespace

std::mutex& runtime_lock() {
  static std::mutex lock;
  return lock;
}

DendrogramFile read_den_file(const std::string& path) {
  return read_den_bytes(read_input(path, InputFormat::den).bytes, path);
}

DendrogramFile read_den_bytes(const std::string& bytes, const std::string& path) {
  const MemoryFile memory(bytes, path);
  std::lock_guard lock(runtime_lock());
  OpenedUnit unit(memory.name(), path);
  DendrogramFile file;
  unit.read("object count: ", {integer_item(file.object_count)});
  if (auto problem = validate_dendrogram(DendrogramFile{file.object_count, {}}); problem && problem->record == 0)
    throw InputError(path + ": " + problem->message);
  file.merges.resize(static_cast<std::size_t>(file.object_count) - 1);
  int record = 0;
  for (MergeRecord& m : file.merges) {
    unit.read("merge record " + std::to_string(++record) + ": ",
              {integer_item(m.first), integer_item(m.second), integer_item(m.companion1),
               integer_item(m.companion2), real_item(m.height)});
  }
  return file;
}

void write_den_file(const DendrogramFile& file, const std::string& path) {
  outputs::RunOutputs run;
  write_den_file(file, run.add("--write-den", path));
  run.commit();
}

void write_den_file(const DendrogramFile& file, const outputs::Sink& sink) {
  outputs::write_to(sink, [&](std::ostream& out) {
    out << file.object_count << '\n';
    for (const MergeRecord& m : file.merges)
      out << m.first << ' ' << m.second << ' ' << m.companion1 << ' ' << m.companion2 << ' '
          << shortest(m.height) << '\n';
  });
}

}  // namespace compare
