// The command line with file arguments, as a script uses it: the same
// MATRICES.DAT and report as the dialogue, the exports, exit statuses a
// script can trust, and no file left behind by a failed run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/support/cli_runner.h"

namespace {

using cli_test::Workspace;
namespace fs = std::filesystem;

const char kFive1[] = "5\n1 2 0 0 0.5\n4 5 0 0 0.5\n3 4 0 0 1.0\n1 3 0 0 2.0\n";
const char kFive2[] = "5\n1 3 0 0 1.0\n2 4 0 0 2.0\n1 2 0 0 3.0\n1 5 0 0 4.0\n";
const std::string kPrompts = "  ENTER FILENAME FOR dendrogram 1\r\n  ENTER FILENAME FOR dendrogram 2\r\n";

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> files_in(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().filename().string()[0] != '.') names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(CliArguments, GiveTheDialoguesResultsFileAndReportWithoutThePrompts) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("five2.den", kFive2);
  const auto dialogue = ws.run("five1.den\nfive2.den\n");
  const std::string dialogue_file = ws.read("MATRICES.DAT");
  fs::remove(ws.path("MATRICES.DAT"));
  const auto scripted = ws.run_with("", {"five1.den", "five2.den"});
  EXPECT_EQ(scripted.exit_status, 0);
  EXPECT_EQ(scripted.err, "");
  ASSERT_EQ(dialogue.out.rfind(kPrompts, 0), 0u);
  EXPECT_EQ(scripted.out, dialogue.out.substr(kPrompts.size()));
  EXPECT_EQ(ws.read("MATRICES.DAT"), dialogue_file);
  EXPECT_EQ(files_in(ws.dir()), (std::vector<std::string>{"MATRICES.DAT", "five1.den", "five2.den"}));
}

TEST(CliArguments, OutputDirectoryTakesMatricesDat) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("five2.den", kFive2);
  fs::create_directory(ws.path("out"));
  const auto result = ws.run_with("", {"--output-dir", "out", "five1.den", "five2.den"});
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_TRUE(ws.exists("out/MATRICES.DAT"));
  EXPECT_FALSE(ws.exists("MATRICES.DAT"));
}

// The comma-separated fields of a row as numbers.
std::vector<double> numbers_of(const std::string& line) {
  std::vector<double> fields;
  std::istringstream row(line);
  for (std::string field; std::getline(row, field, ',');) fields.push_back(std::strtod(field.c_str(), nullptr));
  return fields;
}

// Level pair (1, 3) of the five-object example: a = 1, a + b = 2, a + c = 6
// of 10 pairs, so D = 6, U = 7, W = 8, d = 3; adjusted Rand index
// 2(ad - bc) / ((a+b)(b+d) + (a+c)(c+d)) = -4/56; Fowlkes-Mallows
// a / sqrt(2 * 6). The 4-byte values are these rounded once, since every
// intermediate of so small a case is exact.
TEST(CliArguments, TsvRowsCarryStoredAndExactValues) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("five2.den", kFive2);
  const auto stored = ws.run_with("", {"--tsv", "-", "five1.den", "five2.den"});
  ASSERT_EQ(stored.exit_status, 0) << stored.err;
  const auto rows = lines_of(stored.out);
  ASSERT_EQ(rows.size(), 7u);  // header and 2 x 3 level pairs, no report
  EXPECT_EQ(rows[0], "k\tl\tclusters1\tclusters2\theight1\theight2\tjaccard\trand\teuclidean\tsorensen\t"
                     "adjusted_rand\tfowlkes_mallows");
  EXPECT_EQ(rows[3], "1\t3\t3\t2\t0.5\t3\t0.85714287\t0.6\t2.4494898\t0.75\t1.0714285\t0.28867513");

  const auto exact = ws.run_with("", {"--csv", "pairs.csv", "--exact", "five1.den", "five2.den"});
  ASSERT_EQ(exact.exit_status, 0) << exact.err;
  const std::vector<double> fields = numbers_of(lines_of(ws.read("pairs.csv"))[3]);
  const std::vector<double> expected = {1, 3, 3, 2, 0.5, 3, 6.0 / 7, 0.6, std::sqrt(6.0), 0.75, 1 + 4.0 / 56,
                                        1 / std::sqrt(12.0)};
  ASSERT_EQ(fields.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(fields[i], expected[i], 1e-15) << "field " << i;
}

