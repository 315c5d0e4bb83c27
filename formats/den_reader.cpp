#include "formats/den_reader.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cstring>

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

// A name that is no readable regular file is refused before the runtime,
// which would create a missing file, ever sees it.
void check_readable(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) throw InputError(path + ": " + std::strerror(errno));
  if (S_ISDIR(info.st_mode)) throw InputError(path + ": is a directory");
}

class OpenedUnit {
 public:
  OpenedUnit(const std::string& path) : path_(path) {
    rio::OpenSpec spec;
    spec.unit = &kUnit;
    spec.iostat = &iostat_;
    spec.file = {path.data(), path.size()};
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
  check_readable(path);
  std::lock_guard lock(runtime_lock());
  OpenedUnit unit(path);
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
