// The command line's inputs as users have them: pipes a shell makes, read
// once; devices that never end, refused at once; a tree with labels beside
// an input without any, refused unless --labels pairs them; dendrograms
// with a single level, which leave nothing to compare; and what --help
// says about levels and inversions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "app/support/cli_runner.h"

namespace {

using cli_test::Workspace;

const char kFive1[] = "5\n1 2 0 0 0.5\n4 5 0 0 0.5\n3 4 0 0 1.0\n1 3 0 0 2.0\n";
const char kFive2[] = "5\n1 3 0 0 1.0\n2 4 0 0 2.0\n1 2 0 0 3.0\n1 5 0 0 4.0\n";
const char kOneLevel[] = "5\n1 2 0 0 1.0\n3 4 0 0 1.0\n1 3 0 0 1.0\n1 5 0 0 1.0\n";

// The first example as a scipy linkage saved by numpy.save: {1,2} and
// {4,5} at 0.5, {3,4,5} at 1, all at 2; in float64 or float32, either
// byte order.
std::string five1_npy(const std::string& descr = "<f8") {
  const double z[] = {0, 1, 0.5, 2, 3, 4, 0.5, 2, 2, 6, 1.0, 3, 5, 7, 2.0, 5};
  std::string dict = "{'descr': '" + descr + "', 'fortran_order': False, 'shape': (4, 4), }";
  dict.append(63 - (10 + dict.size()) % 64, ' ');
  dict += '\n';
  std::string bytes("\x93NUMPY\x01\x00", 8);
  bytes += static_cast<char>(dict.size());
  bytes += '\0';
  bytes += dict;
  for (const double value : z) {
    const float single = static_cast<float>(value);
    std::string item = descr.ends_with('4') ? std::string(reinterpret_cast<const char*>(&single), 4)
                                            : std::string(reinterpret_cast<const char*>(&value), 8);
    if (descr[0] == '>') std::reverse(item.begin(), item.end());
    bytes += item;
  }
  return bytes;
}

// The second example with 100 KB of blank records after its object count,
// so that no first read of the file takes it whole.
std::string long_five2() {
  std::string text = kFive2;
  text.insert(2, std::string(100000, '\n'));
  return text;
}

TEST(CliInputs, PipesReadAsTheirFilesDo) {
  Workspace ws;
  ws.write("a.npy", five1_npy());
  ws.write("b.den", long_five2());
  const auto files = ws.run_with("", {"-q", "a.npy", "b.den"});
  ASSERT_EQ(files.exit_status, 0) << files.err;
  const std::string expected = ws.read("MATRICES.DAT");
  ws.write("MATRICES.DAT", "");
  const auto piped = ws.run_in_bash("exec \"$0\" -q <(cat a.npy) <(cat b.den)");
  EXPECT_EQ(piped.exit_status, 0) << piped.err;
  EXPECT_EQ(piped.out, files.out);
  EXPECT_EQ(ws.read("MATRICES.DAT"), expected);
  const auto json = ws.run_in_bash("exec \"$0\" -q --no-matrices --json - <(cat b.den) <(cat a.npy)");
  EXPECT_EQ(json.exit_status, 0) << json.err;
  EXPECT_NE(json.out.find("\"format\": \"den\"}, {\"path\": \"/dev/fd/"), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("\"format\": \"npy\"}]"), std::string::npos) << json.out;
}

// Once read until memory ran out; the limit on the address space keeps a
// regression from taking the machine with it (a sanitizer's runtime needs
// far more address space than that, so there the limit is left off).
TEST(CliInputs, EndlessDevicesAreRefusedAtOnceWithTheirReason) {
#if defined(__SANITIZE_ADDRESS__)
  const std::string limit;
#else
  const std::string limit = "ulimit -v 4000000; ";
#endif
  Workspace ws;
  ws.write("b.den", kFive2);
  const auto start = std::chrono::steady_clock::now();
  const auto zero = ws.run_in_bash(limit + "exec \"$0\" -q /dev/zero b.den");
  EXPECT_EQ(zero.exit_status, 1);
  EXPECT_EQ(zero.err,
            "dendrocompare-cli: /dev/zero: no input format fits: npy: it does not begin as a NumPy .npy file does; den, "
            "linkage, hclust, newick: a NUL byte at byte 1, so it is no text\n");
  const auto random = ws.run_in_bash(limit + "exec \"$0\" -q --from linkage b.den /dev/urandom");
  EXPECT_EQ(random.exit_status, 1);
  EXPECT_NE(random.err.find("/dev/urandom: a NUL byte at byte "), std::string::npos) << random.err;
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_FALSE(ws.exists("MATRICES.DAT"));
}

// The first example's tree with objects 1..5 named a..e, its leaves in
// another order: by position they would pair c with 1, e with 2 and so on.
const char kTree[] = "((c:1,(e:0.5,d:0.5):0.5):1,(b:0.5,a:0.5):1.5);\n";

TEST(CliInputs, ATreeWithLabelsBesideAnInputWithoutNeedsTheLabels) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("t.nwk", kTree);
  ws.write("MATRICES.DAT", "old results\n");
  const auto refused = ws.run_with("", {"-q", "t.nwk", "five1.den"});
  EXPECT_EQ(refused.exit_status, 1);
  EXPECT_EQ(refused.err,
            "dendrocompare-cli: t.nwk has labels and five1.den has none, so their objects cannot be paired: give "
            "the labels of five1.den's objects in their order with --labels FILE, one a line\n");
  EXPECT_EQ(ws.read("MATRICES.DAT"), "old results\n");

