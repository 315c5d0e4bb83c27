#include "outputs/staged_outputs.h"

#include <cerrno>
#include <cstring>

#include "model/errors.h"
#include "outputs/atomic_file.h"

namespace cli {

StagedOutputs::~StagedOutputs() {
  for (const auto& [temporary, final_path] : staged_) compare::discard_temporary(temporary);
}

std::string StagedOutputs::stage(const std::string& final_path, bool keep_extension) {
  if (final_path == "-") return final_path;
  std::string extension;
  if (const auto dot = final_path.find_last_of('.'); keep_extension && dot != std::string::npos &&
                                                     final_path.find('/', dot) == std::string::npos)
    extension = final_path.substr(dot);
  std::string temporary = compare::make_temporary_beside(final_path, extension);
  if (temporary.empty()) throw compare::OutputError(final_path + ": cannot write: " + std::strerror(errno));
  staged_.emplace_back(temporary, final_path);
  return temporary;
}

std::string StagedOutputs::with_final_names(std::string message) const {
  for (const auto& [temporary, final_path] : staged_)
    for (std::size_t at; (at = message.find(temporary)) != std::string::npos;)
      message.replace(at, temporary.size(), final_path);
  return message;
}

void StagedOutputs::commit() {
  while (!staged_.empty()) {
    const auto [temporary, final_path] = staged_.front();
    if (!compare::commit_temporary(temporary, final_path))
      throw compare::OutputError(final_path + ": cannot write: " + std::strerror(errno));
    staged_.erase(staged_.begin());
  }
}

}  // namespace cli
