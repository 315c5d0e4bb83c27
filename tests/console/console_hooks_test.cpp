// The window side of the console hooks: a written record becomes one line,
// and a read gets the line Enter ended, cut to the buffer, with CR LF.
#include <gtest/gtest.h>

#include <string>

#include "console/console_hooks.h"
#include "console/io_line_editor.h"
#include "console/support/io_window_fixture.h"

namespace console {
namespace {

using test::IoWindowTest;

struct TrimCase {
  std::string record;
  std::string line;
};

class OutputLineTest : public ::testing::TestWithParam<TrimCase> {};

TEST_P(OutputLineTest, DropsOnlyAFinalLineFeedAndThenAFinalCarriageReturn) {
  const TrimCase& c = GetParam();
  EXPECT_EQ(output_line_of(c.record.data(), static_cast<int>(c.record.size())), c.line);
}

INSTANTIATE_TEST_SUITE_P(Records, OutputLineTest,
                         ::testing::Values(TrimCase{"TEXT\r\n", "TEXT"}, TrimCase{"TEXT\n\r", "TEXT\n"},
                                           TrimCase{"TEXT\n", "TEXT"}, TrimCase{"TEXT\r", "TEXT"},
                                           TrimCase{"TEXT", "TEXT"}, TrimCase{"TEXT\r\n\n", "TEXT\r\n"},
                                           TrimCase{"A\rB\r\n", "A\rB"}, TrimCase{"\r\n", ""},
                                           TrimCase{"", ""}));

TEST(OutputLineTest, ANegativeCountIsAnEmptyLine) { EXPECT_EQ(output_line_of("TEXT", -1), ""); }

class ReadDeliveryTest : public IoWindowTest {
 protected:
  std::string read_with(int capacity) {
    std::string buffer(static_cast<std::size_t>(capacity) + 8, '#');
    int placed = deliver_input_line(store, buffer.data(), capacity);
    EXPECT_EQ(buffer.substr(static_cast<std::size_t>(capacity)), "########") << "written past the capacity";
    return buffer.substr(0, static_cast<std::size_t>(placed));
  }
};

TEST_F(ReadDeliveryTest, EnterOnAnEmptyInputLineWhileWaitingGivesCarriageReturnLineFeed) {
  show_output_line(window, " ENTER FILENAME");
  view.waiting_for_input = true;
  type("\r");
  EXPECT_FALSE(view.waiting_for_input);
  EXPECT_EQ(store.line_count(), 2);
  EXPECT_EQ(line(2), "");
  EXPECT_EQ(read_with(256), "\r\n");
}

TEST_F(ReadDeliveryTest, DeliversTheTypedLineWithCarriageReturnLineFeed) {
  show_output_line(window, " ENTER FILENAME");
  view.waiting_for_input = true;
  type("tree1.txt\r");
  EXPECT_FALSE(view.waiting_for_input);
  EXPECT_EQ(read_with(256), "tree1.txt\r\n");
}

TEST_F(ReadDeliveryTest, ALineOfThreeHundredCharactersReachesTheProgramAs254) {
  const std::string typed(300, 'q');
  type(typed);
  type("\r");
  EXPECT_EQ(line(1), typed);
  EXPECT_EQ(read_with(256), std::string(254, 'q') + "\r\n");
}

TEST_F(ReadDeliveryTest, ABufferTooSmallForTheLineEndGetsWhatFits) {
  type("abc\r");
  EXPECT_EQ(read_with(1), "\r");
  EXPECT_EQ(read_with(2), "\r\n");
  EXPECT_EQ(read_with(3), "a\r\n");
  EXPECT_EQ(read_with(0), "");
}

TEST_F(ReadDeliveryTest, AnEmptyStoreGivesAnEmptyLine) { EXPECT_EQ(read_with(256), "\r\n"); }

TEST_F(ReadDeliveryTest, AWrittenRecordBecomesOneStoredLine) {
  const std::string record = "TEXT\n\r";
  show_output_line(window, output_line_of(record.data(), static_cast<int>(record.size())));
  EXPECT_EQ(line(1), "TEXT\n");
}

}  // namespace
}  // namespace console
