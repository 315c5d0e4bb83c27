#pragma once
// All of a run's output files or none: each is written under a temporary
// name beside its final one, and only when every one is complete are they
// renamed into place. A run that fails part-way removes its temporaries and
// leaves every earlier file as it was.
#include <string>
#include <utility>
#include <vector>

namespace cli {

class StagedOutputs {
 public:
  StagedOutputs() = default;
  ~StagedOutputs();
  StagedOutputs(const StagedOutputs&) = delete;
  StagedOutputs& operator=(const StagedOutputs&) = delete;

  // The name to write final_path's content to; "-" stays "-". Throws
  // compare::OutputError when no file can be made beside final_path.
  // With keep_extension the temporary name ends in final_path's extension.
  std::string stage(const std::string& final_path, bool keep_extension = false);
  // Renames every staged file into place; throws compare::OutputError.
  void commit();
  // A writer's message with every temporary name replaced by its final one.
  std::string with_final_names(std::string message) const;

 private:
  std::vector<std::pair<std::string, std::string>> staged_;  // temporary, final
};

}  // namespace cli
