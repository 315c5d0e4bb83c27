#include "model/validate.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace compare {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

const DendrogramFile kExample{5, {{1, 2, 0, 0, 0.5f}, {4, 5, 0, 0, 0.5f}, {3, 4, 0, 0, 1.0f},
                                  {1, 3, 0, 0, 2.0f}}};

TEST(ValidateDendrogram, AcceptsValidFiles) {
  const std::vector<DendrogramFile> files = {
      kExample,
      {5, {{1, 3, 0, 0, 2.0f}, {5, 4, 0, 0, 0.5f}, {3, 4, 0, 0, 1.0f}, {2, 1, 0, 0, 0.5f}}},
      {2, {{2, 1, 0, 0, 1.0f}}},
      {4, {{1, 2, 0, 0, -3.4e38f}, {3, 4, 0, 0, 3.4e38f}, {1, 3, 0, 0, 3.4e38f}}},
      // A record after the (N-1)th is never read, so it cannot spoil the file.
      {3, {{1, 2, 0, 0, 1.0f}, {1, 3, 0, 0, 2.0f}, {9, 9, 0, 0, kNaN}}},
  };
  for (const DendrogramFile& file : files) {
    const auto problem = validate_dendrogram(file);
    EXPECT_FALSE(problem.has_value()) << problem->message;
  }
}

struct InvalidCase {
  const char* what;
  DendrogramFile file;
  int record;
};

class InvalidDendrogram : public ::testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidDendrogram, IsReportedWithTheRecordNumberInTheFile) {
  const auto problem = validate_dendrogram(GetParam().file);
  ASSERT_TRUE(problem.has_value());
  EXPECT_EQ(problem->record, GetParam().record) << problem->message;
  EXPECT_FALSE(problem->message.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryWayAFileCanBeInvalid, InvalidDendrogram,
    ::testing::Values(
        InvalidCase{"one object", {1, {}}, 0},
        InvalidCase{"no objects", {0, {}}, 0},
        InvalidCase{"negative object count", {-4, {}}, 0},
        InvalidCase{"too many objects", {46341, {}}, 0},
        InvalidCase{"cluster above N", {3, {{1, 2, 0, 0, 1.0f}, {1, 4, 0, 0, 2.0f}}}, 2},
        InvalidCase{"cluster zero", {3, {{0, 2, 0, 0, 1.0f}, {1, 2, 0, 0, 2.0f}}}, 1},
        InvalidCase{"negative cluster", {3, {{1, 2, 0, 0, 1.0f}, {-1, 3, 0, 0, 2.0f}}}, 2},
        InvalidCase{"cluster already absorbed",
                    {5, {{1, 2, 0, 0, 0.5f}, {4, 5, 0, 0, 0.5f}, {2, 3, 0, 0, 1.0f},
                         {1, 3, 0, 0, 2.0f}}},
                    3},
        InvalidCase{"absorbed in the order of heights, not of the file",
                    {5, {{3, 4, 0, 0, 2.0f}, {1, 3, 0, 0, 1.0f}, {1, 2, 0, 0, 0.5f},
                         {1, 5, 0, 0, 3.0f}}},
                    1},
        InvalidCase{"equal heights applied in file order",
                    {4, {{1, 3, 0, 0, 1.0f}, {3, 4, 0, 0, 1.0f}, {1, 2, 0, 0, 2.0f}}},
                    2},
        InvalidCase{"cluster joined with itself",
                    {4, {{1, 2, 0, 0, 1.0f}, {3, 3, 0, 0, 2.0f}, {1, 4, 0, 0, 3.0f}}},
                    2},
        InvalidCase{"height not a number",
                    {4, {{1, 2, 0, 0, 1.0f}, {3, 4, 0, 0, 2.0f}, {1, 3, 0, 0, kNaN}}},
                    3},
        InvalidCase{"height beyond the range of floats",
                    {4, {{1, 2, 0, 0, 1.0f}, {3, 4, 0, 0, kInfinity}, {1, 3, 0, 0, kInfinity}}},
                    2},
        InvalidCase{"height below the range of floats",
                    {3, {{1, 2, 0, 0, -kInfinity}, {1, 3, 0, 0, 1.0f}}},
                    1},
        InvalidCase{"objects left apart",
                    {5, {{1, 2, 0, 0, 1.0f}, {3, 4, 0, 0, 2.0f}, {1, 3, 0, 0, 3.0f}}},
                    4},
        InvalidCase{"no merge records at all", {3, {}}, 1}),
    [](const ::testing::TestParamInfo<InvalidCase>& info) {
      std::string name = info.param.what;
      for (char& c : name)
        if (c == ' ' || c == ',') c = '_';
      return name;
    });

TEST(ValidateDendrogram, NamesTheClusterThatIsNoLongerCurrent) {
  const DendrogramFile file{5, {{1, 2, 0, 0, 0.5f}, {4, 5, 0, 0, 0.5f}, {2, 3, 0, 0, 1.0f},
                                {1, 3, 0, 0, 2.0f}}};
  EXPECT_EQ(validate_dendrogram(file)->message,
            "record 3 joins cluster 2, which is not a current cluster "
            "(object 2 is in cluster 1 by then)");
}

TEST(ValidateDendrogram, ExplainsEachKindOfProblem) {
  struct Case {
    DendrogramFile file;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{1, {}}, "the object count is 1; a dendrogram needs at least 2 objects"},
      {{3, {{1, 2, 0, 0, 1.0f}, {1, 7, 0, 0, 2.0f}}},
       "record 2 joins cluster 7, but objects are numbered 1 to 3"},
      {{3, {{2, 2, 0, 0, 1.0f}, {1, 2, 0, 0, 2.0f}}}, "record 1 joins cluster 2 with itself"},
      {{3, {{1, 2, 0, 0, kNaN}, {1, 3, 0, 0, 2.0f}}},
       "record 1 has a height that is not a number"},
      {{3, {{1, 2, 0, 0, 1.0f}, {1, 3, 0, 0, kInfinity}}},
       "record 2 has a height beyond the range of 4-byte reals (about 3.4e38)"},
      {{4, {{1, 2, 0, 0, 1.0f}}},
       "record 2 is missing: after 1 merge records the 4 objects still form 3 clusters, "
       "and 3 records are needed"},
  };
  for (const Case& c : cases) EXPECT_EQ(validate_dendrogram(c.file)->message, c.message);
}

}  // namespace
}  // namespace compare
