#pragma once
// A fresh temporary directory that is the current directory for one test,
// with the runtime's units closed and TABSIZE unset before and after.
#include <gtest/gtest.h>

#include <string>

namespace rio::test {

class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Path of name inside the directory.
  std::string path(const std::string& name) const;
  void write_file(const std::string& name, const std::string& bytes) const;
  std::string read_file(const std::string& name) const;
  bool exists(const std::string& name) const;
  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
  std::string previous_cwd_;
};

}  // namespace rio::test
