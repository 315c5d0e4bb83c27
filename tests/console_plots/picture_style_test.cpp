// Axis labels that do not overlap, round tick values and their text.
#include <gtest/gtest.h>

#include <vector>

#include "console/plots/picture_style.h"

namespace console::plots {
namespace {

struct TickCase {
  double low, high;
  int at_most;
  std::vector<double> values;
};

class NiceTicksTest : public ::testing::TestWithParam<TickCase> {};

TEST_P(NiceTicksTest, StepsByOneTwoTwoAndAHalfOrFiveTimesAPowerOfTen) {
  const TickCase& c = GetParam();
  Ticks ticks = nice_ticks(c.low, c.high, c.at_most);
  ASSERT_EQ(ticks.values.size(), c.values.size());
  for (std::size_t i = 0; i < c.values.size(); ++i) EXPECT_NEAR(ticks.values[i], c.values[i], 1e-12) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, NiceTicksTest,
    ::testing::Values(TickCase{0.0, 1.0, 6, {0.0, 0.2, 0.4, 0.6, 0.8, 1.0}},
                      TickCase{0.3, 1.36364, 6, {0.5, 0.75, 1.0, 1.25}},
                      TickCase{2.0, 149.0, 8, {25.0, 50.0, 75.0, 100.0, 125.0}},
                      TickCase{-0.05, 0.1, 4, {-0.05, 0.0, 0.05, 0.1}}, TickCase{5.0, 5.0, 6, {5.0}},
                      TickCase{1.0, 0.0, 6, {}}));

struct TextCase {
  double value, step;
  const char* text;
};

class TickTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TickTextTest, HasTheDecimalsOfItsStep) {
  EXPECT_EQ(tick_text(GetParam().value, GetParam().step).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, TickTextTest,
                         ::testing::Values(TextCase{0.25, 0.25, "0.25"}, TextCase{1.0, 0.5, "1.0"},
                                           TextCase{100.0, 25.0, "100"}, TextCase{0.0, 0.2, "0.0"},
                                           TextCase{-0.05, 0.05, "-0.05"}, TextCase{2.5, 2.5, "2.5"}));

struct LabelCase {
  int count;
  double length, spacing;
  std::vector<int> positions;
};

class LabelledPositionsTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(LabelledPositionsTest, LabelsEverySthItemBackFromTheLast) {
  const LabelCase& c = GetParam();
  EXPECT_EQ(labelled_positions(c.count, c.length, c.spacing), c.positions);
}

INSTANTIATE_TEST_SUITE_P(Counts, LabelledPositionsTest,
                         ::testing::Values(LabelCase{4, 400.0, 20.0, {1, 2, 3, 4}},
                                           LabelCase{100, 300.0, 20.0, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100}},
                                           LabelCase{10, 100.0, 18.0, {2, 4, 6, 8, 10}},
                                           LabelCase{3, 10.0, 20.0, {3}}, LabelCase{0, 100.0, 10.0, {}}));

TEST(ValueTextTest, HasFiveDecimalsLikeTheMinimumReport) {
  EXPECT_EQ(value_text(1.0714285f).toStdString(), "1.07143");
  EXPECT_EQ(value_text(0.3f).toStdString(), "0.30000");
}

}  // namespace
}  // namespace console::plots
