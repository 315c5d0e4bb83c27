// A results file that cannot be written whole (the disk fills up, here a
// file size limit of 20 KiB) must leave the old MATRICES.DAT as it was and
// no partial file beside it, and the failure must be reported.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

#include "app/support/cli_runner.h"

namespace {

using cli_test::Workspace;
namespace fs = std::filesystem;

// Runs the command line under a file size limit, with SIGXFSZ ignored so
// that a write past the limit fails with an error instead of ending the
// process.
// The limit is in sh's blocks of 512 bytes.
int run_limited(const Workspace& ws, const std::string& input, const std::string& arguments, int blocks = 20) {
  const std::string command = "cd '" + ws.dir().string() + "' && printf '" + input +
                              "' | sh -c \"trap '' XFSZ; ulimit -f " + std::to_string(blocks) + "; exec '" +
                              cli_test::cli_executable().string() + "' " + arguments +
                              "\" >out.txt 2>err.txt";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void copy_iris_examples(const Workspace& ws) {
  for (const char* name : {"average.den", "complete.den"})
    fs::copy_file(fs::path(DENDRO_SOURCE_DIR) / "examples/iris" / name, ws.path(name));
}

int files_in(const Workspace& ws) {
  return static_cast<int>(std::distance(fs::directory_iterator(ws.dir()), fs::directory_iterator()));
}

TEST(FullDisk, TheDialogueReportsTheFailureAndKeepsTheOldResults) {
  Workspace ws;
  copy_iris_examples(ws);
  ws.write("MATRICES.DAT", "old results\n");
  const int before = files_in(ws) + 2;  // and the two captured outputs
  EXPECT_EQ(run_limited(ws, "average.den\\ncomplete.den\\n", ""), 255);
  EXPECT_EQ(ws.read("err.txt"), "? System Error:\n? There is not enough space on the disk.\n"
                                "? WRITE(UNIT=1,...\n");
  EXPECT_EQ(ws.read("MATRICES.DAT"), "old results\n");
  EXPECT_EQ(files_in(ws), before);
}

TEST(FullDisk, TheCommandLineSaysWhichFileAndKeepsTheOldResults) {
  Workspace ws;
  copy_iris_examples(ws);
  ws.write("MATRICES.DAT", "old results\n");
  const int before = files_in(ws) + 2;
  EXPECT_EQ(run_limited(ws, "", "average.den complete.den"), 1);
  EXPECT_EQ(ws.read("err.txt"), "dendrocompare-cli: MATRICES.DAT: cannot write: There is not enough space on the disk.\n");
  EXPECT_EQ(ws.read("out.txt"), "");
  EXPECT_EQ(ws.read("MATRICES.DAT"), "old results\n");
  EXPECT_EQ(files_in(ws), before);
}

// MATRICES.DAT of the iris examples (346 kB) fits under 400 kB, their
// level-pair tables (666 kB) do not: the export fails after MATRICES.DAT was
// written to its temporary file, and neither replaces the old results.
TEST(FullDisk, AnExportThatCannotBeWrittenKeepsEveryOldFile) {
  for (const char* option : {"--tsv", "--csv"}) {
    Workspace ws;
    copy_iris_examples(ws);
    ws.write("MATRICES.DAT", "old results\n");
    ws.write("pairs.txt", "old pairs\n");
    const int before = files_in(ws) + 2;
    EXPECT_EQ(run_limited(ws, "", std::string("average.den complete.den ") + option + " pairs.txt", 800), 1) << option;
    EXPECT_EQ(ws.read("err.txt"), "dendrocompare-cli: pairs.txt: cannot write: File too large\n") << option;
    EXPECT_EQ(ws.read("out.txt"), "") << option;
    EXPECT_EQ(ws.read("MATRICES.DAT"), "old results\n") << option;
    EXPECT_EQ(ws.read("pairs.txt"), "old pairs\n") << option;
    EXPECT_EQ(files_in(ws), before) << option;
  }
}

}  // namespace
