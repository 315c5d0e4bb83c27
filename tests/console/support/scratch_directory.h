#pragma once
// A fresh directory for the files a test writes, removed with everything in
// it when the test ends.
#include <filesystem>
#include <string>

namespace console::test {

class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  std::string path_of(const std::string& name) const { return (root_ / name).string(); }

 private:
  std::filesystem::path root_;
};

// The whole content of a file, byte for byte.
std::string read_file_bytes(const std::string& path);

}  // namespace console::test
