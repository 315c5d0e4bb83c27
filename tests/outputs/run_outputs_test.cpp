// A run's outputs: content in small and large pieces arrives in order; a
// writer that gives up, a name in the way or a fatal signal leaves the old
// files and no temporary; special files are written through; one file under
// two roles is refused.
#include "outputs/run_outputs.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

class RunOutputsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("run_outputs_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const char* name) const { return (dir_ / name).string(); }
  static std::string read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  int files() const { return static_cast<int>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator())); }

  void write(const std::string& sink_text, const outputs::Sink& sink) const {
    outputs::write_to(sink, [&](std::ostream& out) { out << sink_text; });
  }

  fs::path dir_;
};

// Single characters, pieces shorter than the stream's buffer and pieces
// longer than it, past the 8 MiB at which writing to disk is started.
TEST_F(RunOutputsTest, PiecesOfEverySizeArriveInOrder) {
  std::vector<std::string> pieces;
  std::string expected;
  for (int i = 0; expected.size() < (20u << 20); ++i) {
    const std::size_t length = i % 3 == 0 ? 1 : i % 3 == 1 ? 1000 + i % 7 : (200u << 10) + i;
    pieces.emplace_back(length, static_cast<char>('a' + i % 26));
    expected += pieces.back();
  }
  const std::string target = path("table.tsv");
  outputs::write_file_atomically(target, [&](std::ostream& out) {
    for (const std::string& piece : pieces) out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
  });
  EXPECT_TRUE(read(target) == expected);
  EXPECT_EQ(files(), 1);
}

TEST_F(RunOutputsTest, AWriterThatThrowsLeavesTheOldFileAndNoTemporary) {
  const std::string target = path("table.tsv");
  std::ofstream(target) << "old table\n";
  EXPECT_THROW(outputs::write_file_atomically(target,
                                              [](std::ostream& out) {
                                                out << std::string(100000, 'x');
                                                throw std::runtime_error("stopped");
                                              }),
               std::runtime_error);
  EXPECT_EQ(read(target), "old table\n");
  EXPECT_EQ(files(), 1);
}

// Each case is one refused second output; the message names both roles.
TEST_F(RunOutputsTest, OneFileUnderTwoRolesIsRefused) {
  std::ofstream(path("a.npy")) << "input";
  std::ofstream(path("t.tsv")) << "old";
  fs::create_hard_link(path("t.tsv"), path("link.tsv"));
  struct Case {
    const char* what;
    std::string first, second;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"an input", path("a.npy"), "", "--json and the first input are the same file"},
      {"one name twice", path("t.tsv"), path("t.tsv"), "--json and --tsv are the same file"},
      {"a hard link", path("t.tsv"), path("link.tsv"), "--json and --tsv are the same file"},
      {"a new file spelt twice", path("new.tsv"), (dir_ / "." / "new.tsv").string(), "--json and --tsv"},
  };
  for (const Case& c : cases) {
    outputs::RunOutputs run;
    run.add_input("the first input", path("a.npy"));
    try {
      if (!c.second.empty()) run.add("--tsv", c.first);
      run.add("--json", c.second.empty() ? c.first : c.second);
      ADD_FAILURE() << c.what << " accepted";
    } catch (const outputs::SameFileError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.what << ": " << e.what();
    }
  }
  EXPECT_EQ(read(path("t.tsv")), "old");
  EXPECT_EQ(files(), 3);
}

// A directory in the way is found before anything is written: the earlier
// output keeps its old content, and the --npy directory made for the run
// goes again.
TEST_F(RunOutputsTest, ANameInTheWayStopsTheRunBeforeAnyFileIsReplaced) {
  std::ofstream(path("t.tsv")) << "old";
  fs::create_directory(path("j.json"));
  {
    outputs::RunOutputs run;
    write("new", run.add("--tsv", path("t.tsv")));
    run.add_directory(path("arrays"));
    run.add("--npy", path("arrays") + "/clusters1.npy");
    EXPECT_THROW(run.add("--json", path("j.json")), compare::OutputError);
  }
  EXPECT_EQ(read(path("t.tsv")), "old");
  EXPECT_FALSE(fs::exists(path("arrays")));
  EXPECT_EQ(files(), 2);
}

