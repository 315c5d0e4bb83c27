// Files written whole or not at all: content in small and large pieces
// arrives in order, and a writer that gives up leaves the old file and no
// temporary one.
#include "outputs/atomic_file.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("atomic_file_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const char* name) const { return (dir_ / name).string(); }
  static std::string read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  int files() const { return static_cast<int>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator())); }

  fs::path dir_;
};

// Single characters, pieces shorter than the stream's buffer and pieces
// longer than it, past the 8 MiB at which writing to disk is started.
TEST_F(AtomicFileTest, PiecesOfEverySizeArriveInOrder) {
  std::vector<std::string> pieces;
  std::string expected;
  for (int i = 0; expected.size() < (20u << 20); ++i) {
    const std::size_t length = i % 3 == 0 ? 1 : i % 3 == 1 ? 1000 + i % 7 : (200u << 10) + i;
    pieces.emplace_back(length, static_cast<char>('a' + i % 26));
    expected += pieces.back();
  }
  const std::string target = path("table.tsv");
  compare::write_file_atomically(target, [&](std::ostream& out) {
    for (const std::string& piece : pieces) out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
  });
  EXPECT_TRUE(read(target) == expected);
  EXPECT_EQ(files(), 1);
}

TEST_F(AtomicFileTest, AWriterThatThrowsLeavesTheOldFileAndNoTemporary) {
  const std::string target = path("table.tsv");
  std::ofstream(target) << "old table\n";
  EXPECT_THROW(compare::write_file_atomically(target,
                                              [](std::ostream& out) {
                                                out << std::string(100000, 'x');
                                                throw std::runtime_error("stopped");
                                              }),
               std::runtime_error);
  EXPECT_EQ(read(target), "old table\n");
  EXPECT_EQ(files(), 1);
}

}  // namespace
