// The names the command line takes and the titles the pictures carry.
#include <gtest/gtest.h>

#include <string>

#include "console/plots/measure.h"

namespace console::plots {
namespace {

struct NameCase {
  Measure measure;
  const char* name;
  const char* title;
};

class MeasureNamesTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(MeasureNamesTest, NameReadsBackAndTitleIsTheTablesHeading) {
  const NameCase& c = GetParam();
  EXPECT_EQ(measure_name(c.measure), c.name);
  EXPECT_EQ(parse_measure(c.name), c.measure);
  EXPECT_EQ(measure_title(c.measure), c.title);
}

INSTANTIATE_TEST_SUITE_P(All, MeasureNamesTest,
                         ::testing::Values(NameCase{Measure::jaccard, "jaccard", "1 - jaccard"},
                                           NameCase{Measure::rand, "rand", "1 - simple match = 1 - RAND"},
                                           NameCase{Measure::euclidean, "euclidean", "Euclidean"},
                                           NameCase{Measure::sorensen, "sorensen", "1 - Sorensen"},
                                           NameCase{Measure::adjusted_rand, "adjusted_rand", "1 - ADJUSTED RAND"},
                                           NameCase{Measure::agreement, "agreement",
                                                    "Agreement at equal cluster counts"}));

TEST(MeasureNamesTest, TableMeasuresAreNumberedAsInTheTables) {
  EXPECT_EQ(measure_number(Measure::jaccard), 1);
  EXPECT_EQ(measure_number(Measure::adjusted_rand), 5);
  EXPECT_EQ(table_measure(3), Measure::euclidean);
}

TEST(MeasureNamesTest, UnknownNamesAreRefused) {
  for (const char* name : {"", "Jaccard", "adjusted-rand", "ari", "jaccard "}) {
    EXPECT_FALSE(parse_measure(name).has_value()) << name;
  }
}

}  // namespace
}  // namespace console::plots