// The second example's levels have 4, 3 and 2 clusters, so at most 3 keeps
// its levels 2 and 3; the first keeps both of its levels (3 and 2 clusters).
TEST(CliArguments, TheTopLevelsAloneAreTheirRowsOfTheExactTable) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("five2.den", kFive2);
  const auto top = ws.run_with("", {"--no-matrices", "--max-clusters", "3", "--csv", "-", "five1.den", "five2.den"});
  ASSERT_EQ(top.exit_status, 0) << top.err;
  const auto rows = lines_of(top.out);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[1].substr(0, 12), "1,2,3,3,0.5,");
  EXPECT_EQ(rows[2].substr(0, 10), "1,3,3,2,0.");
  EXPECT_EQ(rows[2].substr(rows[2].find(",0.857")), ",0.8571428571428571,0.6,2.449489742783178,0.75,1.0714285714285714,"
                                                   "0.2886751345948129");
  EXPECT_EQ(rows[4].substr(0, 10), "2,3,2,2,1,");
  EXPECT_FALSE(ws.exists("MATRICES.DAT"));
}

// Level pair (2, 3) of the five-object example: {1,2},{3,4,5} against
// {1,2,3,4},{5}. Both join (1,2) and (3,4): a = 2, a + b = 4, a + c = 6 of 10
// pairs; the contingency table has cells 2, 2, 1, so H(U, V) = ln 5 -
// (4 ln 2)/5, H(U) = ln 5 - (2 ln 2 + 3 ln 3)/5, H(V) = ln 5 - (4 ln 4)/5.
TEST(CliArguments, ChosenMeasuresAndTheFowlkesMallowsCurve) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("five2.den", kFive2);
  const auto chosen = ws.run_with(
      "", {"--exact", "--no-matrices", "--measures", "nmi,variation_of_information,rand", "--csv", "-", "five1.den",
           "five2.den"});
  ASSERT_EQ(chosen.exit_status, 0) << chosen.err;
  const auto rows = lines_of(chosen.out);
  ASSERT_EQ(rows.size(), 7u);
  EXPECT_EQ(rows[0], "k,l,clusters1,clusters2,height1,height2,nmi,variation_of_information,rand");
  const std::vector<double> fields = numbers_of(rows[6]);
  const double ln2 = std::log(2.0), ln3 = std::log(3.0), ln5 = std::log(5.0);
  const double joint = ln5 - 4 * ln2 / 5, h1 = ln5 - (2 * ln2 + 3 * ln3) / 5, h2 = ln5 - 4 * std::log(4.0) / 5;
  const double mutual = h1 + h2 - joint;
  ASSERT_EQ(fields.size(), 9u);
  EXPECT_NEAR(fields[6], mutual / ((h1 + h2) / 2), 1e-15);
  EXPECT_NEAR(fields[7], h1 + h2 - 2 * mutual, 1e-15);
  EXPECT_EQ(fields[8], 0.6);

  const auto curve = ws.run_with("", {"--bk", "-", "five1.den", "five2.den"});
  ASSERT_EQ(curve.exit_status, 0) << curve.err;
  const auto bk = lines_of(curve.out);
  ASSERT_EQ(bk.size(), 3u);  // k = 2 and 3: the first dendrogram has no level of 4 clusters
  EXPECT_EQ(bk[0], "k\tbk\texpected\tvariance\tlower\tupper");
  // k = 2: B = a / sqrt((a+b)(a+c)) = 2 / sqrt(24); E = sqrt(P Q) / (n (n-1)) with P = 8, Q = 12.
  EXPECT_EQ(bk[1].substr(0, bk[1].find('\t', 2)), "2\t0.408248290463863");
  EXPECT_NEAR(std::strtod(bk[1].c_str() + bk[1].find('\t', 2) + 1, nullptr), std::sqrt(96.0) / 20, 1e-15);

  const auto refused = ws.run_with("", {"--measures", "nmi", "--csv", "-", "five1.den", "five2.den"});
  EXPECT_EQ(refused.exit_status, 2);
  EXPECT_NE(refused.err.find("--exact"), std::string::npos) << refused.err;
}

