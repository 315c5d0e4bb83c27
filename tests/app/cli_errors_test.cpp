// Runs that end with a report: each leaves exit status 255, writes its exact
// report lines on standard error and leaves an existing MATRICES.DAT alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "app/support/cli_runner.h"

namespace {

using cli_test::Workspace;

const char kFive1[] = "5\n1 2 0 0 0.5\n4 5 0 0 0.5\n3 4 0 0 1.0\n1 3 0 0 2.0\n";
const char kOldResults[] = "results of an earlier run\r\n";

std::string report(const std::string& heading, const std::string& message,
                   const std::string& statement) {
  return "? " + heading + "\n? " + message + "\n? " + statement + "\n";
}
std::string runtime_report(const std::string& message, const std::string& statement) {
  return report("VELMORA Runtime Error:", message, statement);
}
std::string system_report(const std::string& message, const std::string& statement) {
  return report("System Error:", message, statement);
}

struct ErrorRun {
  const char* name;
  const char* file1;   // content of a.den, or null for none
  const char* file2;   // content of b.den, or null for none
  const char* answers;
  std::string expected_err;
  bool reaches_second_prompt;
};

void PrintTo(const ErrorRun& run, std::ostream* os) { *os << run.name; }

class CliErrors : public testing::TestWithParam<ErrorRun> {};

TEST_P(CliErrors, EndWithTheReportAndExitStatus255) {
  const ErrorRun& run = GetParam();
  Workspace ws;
  if (run.file1) ws.write("a.den", run.file1);
  if (run.file2) ws.write("b.den", run.file2);
  std::filesystem::create_directory(ws.path("adir"));
  ws.write("MATRICES.DAT", kOldResults);
  auto result = ws.run(run.answers);
  EXPECT_EQ(result.exit_status, 255);
  EXPECT_EQ(result.err, run.expected_err);
  std::string prompts = "  ENTER FILENAME FOR dendrogram 1\r\n";
  if (run.reaches_second_prompt) prompts += "  ENTER FILENAME FOR dendrogram 2\r\n";
  EXPECT_EQ(result.out, prompts);
  EXPECT_EQ(ws.read("MATRICES.DAT"), kOldResults);
}

const ErrorRun kErrorRuns[] = {
    {"EmptyAnswer", nullptr, nullptr, "\n",
     runtime_report("Bad file specification", "OPEN(UNIT=1,..."), false},
    {"NoAnswerAtAll", nullptr, nullptr, "",
     runtime_report("Attempt to read past end of file", "READ(UNIT=*,..."), false},
    {"MistypedName", nullptr, nullptr, "nosuch.den\n",
     runtime_report("Attempt to read past end of file", "READ(UNIT=1,..."), false},
    {"MissingDirectory", nullptr, nullptr, "nodir/a.den\n",
     system_report("The system cannot find the path specified.", "OPEN(UNIT=1,..."), false},
    {"DirectoryAsFileName", nullptr, nullptr, "adir\n",
     system_report("Access Denied.", "OPEN(UNIT=1,..."), false},
    {"TooFewMergesInFirstFile", "5\n1 2 0 0 0.5\n4 5 0 0 0.5\n", nullptr, "a.den\n",
     runtime_report("Attempt to read past end of file", "READ(UNIT=1,..."), false},
    {"LastLineWithoutLineFeedIsNoRecord", "5\n1 2 0 0 0.5\n4 5 0 0 0.5\n3 4 0 0 1.0\n1 3 0 0 2.0",
     nullptr, "a.den\n", runtime_report("Attempt to read past end of file", "READ(UNIT=1,..."),
     false},
    {"TooFewMergesInSecondFile", kFive1, "5\n1 3 0 0 1.0\n", "a.den\nb.den\n",
     runtime_report("Attempt to read past end of file", "READ(UNIT=2,..."), true},
    {"LetterWhereNumberExpected", "5\n1 2 0 0 0.5\n4 x 0 0 0.5\n3 4 0 0 1.0\n1 3 0 0 2.0\n",
     nullptr, "a.den\n", runtime_report("Illegal character in numeric input", "READ(UNIT=1,..."),
     false},
    {"ObjectCountBelowTwo", "1\n", nullptr, "a.den\n",
     "? Invalid dendrogram file:\n? dendrogram 1 (a.den): the object count is 1; a dendrogram "
     "needs at least 2 objects\n",
     false},
    {"ClusterThatIsNotCurrent", "5\n1 2 0 0 0.5\n4 5 0 0 0.5\n3 5 0 0 1.0\n1 3 0 0 2.0\n", nullptr,
     "a.den\n", "? Invalid dendrogram file:\n? dendrogram 1 (a.den): record 3 joins cluster 5, which is not a current cluster (object 5 is in cluster 4 by then)\n", false},
    {"MergeWithItself", kFive1, "5\n1 3 0 0 1.0\n2 2 0 0 2.0\n1 2 0 0 3.0\n1 5 0 0 4.0\n",
     "a.den\nb.den\n", "? Invalid dendrogram file:\n? dendrogram 2 (b.den): record 2 joins cluster 2 with itself\n", true},
    {"ClusterOutOfRange", "5\n1 2 0 0 0.5\n4 9 0 0 0.5\n3 4 0 0 1.0\n1 3 0 0 2.0\n", nullptr,
     "a.den\n", "? Invalid dendrogram file:\n? dendrogram 1 (a.den): record 2 joins cluster 9, but objects are numbered 1 to 5\n", false},
    {"HeightNotANumber", "5\n1 2 0 0 0.5\n4 5 0 0 nan\n3 4 0 0 1.0\n1 3 0 0 2.0\n", nullptr,
     "a.den\n", "? Invalid dendrogram file:\n? dendrogram 1 (a.den): record 2 has a height that is not a number\n", false},
};

INSTANTIATE_TEST_SUITE_P(Runs, CliErrors, testing::ValuesIn(kErrorRuns),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
