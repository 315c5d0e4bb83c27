#include "rio/support/temp_dir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "rio/units.h"
#include "rio/support/recording_hooks.h"

namespace rio::test {

void TempDirTest::SetUp() {
  close_all_units();
  ::unsetenv("TABSIZE");
  install_recording_hooks();
  std::string pattern = (std::filesystem::temp_directory_path() / "riotestXXXXXX").string();
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  ASSERT_NE(::mkdtemp(buf.data()), nullptr);
  dir_ = buf.data();
  previous_cwd_ = std::filesystem::current_path().string();
  std::filesystem::current_path(dir_);
}

void TempDirTest::TearDown() {
  close_all_units();
  ::unsetenv("TABSIZE");
  std::filesystem::current_path(previous_cwd_);
  std::error_code ec;
  std::filesystem::permissions(dir_, std::filesystem::perms::owner_all, ec);
  std::filesystem::remove_all(dir_, ec);
}

std::string TempDirTest::path(const std::string& name) const { return dir_ + "/" + name; }

void TempDirTest::write_file(const std::string& name, const std::string& bytes) const {
  std::ofstream out(path(name), std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string TempDirTest::read_file(const std::string& name) const {
  std::ifstream in(path(name), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool TempDirTest::exists(const std::string& name) const { return std::filesystem::exists(path(name)); }

}  // namespace rio::test