TEST(CliArguments, WithoutMatricesTheReportPointsToNoFile) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("five2.den", kFive2);
  const auto result = ws.run_with("", {"--exact", "--no-matrices", "five1.den", "five2.den"});
  ASSERT_EQ(result.exit_status, 0) << result.err;
  EXPECT_FALSE(ws.exists("MATRICES.DAT"));
  const auto lines = lines_of(result.out);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), " NO OF LEVELS =  3  4\r");
  EXPECT_EQ(lines.back(), "  END OF CALCULATIONS \r");
  // 1 - Rand is smallest at level pair (1, 1): 3 and 4 clusters, D = 3 of 10 pairs.
  EXPECT_NE(result.out.find(" VALUE =     .30000 AT NO. OF CLUSTERS      3     4\r\n"), std::string::npos) << result.out;
}

struct Failure {
  const char* what;
  std::vector<std::string> arguments;
  int exit_status;
  const char* message_part;
};

class CliFailure : public ::testing::TestWithParam<Failure> {};

// A failure leaves the old MATRICES.DAT and nothing else behind.
TEST_P(CliFailure, ExitsWithItsStatusAndOneLineAndLeavesNoFile) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("five2.den", kFive2);
  ws.write("four.txt", "0 1 1 2\n2 3 2 2\n4 5 3 4\n");
  ws.write("centroid.txt", "0 1 1.0 2\n3 2 0.5 2\n");
  ws.write("bad.den", "5\n1 2 0 0 0.5\n4 5 0 0 0.5\n3 4 0 0 1.0\n1 9 0 0 2.0\n");
  ws.write("MATRICES.DAT", "old results\n");
  const auto before = files_in(ws.dir());
  const auto result = ws.run_with("", GetParam().arguments);
  EXPECT_EQ(result.exit_status, GetParam().exit_status);
  EXPECT_NE(result.err.find(GetParam().message_part), std::string::npos) << result.err;
  if (GetParam().exit_status == 1) {
    EXPECT_EQ(lines_of(result.err).size(), 1u) << result.err;
  }
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(ws.read("MATRICES.DAT"), "old results\n");
  EXPECT_EQ(files_in(ws.dir()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CliFailure,
    ::testing::Values(
        Failure{"unknown option", {"--bogus", "five1.den", "five2.den"}, 2, "--bogus"},
        Failure{"one file", {"five1.den"}, 2, "second dendrogram"},
        Failure{"unknown format", {"--from", "xml", "five1.den", "five2.den"}, 2, "--from"},
        Failure{"max clusters with matrices", {"--max-clusters", "3", "five1.den", "five2.den"}, 2,
                "--no-matrices"},
        Failure{"two outputs on stdout", {"--tsv", "-", "--json", "-", "five1.den", "five2.den"}, 2, "'-'"},
        Failure{"missing file", {"five1.den", "none.den"}, 1, "dendrocompare-cli: none.den: No such file"},
        Failure{"invalid merge", {"bad.den", "five2.den"}, 1, "bad.den: record 4 joins cluster 9"},
        Failure{"different counts", {"five1.den", "four.txt"}, 1, "different numbers of objects (5 and 4)"},
        Failure{"centroid linkage", {"centroid.txt", "centroid.txt"}, 1, "centroid.txt: line 2: the height 0.5"},
        Failure{"tanglegram options without the tanglegram", {"--tangle-clusters", "2", "five1.den", "five2.den"}, 2,
                "--measure tanglegram"},
        Failure{"untangling without the tanglegram", {"--no-untangle", "--plot", "a.png", "five1.den", "five2.den"},
                2, "--measure tanglegram"},
        Failure{"export into a missing directory", {"--json", "no/such/dir.json", "five1.den", "five2.den"}, 1,
                "no/such/dir.json: cannot write"}),
    [](const ::testing::TestParamInfo<Failure>& info) {
      std::string name = info.param.what;
      for (char& c : name)
        if (c == ' ') c = '_';
      return name;
    });

TEST(CliArguments, WriteDenGivesAFileThatComparesTheSame) {
  Workspace ws;
  ws.write("a.txt", "0 1 0.5 2\n2 3 0.7 2\n4 5 1.0 4\n");
  ws.write("b.csv", "-1,-3,0.2\n-2,-4,0.3\n1,2,0.9\n");
  ASSERT_EQ(ws.run_with("", {"--write-den", "a.den", "a.txt"}).exit_status, 0);
  EXPECT_EQ(ws.read("a.den"), "4\n1 2 1 1 0.5\n3 4 1 1 0.7\n1 3 2 2 1\n");
  ASSERT_EQ(ws.run_with("", {"a.txt", "b.csv"}).exit_status, 0);
  const std::string from_linkage = ws.read("MATRICES.DAT");
  ASSERT_EQ(ws.run_with("", {"a.den", "b.csv"}).exit_status, 0);
  EXPECT_EQ(ws.read("MATRICES.DAT"), from_linkage);
}

}  // namespace

