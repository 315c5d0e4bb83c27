// The colour map's ends and middle are viridis's published colours, and a
// table's values reach them from its lowest to its highest.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "console/plots/colour_map.h"

namespace console::plots {
namespace {

struct ColourCase {
  double t;
  QRgb expected;
};

class ViridisTest : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ViridisTest, GivesThePublishedColour) { EXPECT_EQ(viridis(GetParam().t), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Anchors, ViridisTest,
                         ::testing::Values(ColourCase{0.0, 0xff440154u}, ColourCase{0.5, 0xff21918cu},
                                           ColourCase{1.0, 0xfffde725u}, ColourCase{-3.0, 0xff440154u},
                                           ColourCase{7.0, 0xfffde725u},
                                           ColourCase{std::numeric_limits<double>::quiet_NaN(), 0xff440154u}));

TEST(ValueScaleTest, TheLowestValueTakesTheFirstColourAndTheHighestTheLast) {
  ValueScale scale(0.25f, 1.25f);
  EXPECT_EQ(scale.colour(0.25f), viridis_step(0));
  EXPECT_EQ(scale.colour(1.25f), viridis_step(kColourSteps - 1));
  EXPECT_EQ(scale.colour(0.75f), viridis_step(128));  // 127.5 rounds up
  EXPECT_EQ(scale.colour(std::nanf("")), kMissingColour);
}

TEST(ValueScaleTest, ATableOfOneValueIsAllTheFirstColour) {
  ValueScale scale(2.0f, 2.0f);
  EXPECT_EQ(scale.fraction(2.0f), 0.0);
  EXPECT_EQ(scale.colour(2.0f), viridis_step(0));
}

}  // namespace
}  // namespace console::plots
