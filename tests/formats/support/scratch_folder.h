#pragma once
// A temporary folder of input files for the readers' tests, removed again
// with everything in it, and the message of a read that is refused.
#include <filesystem>
#include <functional>
#include <string>

namespace formats_test {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // Writes the file; returns its path.
  std::string write(const std::string& name, const std::string& content) const;
  std::string path(const std::string& name) const;

 private:
  std::filesystem::path dir_;
};

// The InputError message of `read`, or "accepted" when it throws none.
std::string refusal(const std::function<void()>& read);

}  // namespace formats_test