// A device or FIFO named as an output takes the content and stays what it
// was; only a regular file is replaced by rename.
TEST_F(RunOutputsTest, SpecialFilesAreWrittenThroughAndKept) {
  ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
  fs::create_symlink(path("fifo"), path("fifo-link"));
  for (const char* name : {"fifo", "fifo-link"}) {
    std::string received;
    std::thread reader([&] { received = read(path("fifo")); });
    {
      outputs::RunOutputs run;
      write("through the pipe", run.add("--tsv", path(name)));
      run.commit();
    }
    reader.join();
    EXPECT_EQ(received, "through the pipe") << name;
    EXPECT_TRUE(fs::is_fifo(path("fifo"))) << name;
  }
  EXPECT_TRUE(fs::is_symlink(path("fifo-link")));
  if (::mknod(path("null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0)
    GTEST_SKIP() << "making a character device needs root: " << std::strerror(errno);
  outputs::RunOutputs run;
  write("discarded", run.add("--tsv", path("null")));
  run.commit();
  EXPECT_TRUE(fs::is_character_file(path("null")));
}

// A name of 255 bytes, the longest the file system takes, still gets a
// temporary beside it.
TEST_F(RunOutputsTest, TheLongestNameTheFileSystemTakesIsWritten) {
  const std::string name = std::string(251, 'n') + ".tsv";
  outputs::RunOutputs run;
  write("long", run.add("--tsv", path(name.c_str()), true));
  run.commit();
  EXPECT_EQ(read(path(name.c_str())), "long");
  EXPECT_EQ(files(), 1);
}

// The temporary is written through the descriptor it was made with: a
// symlink put in its place by someone else leads nowhere.
TEST_F(RunOutputsTest, ASymlinkSwappedForTheTemporaryIsNotFollowed) {
  std::ofstream(path("victim")) << "theirs";
  outputs::RunOutputs run;
  const outputs::Sink& sink = run.add("--tsv", path("t.tsv"));
  ASSERT_EQ(::unlink(sink.open_by_name.c_str()), 0);
  fs::create_symlink(path("victim"), sink.open_by_name);
  write("ours", sink);
  EXPECT_EQ(read(path("victim")), "theirs");
}

// A process ended by SIGTERM, SIGINT or SIGPIPE part-way through its
// outputs dies of that signal and leaves only the files that were there.
TEST_F(RunOutputsTest, AFatalSignalRemovesTheTemporaries) {
  for (int signal_number : {SIGTERM, SIGINT, SIGPIPE}) {
    std::ofstream(path("t.tsv")) << "old";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      outputs::RunOutputs run;
      write("new", run.add("--tsv", path("t.tsv")));
      write("new", run.add("--csv", path("c.csv")));
      ::raise(signal_number);
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << status;
    EXPECT_EQ(read(path("t.tsv")), "old");
    EXPECT_EQ(files(), 1) << strsignal(signal_number);
  }
}

// A run killed outright (SIGKILL: no handler runs) leaves its temporaries;
// the next run beside the same file removes those of processes that are
// gone, and leaves a living process's, other files' and the user's own.
TEST_F(RunOutputsTest, ALaterRunRemovesTheTemporariesOfAKilledOne) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    outputs::RunOutputs run;
    write("half", run.add("--tsv", path("t.tsv")));
    ::raise(SIGKILL);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  const std::string dead = "t.tsv~dc" + std::to_string(child) + ".";
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir_)) left.push_back(entry.path().filename().string());
  ASSERT_EQ(left.size(), 1u);
  ASSERT_EQ(left[0].rfind(dead, 0), 0u) << left[0];
  const std::string living = "t.tsv~dc" + std::to_string(::getppid()) + ".abcdef";
  for (const std::string& keep : {living, "u.tsv~dc" + std::to_string(child) + ".abcdef", std::string("t.tsv~dc12x.abcdef")})
    std::ofstream(path(keep.c_str())) << "keep";
  outputs::RunOutputs run;
  write("new", run.add("--tsv", path("t.tsv")));
  run.commit();
  EXPECT_FALSE(fs::exists(dir_ / left[0]));
  EXPECT_EQ(read(path("t.tsv")), "new");
  EXPECT_EQ(files(), 4);
}

}  // namespace
