// The bundled example files are valid dendrograms, and the fast engine the
// program uses gives the literal loop's tables for them bit for bit.
#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <string>

#include "engine/reference/reference.h"
#include "engine/single/fast_engine.h"
#include "model/validate.h"
#include "support/fast_equality.h"

namespace {

compare::DendrogramFile read_example(const std::string& relative) {
  std::ifstream in(std::string(DENDRO_SOURCE_DIR) + "/examples/" + relative);
  compare::DendrogramFile file;
  in >> file.object_count;
  compare::MergeRecord m;
  while (in >> m.first >> m.second >> m.companion1 >> m.companion2 >> m.height)
    file.merges.push_back(m);
  return file;
}

struct ExamplePair {
  const char* first;
  const char* second;
  int levels1;
  int levels2;
};

void PrintTo(const ExamplePair& pair, std::ostream* os) { *os << pair.first << " vs " << pair.second; }

class BundledExamples : public testing::TestWithParam<ExamplePair> {};

TEST_P(BundledExamples, AreValidAndCompareAlikeInBothEngines) {
  const ExamplePair& pair = GetParam();
  compare::DendrogramFile file1 = read_example(pair.first);
  compare::DendrogramFile file2 = read_example(pair.second);
  ASSERT_EQ(static_cast<int>(file1.merges.size()), file1.object_count - 1);
  EXPECT_FALSE(compare::validate_dendrogram(file1).has_value());
  EXPECT_FALSE(compare::validate_dendrogram(file2).has_value());
  compare::ComparisonTables reference = compare::compare_reference(file1, file2);
  EXPECT_EQ(reference.levels1, pair.levels1);
  EXPECT_EQ(reference.levels2, pair.levels2);
  EXPECT_TRUE(compare::testing_support::bitwise_equal(reference, compare::compare_fast(file1, file2)));
}

// Level counts: the five-object pair as documented; the Iris files have one
// level per distinct merge height (111 and 65 of their 149 heights differ).
INSTANTIATE_TEST_SUITE_P(Pairs, BundledExamples,
                         testing::Values(ExamplePair{"five1.den", "five2.den", 3, 4},
                                         ExamplePair{"iris/average.den", "iris/complete.den", 111, 65},
                                         ExamplePair{"iris/complete.den", "iris/average.den", 65, 111}));

}  // namespace