namespace {

TEST(CliArguments, PlotWritesThePictureBesideTheResults) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("five2.den", kFive2);
  const auto png = ws.run_with("", {"--quiet", "--plot", "ari.png", "five1.den", "five2.den"});
  EXPECT_EQ(png.exit_status, 0) << png.err;
  EXPECT_EQ(png.err, "");
  EXPECT_EQ(ws.read("ari.png").substr(0, 8), "\x89PNG\r\n\x1a\n");
  const auto svg = ws.run_with("", {"--plot", "agree.svg", "--measure", "agreement", "five1.den", "five2.den"});
  EXPECT_EQ(svg.exit_status, 0) << svg.err;
  EXPECT_NE(ws.read("agree.svg").find("Agreement at equal cluster counts"), std::string::npos);
  const auto refused = ws.run_with("", {"--plot", "picture.jpg", "five1.den", "five2.den"});
  EXPECT_EQ(refused.exit_status, 2);
  EXPECT_FALSE(ws.exists("picture.jpg"));
}

// The trees of the five-object example, face to face, named in the SVG by
// the labels given; the JSON summary holds their entanglement.
TEST(CliArguments, TheTanglegramAndItsEntanglement) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("five2.den", kFive2);
  ws.write("names.txt", "ant\nbee\ncat\ndog\neel\n");
  const auto svg = ws.run_with("", {"-q", "--plot", "t.svg", "--measure", "tanglegram", "--tangle-clusters", "2",
                                    "--labels", "names.txt", "five1.den", "five2.den"});
  ASSERT_EQ(svg.exit_status, 0) << svg.err;
  const std::string picture = ws.read("t.svg");
  for (const char* name : {">ant<", ">bee<", ">cat<", ">dog<", ">eel<"})
    EXPECT_NE(picture.find(name), std::string::npos) << name;
  EXPECT_NE(picture.find("2 and 2 clusters"), std::string::npos);
  // Dendrogram 1 draws 1 2 (3 (4 5)), dendrogram 2 ((1 3) (2 4)) 5: objects
  // 2 and 3 change places, 1 + 1 against 2 (4^1.5 + 2^1.5) for reversed orders.
  const auto json = ws.run_with("", {"-q", "--json", "-", "five1.den", "five2.den"});
  ASSERT_EQ(json.exit_status, 0) << json.err;
  const std::size_t at = json.out.find("\"entanglement\": {\"given\": ");
  ASSERT_NE(at, std::string::npos) << json.out;
  const double given = std::stod(json.out.substr(at + 26));
  EXPECT_NEAR(given, 2 / (2 * (8 + 2 * std::sqrt(2.0))), 1e-15);
  EXPECT_NE(json.out.find("\"untangled\": "), std::string::npos);
}

}  // namespace