  ws.write("labels.txt", "a\nb\nc\nd\ne\n");
  const auto paired = ws.run_with("", {"-q", "--tsv", "-", "--labels", "labels.txt", "t.nwk", "five1.den"});
  ASSERT_EQ(paired.exit_status, 0) << paired.err;
  // The same tree: every measure 0 where the levels meet (1, 1) and (2, 2).
  EXPECT_NE(paired.out.find("\n1\t1\t3\t3\t0.5\t0.5\t0\t0\t0\t0\t0\t1\n"), std::string::npos) << paired.out;
  EXPECT_NE(paired.out.find("\n2\t2\t2\t2\t1\t1\t0\t0\t0\t0\t0\t1\n"), std::string::npos) << paired.out;

  ws.write("numbered.nwk", "((3:1,(5:0.5,4:0.5):0.5):1,(2:0.5,1:0.5):1.5);\n");
  const auto numbered = ws.run_with("", {"-q", "--tsv", "-", "numbered.nwk", "five1.den"});
  ASSERT_EQ(numbered.exit_status, 0) << numbered.err;
  EXPECT_EQ(numbered.out, paired.out);
}

TEST(CliInputs, ASingleLevelLeavesNothingToCompare) {
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("one.den", kOneLevel);
  ws.write("two.txt", "0 1 3.5 2\n");
  struct Case {
    std::vector<std::string> arguments;
    std::string named;
  };
  for (const Case& c : {Case{{"five1.den", "one.den"}, "one.den"}, Case{{"one.den", "five1.den"}, "one.den"},
                        Case{{"two.txt", "two.txt"}, "two.txt"}, Case{{"--exact", "one.den", "one.den"}, "one.den"}}) {
    std::vector<std::string> arguments = {"-q", "--tsv", "pairs.tsv"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const auto result = ws.run_with("", arguments);
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.err, "dendrocompare-cli: dendrogram " + c.named + " has a single level; there is nothing to compare\n");
    EXPECT_EQ(result.out, "");
    EXPECT_FALSE(ws.exists("pairs.tsv"));
    EXPECT_FALSE(ws.exists("MATRICES.DAT"));
  }
}

struct ForeignFile {
  const char* what;
  const char* name;
  std::string content;
  const char* other;  // compared with it; its content below
  int exit_status;
  std::string message;  // the whole of standard error
};

void PrintTo(const ForeignFile& file, std::ostream* os) { *os << file.what; }

const char kMark[] = "\xEF\xBB\xBF";
const char kFive1Tree[] = "((c:1,(e:0.5,d:0.5):0.5):1,(b:0.5,a:0.5):1.5);\n";

// Each file as other tools write it, compared with the first example (or a
// tree of its objects named a..e): read as its own file would be, or
// refused with the reason.
class CliForeignFiles : public ::testing::TestWithParam<ForeignFile> {};

