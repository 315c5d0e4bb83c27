// The foreign formats read into our own merge records: small trees worked
// by hand in every format, and every kind of input that must be refused.
#include "formats/inputs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "formats/support/scratch_folder.h"

namespace compare {
namespace {

namespace fs = std::filesystem;

// Four objects: {1,2} at 0.5, {3,4} at 0.7, all at 1.0.
const std::vector<MergeRecord> kFourObjects = {{1, 2, 1, 1, 0.5f}, {3, 4, 1, 1, 0.7f}, {1, 3, 2, 2, 1.0f}};

using formats_test::ScratchFolder;

// A .npy file of float64 rows as numpy.save writes it.
std::string npy_bytes(const std::vector<double>& values, const std::string& shape, const std::string& descr = "<f8") {
  std::string dict = "{'descr': '" + descr + "', 'fortran_order': False, 'shape': (" + shape + "), }";
  dict.append(63 - (10 + dict.size()) % 64, ' ');
  dict += '\n';
  std::string bytes = std::string("\x93NUMPY\x01\x00", 8);
  bytes += static_cast<char>(dict.size() & 0xff);
  bytes += static_cast<char>(dict.size() >> 8);
  bytes += dict;
  bytes.append(reinterpret_cast<const char*>(values.data()), values.size() * sizeof(double));
  return bytes;
}

std::string npy_bytes(const std::vector<double>& values, std::size_t rows, std::size_t columns,
                      const std::string& descr = "<f8") {
  return npy_bytes(values, std::to_string(rows) + ", " + std::to_string(columns), descr);
}

const std::vector<double> kFourObjectsLinkage = {0, 1, 0.5, 2, 2, 3, 0.7, 2, 4, 5, 1.0, 4};

TEST(Inputs, EveryFormatGivesTheHandWorkedMergesOfFourObjects) {
  ScratchFolder dir;
  struct Case {
    const char* what;
    std::string path;
    InputFormat detected;
  };
  const std::vector<Case> cases = {
      {"our own", dir.write("a.den", "4\n1 2 1 1 0.5\n3 4 1 1 0.7\n1 3 2 2 1.0\n"), InputFormat::den},
      {"npy", dir.write("z.npy", npy_bytes(kFourObjectsLinkage, 3, 4)), InputFormat::linkage_npy},
      {"savetxt", dir.write("z.txt",
                            "0.000000000000000000e+00 1.000000000000000000e+00 5.000000000000000000e-01 "
                            "2.000000000000000000e+00\n2 3 0.7 2\n4 5 1.0 4\n"),
       InputFormat::linkage_text},
      {"savetxt with commas", dir.write("z.csv", "# a comment\n0,1,0.5,2\n2,3,0.7,2\n\n4,5,1.0,4\n"),
       InputFormat::linkage_text},
      {"hclust from write.csv", dir.write("h.csv", "\"\",\"X1\",\"X2\",\"hc.height\"\n\"1\",-1,-2,0.5\n"
                                                   "\"2\",-3,-4,0.7\n\"3\",1,2,1\n"),
       InputFormat::hclust},
      {"hclust without header or row names", dir.write("h2.csv", "-1,-2,0.5\n-3,-4,0.7\n1,2,1\n"),
       InputFormat::hclust},
      {"newick", dir.write("t.nwk", "((A:0.5,B:0.5):0.5,(C:0.7,D:0.7)inner:0.3)root;\n"), InputFormat::newick},
      {"newick by content", dir.write("t.txt", "  ((A:0.5,B:0.5):0.5,\n (C:0.7,'D':0.7):0.3);"),
       InputFormat::newick},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(detect_input_format(c.path), c.detected) << c.what;
    const DendrogramFile file = read_dendrogram(c.path);
    EXPECT_EQ(file.object_count, 4) << c.what;
    EXPECT_EQ(file.merges, kFourObjects) << c.what;
  }
}

TEST(Inputs, LinkageIdsNameClustersByTheirSmallestObjectWithSizesAsCompanions) {
  // Row 0 joins objects 4 and 2, row 1 joins object 1 with row 0's {2, 4},
  // row 2 joins object 3 with {1, 2, 4}.
  const std::vector<double> z = {3, 1, 0.25, 2, 0, 4, 0.5, 3, 5, 2, 2.0, 4};
  const DendrogramFile file = from_linkage(z.data(), 3, 4);
  const std::vector<MergeRecord> expected = {{4, 2, 1, 1, 0.25f}, {1, 2, 1, 2, 0.5f}, {1, 3, 3, 1, 2.0f}};
  EXPECT_EQ(file.merges, expected);
}

TEST(Inputs, HclustStepsAndObjectsMapLikeTheirLinkage) {
  const DendrogramFile file = from_hclust({-4, -1, 2}, {-2, 1, -3}, {0.25, 0.5, 2.0});
  const std::vector<MergeRecord> expected = {{4, 2, 1, 1, 0.25f}, {1, 2, 1, 2, 0.5f}, {1, 3, 3, 1, 2.0f}};
  EXPECT_EQ(file.merges, expected);
}

TEST(Inputs, ANewickNodeWithThreeChildrenMakesTwoMergesAtItsHeight) {
  ScratchFolder dir;
  const std::string path = dir.write("t.nwk", "(B:2,(C:1,A:1):1,D:2);");
  const DendrogramFile file = read_dendrogram(path, {InputFormat::newick, {"A", "B", "C", "D"}});
  // A=1, B=2, C=3, D=4: {C, A} at 1, then B joins it and D joins that, both at 2.
  const std::vector<MergeRecord> expected = {{3, 1, 1, 1, 1.0f}, {2, 1, 1, 2, 2.0f}, {1, 4, 3, 1, 2.0f}};
  EXPECT_EQ(file.merges, expected);
}

// Each leaf joins all before it, one unit higher each time: a tree as deep as
// it has leaves, nested far deeper than any call stack would take.
TEST(Inputs, ANewickCaterpillarDeeperThanACallStackReads) {
  const int n = 30000;
  std::string text(n - 1, '(');
  text += "L1:1,L2:1)";
  for (int i = 3; i <= n; ++i) text += ":1,L" + std::to_string(i) + ":" + std::to_string(i - 1) + ")";
  text += ";";
  ScratchFolder dir;
  const DendrogramFile file = read_dendrogram(dir.write("deep.nwk", text), {InputFormat::newick, {}});
  ASSERT_EQ(file.object_count, n);
  ASSERT_EQ(file.merges.size(), static_cast<std::size_t>(n - 1));
  for (int i = 0; i < n - 1; ++i) {
    EXPECT_EQ(file.merges[i].first, 1);
    EXPECT_EQ(file.merges[i].second, i + 2);
    EXPECT_EQ(file.merges[i].height, static_cast<float>(i + 1));
  }
}

TEST(Inputs, TwoNewickTreesShareTheFirstTreesLeafOrder) {
  ScratchFolder dir;
  const std::string first = dir.write("1.nwk", "((x:1,y:1):1,z:2);");
  const std::string second = dir.write("2.nwk", "((z:1,y:1):3,x:4);");
  const auto [a, b] = read_dendrogram_pair(first, second);
  // x=1, y=2, z=3 in both.
  EXPECT_EQ(a.merges, (std::vector<MergeRecord>{{1, 2, 1, 1, 1.0f}, {1, 3, 2, 1, 2.0f}}));
  EXPECT_EQ(b.merges, (std::vector<MergeRecord>{{3, 2, 1, 1, 1.0f}, {2, 1, 2, 1, 4.0f}}));
}

struct Refusal {
  const char* what;
  const char* name;
  std::string content;
  const char* message_part;
};

class RefusedInput : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedInput, IsAnInputErrorNamingTheFileAndTheFault) {
  ScratchFolder dir;
  const std::string path = dir.write(GetParam().name, GetParam().content);
  try {
    read_dendrogram(path);
    FAIL() << "accepted";
  } catch (const InputError& e) {
    const std::string message = e.what();
    EXPECT_EQ(message.rfind(path, 0), 0u) << message;
    EXPECT_NE(message.find(GetParam().message_part), std::string::npos) << message;
  }
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    EveryFormat, RefusedInput,
    ::testing::Values(
        Refusal{"centroid inversion", "z.txt", "0 1 1.0 2\n3 2 0.5 2\n",
                "line 2: the height 0.5 is below the height 1 of the cluster it joins"},
        Refusal{"nan height", "z.npy", npy_bytes({0, 1, kNaN, 2}, 1, 4), "row 0: the height is not a number"},
        Refusal{"infinite height", "z.txt", "0 1 inf 2\n", "line 1: the height is infinite"},
        Refusal{"beyond float", "z.txt", "0 1 1e40 2\n", "beyond the range of 4-byte reals"},
        Refusal{"three columns", "z.npy", npy_bytes({0, 1, 1, 0, 1, 1}, 2, 3), "has shape (2, 3)"},
        Refusal{"int array", "z.npy", npy_bytes({0, 0}, 1, 2, "<i8"), "holds '<i8' values"},
        Refusal{"40 KB descr", "z.npy", npy_bytes({}, 0, 4, "<" + std::string(40000, 'f')), "holds '<ffffffff"},
        Refusal{"truncated npy", "z.npy", npy_bytes({0, 1, 1, 2}, 1, 4).substr(0, 140), "ends inside the array"},
        Refusal{"five values", "z.txt", "0 1 1 2\n2 3 2 3 9\n", "line 2: 5 values"},
        Refusal{"not a number", "z.txt", "0 1 x 2\n", "line 1: 'x' is not a number"},
        Refusal{"id out of range", "z.txt", "0 5 1 2\n0 1 2 3\n", "cluster id 5 is out of range"},
        Refusal{"id used twice", "z.txt", "0 1 1 2\n0 2 2 2\n", "cluster id 0 was already joined"},
        Refusal{"fractional id", "z.txt", "0 1.5 1 2\n", "is not a whole number"},
        Refusal{"wrong count", "z.txt", "0 1 1 3\n", "the count column says"},
        Refusal{"one object", "z.npy", npy_bytes({}, 0, 4), "1 objects; a dendrogram needs at least 2"},
        Refusal{"shape past 64 bits", "z.npy", npy_bytes({}, "99999999999999999999999, 4"),
                "the array's shape (99999999999999999999999, 4) is too large"},
        Refusal{"hclust forward step", "h.csv", "-1,2,1\n-2,-3,2\n", "cluster id 4 is out of range"},
        Refusal{"hclust zero", "h.csv", "0,-1,1\n", "merge entry 0 names no object"},
        Refusal{"hclust decreasing", "h.csv", "-1,-2,2\n-3,1,1\n", "heights must not decrease"},
        Refusal{"hclust NA", "h.csv", "-1,-2,NA\n", "'NA' is not a number"},
        Refusal{"newick no length", "t.nwk", "((a:1,b:1),c:2);", "has no branch length"},
        Refusal{"newick not ultrametric", "t.nwk", "((a:1,b:2):1,c:2);", "not ultrametric"},
        Refusal{"newick repeated leaf", "t.nwk", "((a:1,a:1):1,c:2);", "leaf 'a' appears twice"},
        Refusal{"newick negative", "t.nwk", "((a:1,b:1):-1,c:0);", "negative branch length"},
        Refusal{"newick no semicolon", "t.nwk", "((a:1,b:1):1,c:2)", "expected ';'"},
        Refusal{"newick one leaf", "t.nwk", "(a:1);", "1 objects"},
        Refusal{"den nan", "d.den", "3\n1 2 0 0 NaN\n1 3 0 0 1\n", "record 1 has a height that is not a number"},
        Refusal{"den short", "d.den", "3\n1 2 0 0 1\n", "merge record 2: the file ends too early"},
        Refusal{"den letter", "d.den", "3\n1 x 0 0 1\n1 3 0 0 2\n", "merge record 1: "},
        Refusal{"den one object", "d.den", "1\n", "the object count is 1"}),
    [](const ::testing::TestParamInfo<Refusal>& info) {
      std::string name = info.param.what;
      for (char& c : name)
        if (c == ' ') c = '_';
      return name;
    });

// numpy pads its header with blanks; a header of 40 KB is still one a
// scan reads without growing the stack.
TEST(Inputs, ANpyHeaderOf40KilobytesReads) {
  ScratchFolder dir;
  std::string bytes = npy_bytes(kFourObjectsLinkage, 3, 4);
  const std::size_t dict_length = static_cast<unsigned char>(bytes[8]) | static_cast<unsigned char>(bytes[9]) << 8;
  const std::size_t padding = 40960;
  bytes.insert(10 + dict_length - 1, padding, ' ');
  bytes[8] = static_cast<char>((dict_length + padding) & 0xff);
  bytes[9] = static_cast<char>((dict_length + padding) >> 8);
  EXPECT_EQ(read_dendrogram(dir.write("z.npy", bytes)).merges, kFourObjects);
}

// Under a locale whose decimal point is a comma every text format still
// reads C's numbers. The locale is compiled into the test's own directory.
TEST(Inputs, NumbersReadTheSameUnderAGermanLocale) {
  ScratchFolder dir;
  const std::string locales = dir.write("locales-made", "");
  fs::remove(locales);
  fs::create_directory(locales);
  const std::string make = "localedef -i de_DE -f UTF-8 " + locales + "/de_DE.UTF-8 >/dev/null 2>&1";
  if (std::system(make.c_str()) != 0) GTEST_SKIP() << "localedef cannot make de_DE.UTF-8 here";
  ::setenv("LOCPATH", locales.c_str(), 1);
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 did not load";
  const std::vector<std::string> files = {dir.write("z.txt", "0 1 0.5 2\n2 3 1.5 3\n"),
                                          dir.write("h.csv", "-1,-2,0.5\n-3,1,1.5\n"),
                                          dir.write("t.nwk", "((a:0.5,b:0.5):1.0,c:1.5);")};
  for (const std::string& file : files) {
    try {
      const DendrogramFile read = read_dendrogram(file);
      ASSERT_EQ(read.merges.size(), 2u) << file;
      EXPECT_EQ(read.merges[0].height, 0.5f) << file;
      EXPECT_EQ(read.merges[1].height, 1.5f) << file;
    } catch (const InputError& e) {
      ADD_FAILURE() << e.what();
    }
  }
  std::setlocale(LC_NUMERIC, "C");
}

TEST(Inputs, PairsWithDifferentObjectsOrLabelsAreRefused) {
  ScratchFolder dir;
  const std::string three = dir.write("3.txt", "0 1 1 2\n2 3 2 3\n");
  const std::string four = dir.write("4.txt", "0 1 1 2\n2 3 2 2\n4 5 3 4\n");
  const std::string t1 = dir.write("1.nwk", "((a:1,b:1):1,c:2);");
  const std::string t2 = dir.write("2.nwk", "((a:1,b:1):1,d:2);");
  const std::string labels = dir.write("labels.txt", "a\nb\nq\n");
  struct Case {
    std::string first, second;
    std::vector<std::string> labels;
    std::string message_part;
  };
  const std::vector<Case> cases = {
      {three, four, {}, "hold different numbers of objects (3 and 4)"},
      {t1, t2, {}, "the trees' leaf labels differ: 'c' is in " + t1 + " only, 'd' is in " + t2 + " only"},
      {t1, t1, read_labels(labels), "leaf 'c' is not among the labels"},
  };
  for (const Case& c : cases) {
    try {
      read_dendrogram_pair(c.first, c.second, {InputFormat::automatic, c.labels});
      ADD_FAILURE() << "accepted " << c.message_part;
    } catch (const InputError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message_part), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace compare
