// The text store: lines laid end to end, editing of the last line, deletion
// anywhere, and growth past the first capacity without losing text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/text_store.h"

namespace console {
namespace {

void add_line(TextStore& store, std::string_view text) {
  store.start_new_line();
  store.store_new_line_text(text);
}

std::vector<std::string> all_lines(const TextStore& store) {
  std::vector<std::string> lines;
  for (int k = 1; k <= store.line_count(); ++k) lines.emplace_back(store.line_text(k));
  return lines;
}

TEST(TextStoreTest, StartsEmptyWithTheFirstLineAtOffsetOne) {
  TextStore store;
  EXPECT_EQ(store.line_count(), 0);
  EXPECT_EQ(store.line_starts(1), 1);
  EXPECT_EQ(store.longest_line(), 0);
  EXPECT_EQ(store.text_capacity(), 262144u);
  EXPECT_EQ(store.line_capacity(), 32768u);
}

TEST(TextStoreTest, LinesFollowOneAnotherWithoutSeparators) {
  TextStore store;
  add_line(store, "abc");
  add_line(store, "de");
  store.start_new_line();
  EXPECT_EQ(store.line_count(), 3);
  EXPECT_EQ((std::vector<int>{store.line_starts(1), store.line_starts(2), store.line_starts(3), store.line_starts(4)}),
            (std::vector<int>{1, 4, 6, 6}));
  EXPECT_EQ(all_lines(store), (std::vector<std::string>{"abc", "de", ""}));
  EXPECT_EQ(store.line_length(2), 2);
}

TEST(TextStoreTest, KeepsBytesAsTheyArrive) {
  TextStore store;
  const std::string odd("a\tb\fc\nd\xe9", 9);
  add_line(store, odd);
  EXPECT_EQ(store.line_text(1), odd);
}

TEST(TextStoreTest, LinesThatDoNotExistAreEmpty) {
  TextStore store;
  add_line(store, "abc");
  EXPECT_TRUE(store.line_text(0).empty());
  EXPECT_TRUE(store.line_text(2).empty());
  EXPECT_EQ(store.line_length(-1), 0);
}

TEST(TextStoreTest, InsertingABlankAndPuttingACharacterInsertIntoTheLastLine) {
  TextStore store;
  add_line(store, "out");
  add_line(store, "abc");
  store.insert_blank(1);
  EXPECT_EQ(store.line_text(2), "a bc");
  store.put_char(1, 'X');
  EXPECT_EQ(store.line_text(2), "aXbc");
  store.put_char(4, 'd');
  EXPECT_EQ(store.line_text(2), "aXbcd");
  EXPECT_EQ(store.line_text(1), "out");
}

TEST(TextStoreTest, WritesNothingPastTheEndOfTheLastLine) {
  TextStore store;
  store.put_char(0, 'x');  // no line yet
  store.insert_blank(0);
  EXPECT_EQ(store.line_count(), 0);
  add_line(store, "ab");
  store.put_char(3, 'x');
  store.insert_blank(3);
  store.put_char(-1, 'x');
  EXPECT_EQ(store.line_text(1), "ab");
  EXPECT_EQ(store.line_starts(2), 3);
}

struct DeleteCase {
  const char* name;
  int k;
  int column;
  int n;
  int removed;
  std::vector<std::string> lines;
};

class DeleteCharsTest : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(DeleteCharsTest, RemovesWithinOneLineAndMovesTheRest) {
  const DeleteCase& c = GetParam();
  TextStore store;
  for (const char* text : {"alpha", "beta", "gamma"}) add_line(store, text);
  EXPECT_EQ(store.delete_chars(c.k, c.column, c.n), c.removed);
  EXPECT_EQ(all_lines(store), c.lines);
  EXPECT_EQ(store.line_starts(4), 15 - c.removed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeleteCharsTest,
    ::testing::Values(DeleteCase{"MiddleOfFirstLine", 1, 1, 2, 2, {"aha", "beta", "gamma"}},
                      DeleteCase{"WholeMiddleLine", 2, 0, 4, 4, {"alpha", "", "gamma"}},
                      DeleteCase{"EndOfLastLine", 3, 4, 1, 1, {"alpha", "beta", "gamm"}},
                      DeleteCase{"AtTheLinesEnd", 2, 4, 1, 0, {"alpha", "beta", "gamma"}},
                      DeleteCase{"BeyondTheLinesEnd", 2, 9, 1, 0, {"alpha", "beta", "gamma"}},
                      DeleteCase{"MoreThanTheLineHolds", 1, 3, 10, 2, {"alp", "beta", "gamma"}},
                      DeleteCase{"NothingAsked", 1, 0, 0, 0, {"alpha", "beta", "gamma"}},
                      DeleteCase{"NoSuchLine", 4, 0, 1, 0, {"alpha", "beta", "gamma"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextStoreTest, LongestLineNeverShrinks) {
  TextStore store;
  store.widen_longest_line(100);
  store.widen_longest_line(40);
  EXPECT_EQ(store.longest_line(), 100);
}

TEST(TextStoreTest, OutputPastTheFirstTextCapacityGrowsTheStoreAndKeepsEveryLine) {
  TextStore store;
  std::vector<std::string> expected;
  for (int i = 0; i < 300; ++i) {  // 300 lines of 1000 bytes: 300000 bytes
    expected.emplace_back(1000, static_cast<char>('A' + i % 26));
    add_line(store, expected.back());
  }
  EXPECT_GT(store.text_capacity(), 262144u);
  EXPECT_EQ(all_lines(store), expected);
  EXPECT_EQ(store.line_starts(301), 300001);
}

TEST(TextStoreTest, TypingAcrossTheFirstTextCapacityGrowsTheStore) {
  TextStore store;
  const std::string filler(262140, 'f');
  add_line(store, filler);
  store.start_new_line();
  const std::string typed = "0123456789";
  for (int i = 0; i < 10; ++i) {
    store.insert_blank(0);
    store.put_char(0, typed[static_cast<std::size_t>(9 - i)]);
  }
  EXPECT_EQ(store.line_text(1), filler);
  EXPECT_EQ(store.line_text(2), typed);
}

TEST(TextStoreTest, MoreThan32767LinesGrowTheLineTable) {
  TextStore store;
  for (int i = 1; i <= 40000; ++i) add_line(store, std::to_string(i));
  EXPECT_EQ(store.line_count(), 40000);
  EXPECT_GT(store.line_capacity(), 32768u);
  EXPECT_EQ(store.line_text(32767), "32767");
  EXPECT_EQ(store.line_text(32768), "32768");
  EXPECT_EQ(store.line_text(40000), "40000");
  EXPECT_EQ(store.line_text(1), "1");
}

}  // namespace
}  // namespace console
