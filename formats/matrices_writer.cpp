#include "formats/matrices_writer.h"

#include <mutex>

#include "formats/den_reader.h"
#include "formats/results_file.h"
#include "model/errors.h"
#include "rio/errors.h"

namespace compare {

void write_matrices(const ComparisonTables& tables, const outputs::Sink& sink) {
  std::lock_guard lock(runtime_lock());
  int iostat = 0;
  const int error = write_results_to(tables, sink, &iostat);
  if (error == 0) return;
  std::string why;
  if (const char* text = rio::catalogue_text(error))
    why = text;
  else if (const char* text = rio::system_error_text(error))
    why = text;
  else
    why = "error " + std::to_string(error);
  throw OutputError(sink.name + ": cannot write: " + why);
}

void write_matrices(const ComparisonTables& tables, const std::string& path) {
  outputs::RunOutputs run;
  write_matrices(tables, run.add("MATRICES.DAT", path));
  run.commit();
}

}  // namespace compare
