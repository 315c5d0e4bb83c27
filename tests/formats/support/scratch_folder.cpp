#include "formats/support/scratch_folder.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

#include "model/errors.h"

namespace formats_test {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "inputs-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(dir_, ignored);
}

std::string ScratchFolder::write(const std::string& name, const std::string& content) const {
  std::ofstream(dir_ / name, std::ios::binary) << content;
  return path(name);
}

std::string ScratchFolder::path(const std::string& name) const { return (dir_ / name).string(); }

std::string refusal(const std::function<void()>& read) {
  try {
    read();
  } catch (const compare::InputError& e) {
    return e.what();
  }
  return "accepted";
}

}  // namespace formats_test
