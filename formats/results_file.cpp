#include "formats/results_file.h"

#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <set>

#include "outputs/atomic_file.h"
#include "rio/statements.h"

namespace compare {
namespace {

using namespace statements;

int write_records(const ComparisonTables& tables, const int& unit, int* iostat) {
  int zero = 0;
  ListWrite header(&unit, integer_item(zero), iostat);
  for (int count : tables.cluster_counts2) header.add(integer_item(count));
  if (int status = header.end()) return status;
  for (int m = 1; m <= kMeasureCount; ++m) {
    if (int status = write_list(&unit, {text_item(kMeasureHeadings[m - 1])}, iostat)) return status;
    for (std::size_t k = 1; k <= tables.compared_rows(); ++k) {
      int row_label = tables.cluster_counts1[k - 1];
      ListWrite row(&unit, integer_item(row_label), iostat);
      for (std::size_t l = 1; l <= tables.compared_columns(); ++l) {
        float value = tables.value(m, static_cast<int>(k), static_cast<int>(l));
        row.add(real_item(value));
      }
      if (int status = row.end()) return status;
    }
  }
  return 0;
}

// Temporary files still present when the process ends belong to a run the
// runtime's fatal report ended; they are removed then.
class PendingFiles {
 public:
  static PendingFiles& instance() {
    static PendingFiles* pending = [] {
      auto* p = new PendingFiles;
      std::atexit([] { instance().remove_all(); });
      return p;
    }();
    return *pending;
  }
  void add(const std::string& path) {
    std::lock_guard lock(mutex_);
    paths_.insert(path);
  }
  void forget(const std::string& path) {
    std::lock_guard lock(mutex_);
    paths_.erase(path);
  }

 private:
  void remove_all() {
    std::lock_guard lock(mutex_);
    for (const std::string& path : paths_) ::unlink(path.c_str());
  }
  std::mutex mutex_;
  std::set<std::string> paths_;
};

// Open, records and close on the runtime; the first error number wins.
// Without a status target an error does not come back.
int write_through_unit(const ComparisonTables& tables, const std::string& name, int* iostat) {
  const int unit = 1;
  if (open_unit(unit, name, iostat)) return *iostat;
  int error = write_records(tables, unit, iostat) ? *iostat : 0;
  if (close_unit(unit, iostat) && error == 0) error = *iostat;
  return error;
}

}  // namespace

int write_results_file(const ComparisonTables& tables, const std::string& path, int* iostat) {
  const std::string temporary = make_temporary_beside(path);
  if (temporary.empty()) {
    if (iostat) return -1;
    // A directory that takes no new file still gets the runtime's own report.
    return write_through_unit(tables, path, nullptr);
  }
  PendingFiles::instance().add(temporary);
  int error = write_through_unit(tables, temporary, iostat);
  if (error != 0)
    discard_temporary(temporary);
  else if (!commit_temporary(temporary, path))
    error = -1;
  PendingFiles::instance().forget(temporary);
  return error;
}

}  // namespace compare
