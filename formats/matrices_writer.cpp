#include "formats/matrices_writer.h"

#include <cerrno>
#include <cstring>
#include <mutex>

#include "formats/den_reader.h"
#include "formats/results_file.h"
#include "model/errors.h"
#include "rio/errors.h"

namespace compare {

void write_matrices(const ComparisonTables& tables, const std::string& path) {
  std::lock_guard lock(runtime_lock());
  int iostat = 0;
  const int error = write_results_file(tables, path, &iostat);
  if (error == 0) return;
  std::string why;
  if (error == -1)
    why = std::strerror(errno);
  else if (const char* text = rio::catalogue_text(error))
    why = text;
  else if (const char* text = rio::system_error_text(error))
    why = text;
  else
    why = "error " + std::to_string(error);
  throw OutputError(path + ": cannot write: " + why);
}

}  // namespace compare
