#include "formats/results_file.h"

#include <unistd.h>

#include <string>

#include "model/errors.h"
#include "rio/rio.h"
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

// Open, records and close on the runtime; the first error number wins.
// Without a status target an error does not come back.
int write_through_unit(const ComparisonTables& tables, const std::string& name, int* iostat) {
  const int unit = 1;
  rio::OpenSpec spec;
  spec.unit = &unit;
  spec.iostat = iostat;
  spec.file = {name.data(), name.size()};
  spec.action = {"WRITE", 5};
  if (rio::io_open(spec)) return *iostat;
  int error = write_records(tables, unit, iostat) ? *iostat : 0;
  if (close_unit(unit, iostat) && error == 0) error = *iostat;
  return error;
}

// The runtime opens files by name: given the descriptor's own name it opens
// the file the descriptor holds, whatever the directory's name now points to.
std::string descriptor_name(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

}  // namespace

int write_results_to(const ComparisonTables& tables, const outputs::Sink& sink, int* iostat) {
  return write_through_unit(tables, descriptor_name(sink.fd), iostat);
}

int write_results_file(const ComparisonTables& tables, const std::string& path) {
  outputs::RunOutputs run;
  const outputs::Sink* sink = nullptr;
  try {
    sink = &run.add("MATRICES.DAT", path);
  } catch (const OutputError&) {
    // A directory that takes no new file still gets the runtime's own report.
    return write_through_unit(tables, path, nullptr);
  }
  write_results_to(tables, *sink, nullptr);
  try {
    run.commit();
  } catch (const OutputError&) {
    return -1;
  }
  return 0;
}

}  // namespace compare