TEST_P(CliForeignFiles, ReadAsUsersHaveThemOrRefusedWithTheReason) {
  const ForeignFile& file = GetParam();
  Workspace ws;
  ws.write("five1.den", kFive1);
  ws.write("five1.nwk", kFive1Tree);
  ws.write("repeated.nwk", "((c:1,(e:0.5,d:0.5):0.5):1,(b:0.5,b:0.5):1.5);\n");
  ws.write("spelt.nwk", "((c:1,(e:0.5,'d 4':0.5):0.5):1,('b one':0.5,a:0.5):1.5);\n");
  ws.write(file.name, file.content);
  const auto own = ws.run_with("", {"-q", "--tsv", "-", "five1.den", "five1.den"});
  const auto result = ws.run_with("", {"-q", "--tsv", "-", file.name, file.other});
  EXPECT_EQ(result.exit_status, file.exit_status);
  EXPECT_EQ(result.err, file.message);
  if (file.exit_status == 0) {
    EXPECT_EQ(result.out, own.out);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CliForeignFiles,
    ::testing::Values(
        ForeignFile{"float32 npy", "f4.npy", five1_npy("<f4"), "five1.den", 0, ""},
        ForeignFile{"big-endian npy", "big.npy", five1_npy(">f8"), "five1.den", 0, ""},
        ForeignFile{"big-endian float32 npy", "bigf4.npy", five1_npy(">f4"), "five1.den", 0, ""},
        ForeignFile{"npy and more", "more.npy", five1_npy() + "more", "five1.den", 1,
                    "dendrocompare-cli: more.npy: 4 bytes follow the array; a .npy file ends with it\n"},
        ForeignFile{"linkage text with a byte order mark", "z.txt",
                    kMark + std::string("0 1 0.5 2\n3 4 0.5 2\n2 6 1 3\n5 7 2 5\n"), "five1.den", 0, ""},
        ForeignFile{"hclust with a byte order mark", "h.csv", kMark + std::string("-1,-2,0.5\n-4,-5,0.5\n-3,2,1\n1,3,2\n"),
                    "five1.den", 0, ""},
        ForeignFile{"newick with a byte order mark", "t.nwk", kMark + std::string(kFive1Tree), "five1.nwk", 0, ""},
        ForeignFile{"newick after a comment", "t.txt", "[&R] " + std::string(kFive1Tree), "five1.nwk", 0, ""},
        ForeignFile{"underscores as blanks", "t.nwk", "((c:1,(e:0.5,d_4:0.5):0.5):1,(b_one:0.5,a:0.5):1.5);\n",
                    "spelt.nwk", 0, ""},
        ForeignFile{"semicolons", "z.txt", "0;1;0.5;2\n", "five1.den", 1,
                    "dendrocompare-cli: z.txt: no input format fits: den: line 1 begins with '0;1;0.5;2', not with the "
                    "object count; npy: it does not begin as a NumPy .npy file does; linkage: line 1 holds 1 value, "
                    "not the 4 of a linkage row (values are separated by blanks, tabs or commas); hclust: line 1 "
                    "holds 1 value; an hclust row holds merge[,1], merge[,2] and height, after an optional row name; "
                    "newick: a tree begins with '(', this text with '0'\n"},
        ForeignFile{"a repeated leaf in the second", "t.nwk", kFive1Tree, "repeated.nwk", 1,
                    "dendrocompare-cli: repeated.nwk: leaf 'b' appears twice\n"}),
    [](const ::testing::TestParamInfo<ForeignFile>& info) {
      std::string name = info.param.what;
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST(CliInputs, HelpSaysWhatLevelsAreAndWhyInversionsAreRefused) {
  Workspace ws;
  const auto help = ws.run_with("", {"--help"});
  ASSERT_EQ(help.exit_status, 0);
  for (const char* words : {"Levels are the distinct merge heights as 4-byte reals: heights equal in single precision form\none level",
                            "A tree with an inversion (a merge below one it contains, as centroid and median\nlinkage make) is refused",
                            "float64 or float32", "either byte order", "--labels"})
    EXPECT_NE(help.out.find(words), std::string::npos) << words;
  ws.write("centroid.txt", "0 1 1.0 2\n3 2 0.5 2\n");
  ws.write("inverted.nwk", "((a:1,b:1):-0.5,c:0.5);");
  for (const char* file : {"centroid.txt", "inverted.nwk"}) {
    const auto refused = ws.run_with("", {"-q", file, file});
    EXPECT_EQ(refused.exit_status, 1);
    EXPECT_NE(refused.err.find("an inversion, as centroid and median linkage make"), std::string::npos) << refused.err;
  }
}

}  // namespace
