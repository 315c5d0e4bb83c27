// The terminal program run as a user runs it: answers on standard input,
// the console records on standard output, MATRICES.DAT in its directory.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/support/cli_runner.h"

namespace {

using cli_test::Workspace;

const char kFive1[] = "5\n1 2 0 0 0.5\n4 5 0 0 0.5\n3 4 0 0 1.0\n1 3 0 0 2.0\n";
const char kFive2[] = "5\n1 3 0 0 1.0\n2 4 0 0 2.0\n1 2 0 0 3.0\n1 5 0 0 4.0\n";
// Five objects merged at one height: a single level.
const char kOneLevel[] = "5\n1 2 0 0 1.0\n3 4 0 0 1.0\n1 3 0 0 1.0\n1 5 0 0 1.0\n";

std::string records(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

const std::vector<std::string> kPrompts = {"  ENTER FILENAME FOR dendrogram 1",
                                           "  ENTER FILENAME FOR dendrogram 2"};

std::vector<std::string> console(const std::string& levels, const std::vector<std::string>& report) {
  std::vector<std::string> lines = kPrompts;
  lines.push_back(levels);
  lines.insert(lines.end(), report.begin(), report.end());
  return lines;
}

std::vector<std::string> minimum_report(const std::vector<std::string>& value_lines) {
  const char* headings[] = {"  1 - jaccard", "  1 - simple match = 1 - RAND", "  Euclidean",
                            "  1 - Sorensen", "  1 - ADJUSTED RAND"};
  std::vector<std::string> lines = {" ", "  MINIMUM VALUES ", " "};
  for (int m = 0; m < 5; ++m) {
    lines.push_back(headings[m]);
    lines.push_back(value_lines[m]);
  }
  lines.push_back(" ");
  lines.push_back("  END OF CALCULATIONS, SEE FILE MATRICES.DAT ");
  return lines;
}

std::vector<std::string> never_replaced() {
  return std::vector<std::string>(5, " VALUE =  100.00000 AT NO. OF CLUSTERS      0     0");
}

TEST(CliComparison, FiveObjectExamplesGiveTheDocumentedConsoleAndResultsFile) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("five2.den", kFive2);
  auto result = ws.run("five1.den\nfive2.den\n");
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            records(console(" NO OF LEVELS =  3  4",
                            minimum_report({
                                " VALUE =     .75000 AT NO. OF CLUSTERS      2     2",
                                " VALUE =     .30000 AT NO. OF CLUSTERS      3     4",
                                " VALUE =    1.73205 AT NO. OF CLUSTERS      3     4",
                                " VALUE =     .60000 AT NO. OF CLUSTERS      2     2",
                                " VALUE =    1.07143 AT NO. OF CLUSTERS      3     2",
                            }))));
  EXPECT_EQ(ws.read("MATRICES.DAT"), records({
                                         "   0  4  3  2",
                                         "  1 - jaccard",
                                         "   3  1.00000  1.00000  .857143",
                                         "   2  1.00000  1.00000  .750000",
                                         "  1 - simple match = 1 - RAND",
                                         "   3  .300000  .400000  .600000",
                                         "   2  .500000  .600000  .600000",
                                         "  Euclidean",
                                         "   3  1.73205  2.00000  2.44949",
                                         "   2  2.23607  2.44949  2.44949",
                                         "  1 - Sorensen",
                                         "   3  1.00000  1.00000  .750000",
                                         "   2  1.00000  1.00000  .600000",
                                         "  1 - ADJUSTED RAND",
                                         "   3  1.15385  1.25000  1.07143",
                                         "   2  1.19048  1.36364  1.15385",
                                     }));
}

TEST(CliComparison, ExistingLongerResultsFileIsReplacedWhole) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("five2.den", kFive2);
  ws.write("MATRICES.DAT", std::string(5000, 'x') + "\n");
  auto result = ws.run("five1.den\nfive2.den\n");
  ASSERT_EQ(result.exit_status, 0);
  EXPECT_EQ(ws.read("MATRICES.DAT").substr(0, 15), "   0  4  3  2\r\n");
  EXPECT_EQ(ws.read("MATRICES.DAT").find('x'), std::string::npos);
}

TEST(CliComparison, SingleLevelFirstDendrogramWritesZerosHeaderAndNoRows) {
  Workspace ws;
  ws.write("one.den", kOneLevel);
  ws.write("five2.den", kFive2);
  auto result = ws.run("one.den\nfive2.den\n");
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.out, records(console(" NO OF LEVELS =  1  4", minimum_report(never_replaced()))));
  EXPECT_EQ(ws.read("MATRICES.DAT"),
            records({"   0  0  0  0", "  1 - jaccard", "  1 - simple match = 1 - RAND",
                     "  Euclidean", "  1 - Sorensen", "  1 - ADJUSTED RAND"}));
}

TEST(CliComparison, SingleLevelSecondDendrogramWritesRowsWithZeroLabelsOnly) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("one.den", kOneLevel);
  auto result = ws.run("five1.den\none.den\n");
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.out, records(console(" NO OF LEVELS =  3  1", minimum_report(never_replaced()))));
  std::vector<std::string> expected = {"   0"};
  for (const char* heading : {"  1 - jaccard", "  1 - simple match = 1 - RAND", "  Euclidean",
                              "  1 - Sorensen", "  1 - ADJUSTED RAND"}) {
    expected.push_back(heading);
    expected.push_back("   0");
    expected.push_back("   0");
  }
  EXPECT_EQ(ws.read("MATRICES.DAT"), records(expected));
}

TEST(CliComparison, ObjectCountOfSecondFileIsPassedOver) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  std::string second = kFive2;
  second.replace(0, 1, "7");
  ws.write("seven.den", second);
  auto result = ws.run("five1.den\nseven.den\n");
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_NE(result.out.find(" NO OF LEVELS =  3  4\r\n"), std::string::npos);
  EXPECT_EQ(ws.read("MATRICES.DAT").substr(0, 15), "   0  4  3  2\r\n");
}

TEST(CliComparison, FileNamesAreTrimmedAndCutToOneHundredCharacters) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  // A name of exactly 100 characters, answered with 20 more after it.
  const std::string long_name = std::string(91, 'n') + ".five2.de";
  ASSERT_EQ(long_name.size(), 100u);
  ws.write(long_name, kFive2);
  auto result = ws.run("  five1.den   \n" + long_name + "IGNORED-PAST-100-CH\n");
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(ws.read("MATRICES.DAT").substr(0, 15), "   0  4  3  2\r\n");
}

TEST(CliComparison, EqualSmallestValuesReportTheFirstLevelPairInLoopOrder) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  // Compared with itself, every measure is 0 at (1, 1) and again at (2, 2).
  auto result = ws.run("five1.den\nfive1.den\n");
  EXPECT_EQ(result.exit_status, 0);
  EXPECT_EQ(result.out,
            records(console(" NO OF LEVELS =  3  3",
                            minimum_report(std::vector<std::string>(
                                5, " VALUE =     .00000 AT NO. OF CLUSTERS      3     3")))));
}

}  // namespace
