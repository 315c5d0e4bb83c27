// The console layouts of the comparison, produced through whole WRITE
// statements: list-directed prompts and counts, and the formatted minimum
// line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rio/rio.h"
#include "rio/support/recording_hooks.h"

namespace rio {
namespace {

class ConsoleLayout : public ::testing::Test {
 protected:
  void SetUp() override { test::install_recording_hooks(); }
  std::string console() const { return test::written_text(kConsoleOutputHandle); }
};

ItemDescriptor text_item(std::string& s) {
  return ItemDescriptor{kItemScalar, kCharacter, s.data(), static_cast<int>(s.size())};
}
ItemDescriptor int_item(int& v) { return ItemDescriptor{kItemScalar, kInteger4, &v, 0}; }
ItemDescriptor real_item(float& v) { return ItemDescriptor{kItemScalar, kReal4, &v, 0}; }

TEST_F(ConsoleLayout, PromptGetsTheRecordBlank) {
  std::string prompt = " ENTER FILENAME FOR dendrogram 1";
  ItemDescriptor item = text_item(prompt);
  ASSERT_EQ(io_write(kPhaseWhole, nullptr, {&item, 1}), 0);
  EXPECT_EQ(console(), "  ENTER FILENAME FOR dendrogram 1\r\n");
}

TEST_F(ConsoleLayout, LevelCountsFollowTheirText) {
  std::string text = "NO OF LEVELS =";
  int a = 12, b = 10;
  std::vector<ItemDescriptor> items = {text_item(text), int_item(a), int_item(b)};
  ASSERT_EQ(io_write(kPhaseWhole, nullptr, items), 0);
  EXPECT_EQ(console(), " NO OF LEVELS =  12  10\r\n");
}

TEST_F(ConsoleLayout, ItemsGivenOverSeveralCallsMakeOneRecord) {
  int a = 0, b = 3, c = 4;
  ItemDescriptor first = int_item(a);
  std::vector<ItemDescriptor> rest = {int_item(b), int_item(c)};
  ControlInfo control;
  ASSERT_EQ(io_write(kPhaseBegin, &control, {&first, 1}), 0);
  ASSERT_EQ(io_write(0, nullptr, rest), 0);
  ASSERT_EQ(io_write(kPhaseEnd, nullptr, {}), 0);
  EXPECT_EQ(console(), "   0  3  4\r\n");
}

TEST_F(ConsoleLayout, MinimumLineUnderItsFormat) {
  ControlInfo control;
  const std::string format = "(' VALUE = ',F10.5,' AT NO. OF CLUSTERS ', 2I6)";
  control.format_text = format.data();
  control.format_length = format.size();
  float value = 0.125f;
  int k = 3, l = 12;
  std::vector<ItemDescriptor> items = {real_item(value), int_item(k), int_item(l)};
  ASSERT_EQ(io_write(kPhaseWhole, &control, items), 0);
  EXPECT_EQ(console(), " VALUE =     .12500 AT NO. OF CLUSTERS      3    12\r\n");
}

TEST_F(ConsoleLayout, ListDirectedRealsOnOneRecord) {
  float a = 0.5f, b = 1234567.0f, c = -0.25f;
  std::vector<ItemDescriptor> items = {real_item(a), real_item(b), real_item(c)};
  ASSERT_EQ(io_write(kPhaseWhole, nullptr, items), 0);
  EXPECT_EQ(console(), "   .500000  1.234567E+06 -.250000\r\n");
}

}  // namespace
}  // namespace rio
