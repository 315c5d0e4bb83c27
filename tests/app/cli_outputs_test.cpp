// The command line's outputs as one whole: a file named under two roles is
// a usage error, a name in the way stops the run before any file is
// replaced, and a reader that goes away leaves no temporary behind.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/support/cli_runner.h"

namespace {

using cli_test::Workspace;
namespace fs = std::filesystem;

const char kFive1[] = "5\n1 2 0 0 0.5\n4 5 0 0 0.5\n3 4 0 0 1.0\n1 3 0 0 2.0\n";
const char kFive2[] = "5\n1 3 0 0 1.0\n2 4 0 0 2.0\n1 2 0 0 3.0\n1 5 0 0 4.0\n";
const char kOld[] = "an earlier run's file\n";

std::vector<std::string> every_file_in(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

struct SameFile {
  const char* what;
  std::vector<std::string> arguments;
  const char* message;
};

TEST(CliOutputs, OneFileUnderTwoRolesIsAUsageErrorNamingBoth) {
  const std::vector<SameFile> cases = {
      {"the results file", {"--tsv", "MATRICES.DAT"}, "--tsv and MATRICES.DAT are the same file"},
      {"an input", {"--json", "five1.den"}, "--json and the first input are the same file"},
      {"two exports", {"--tsv", "x.txt", "--csv", "./x.txt"}, "--csv and --tsv are the same file"},
      {"the converted input", {"--write-den", "./five1.den"}, "--write-den and the first input"},
  };
  for (const SameFile& c : cases) {
    Workspace ws;
    ws.write("five1.den", kFive1);
    ws.write("five2.den", kFive2);
    ws.write("MATRICES.DAT", kOld);
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.end(), {"-q", "five1.den", "five2.den"});
    const auto result = ws.run_with("", arguments);
    EXPECT_EQ(result.exit_status, 2) << c.what;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << c.what << ": " << result.err;
    EXPECT_EQ(ws.read("MATRICES.DAT"), kOld) << c.what;
    EXPECT_EQ(ws.read("five1.den"), kFive1) << c.what;
    EXPECT_EQ(every_file_in(ws.dir()), (std::vector<std::string>{"MATRICES.DAT", "five1.den", "five2.den"}))
        << c.what;
  }
}

TEST(CliOutputs, ADirectoryInTheWayReplacesNothingAndMakesNoDirectory) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("five2.den", kFive2);
  ws.write("MATRICES.DAT", kOld);
  ws.write("t.tsv", kOld);
  fs::create_directory(ws.path("j.json"));
  const auto result =
      ws.run_with("", {"-q", "--tsv", "t.tsv", "--npy", "arrays", "--json", "j.json", "five1.den", "five2.den"});
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_NE(result.err.find("j.json: cannot write: Is a directory"), std::string::npos) << result.err;
  EXPECT_EQ(ws.read("MATRICES.DAT"), kOld);
  EXPECT_EQ(ws.read("t.tsv"), kOld);
  EXPECT_EQ(every_file_in(ws.dir()),
            (std::vector<std::string>{"MATRICES.DAT", "five1.den", "five2.den", "j.json", "t.tsv"}));
}

// Standard output is a pipe whose reader is gone before the first byte:
// the run dies of SIGPIPE (status 141 in a shell) and MATRICES.DAT's
// temporary goes with it.
TEST(CliOutputs, AClosedPipeEndsTheRunWithoutTemporaries) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("five2.den", kFive2);
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ::close(ends[0]);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, ends[1]);
  posix_spawn_file_actions_addchdir_np(&actions, ws.dir().c_str());
  const std::string program = cli_test::cli_executable().string();
  std::vector<std::string> words = {program, "-q", "--tsv", "-", "five1.den", "five2.den"};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  ASSERT_EQ(::posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  ::close(ends[1]);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE) << status;
  EXPECT_EQ(every_file_in(ws.dir()), (std::vector<std::string>{"five1.den", "five2.den"}));
}

// Runs the program in ws through the shell with a redirection of its
// standard output; the exit status, standard error in ws/err.txt.
int run_redirected(const Workspace& ws, const std::string& arguments, const std::string& redirection) {
  const std::string command = "cd '" + ws.dir().string() + "' && '" + cli_test::cli_executable().string() + "' " +
                              arguments + " 2>err.txt " + redirection;
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Script mode promises 0, 1 or 2: a report that cannot be written is a
// failure to write (1); a closed standard output takes nothing else's file.
TEST(CliOutputs, AReportThatCannotBeWrittenExitsOneAndAClosedOutputIsNoOnesFile) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("five2.den", kFive2);
  EXPECT_EQ(run_redirected(ws, "-q five1.den five2.den", ">/dev/full"), 1);
  EXPECT_EQ(ws.read("err.txt"), "dendrocompare-cli: standard output: cannot write the report\n");
  EXPECT_TRUE(ws.exists("MATRICES.DAT"));
  EXPECT_EQ(run_redirected(ws, "-q --plot p.png five1.den five2.den", ">&-"), 0);
  EXPECT_EQ(ws.read("err.txt"), "");
  const std::string png = ws.read("p.png");
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(png.find("MINIMUM VALUES"), std::string::npos);
}

// File names hold any bytes but '/' and NUL: a name that is not UTF-8 stays
// valid JSON (as Python's surrogateescape reads it back), and one with a
// newline still makes a one-line error.
TEST(CliOutputs, StrangeFileNamesKeepTheJsonValidAndTheErrorOnOneLine) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("caf\xe9\xff.den", kFive2);
  const auto json = ws.run_with("", {"-q", "--json", "-", "five1.den", "caf\xe9\xff.den"});
  ASSERT_EQ(json.exit_status, 0) << json.err;
  EXPECT_NE(json.out.find("\"path\": \"caf\\udce9\\udcff.den\""), std::string::npos) << json.out;
  const auto missing = ws.run_with("", {"-q", "five1.den", "two\nlines.den"});
  EXPECT_EQ(missing.exit_status, 1);
  EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;
  EXPECT_NE(missing.err.find("two\\nlines.den"), std::string::npos) << missing.err;
}

}  // namespace
