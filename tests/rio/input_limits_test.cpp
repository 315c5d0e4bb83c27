// Ordinary input pushed to its edges: a tab stop distance from TABSIZE too
// large to use, repeat counts past the integer range, empty replies and
// empty internal records, and records longer than the runtime holds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "rio/list_input.h"
#include "rio/record_buffer.h"
#include "rio/rio.h"
#include "rio/status.h"
#include "rio/units.h"
#include "rio/support/recording_hooks.h"
#include "rio/support/riofmt_fake_port.h"
#include "rio/support/temp_dir.h"

namespace rio {
namespace {

struct TabLimitCase {
  const char* tabsize;
  int expected;
};

class TabStopLimitTest : public ::testing::TestWithParam<TabLimitCase> {};

TEST_P(TabStopLimitTest, DistancesPast1024GiveTheUsualEight) {
  EXPECT_EQ(tab_size_from(GetParam().tabsize), GetParam().expected) << GetParam().tabsize;
}

INSTANTIATE_TEST_SUITE_P(Limits, TabStopLimitTest,
                         ::testing::Values(TabLimitCase{"1024", 1024}, TabLimitCase{"1025", 8},
                                           TabLimitCase{"65536", 8}, TabLimitCase{"2147483647", 8},
                                           TabLimitCase{"9999999999999999999", 8}));

class HugeTabsizeTest : public test::TempDirTest {};

TEST_F(HugeTabsizeTest, ATabInAFileRecordExpandsToTheUsualStop) {
  ::setenv("TABSIZE", "2147483647", 1);
  write_file("t.txt", "1\t2\r\n");
  int unit = 3;
  OpenSpec spec;
  spec.unit = &unit;
  spec.file = {"t.txt", 5};
  ASSERT_EQ(io_open(spec), 0);
  RecordBuffer record;
  ASSERT_EQ(read_record(*connected_unit(3), record), kOk);
  EXPECT_EQ(std::string(record.data(), record.length()), "1       2");
}

class RepeatCountTest : public ::testing::Test {
 protected:
  RepeatCountTest() : port(record) {}
  std::vector<int> read_ints(const std::string& line, int n) {
    port.script({line});
    EXPECT_EQ(port.start_input(), kOk);
    state.reset();
    std::vector<int> values(n, -99);
    for (int& v : values) EXPECT_EQ(list_read_element(state, record, port, unit, testing::integer_element(v)), kOk);
    return values;
  }
  RecordBuffer record;
  testing::RecordingPort port;
  UnitTraits unit;
  ListInputState state;
};

TEST_F(RepeatCountTest, ACountPastTheIntegerRangeServesEveryItemLeft) {
  EXPECT_EQ(read_ints("12345678901*1", 3), (std::vector<int>{1, 1, 1}));
  // The first item took the value; each later one used one repeat.
  EXPECT_EQ(state.repeat_count, kLargestRepeatCount - 2);
}

TEST_F(RepeatCountTest, TheLargestCountIsKeptExactly) {
  EXPECT_EQ(read_ints("2147483647*4", 2), (std::vector<int>{4, 4}));
  EXPECT_EQ(state.repeat_count, 2147483647 - 1);
}

TEST_F(RepeatCountTest, CharactersBelowZeroMakeANegativeCountThatServesOne) {
  // '-' counts as the digit -3: the count is 1*10 - 3 - ... and stays
  // bounded however long the run of such characters.
  EXPECT_EQ(read_ints(std::string(40, '-') + "*5 6", 2), (std::vector<int>{5, 6}));
}

class EmptyTextTest : public ::testing::Test {
 protected:
  void SetUp() override { test::install_recording_hooks(); }
};

TEST_F(EmptyTextTest, AnEmptyReplyReadWithFormatAGivesABlankVariable) {
  test::script_lines({""});
  std::string reply(100, 'x');
  ItemDescriptor item{kItemScalar, kCharacter, reply.data(), 100};
  ControlInfo control;
  control.format_text = "(A)";
  control.format_length = 3;
  ASSERT_EQ(io_read(kPhaseWhole, &control, {&item, 1}), 0);
  EXPECT_EQ(reply, std::string(100, ' '));
}

TEST_F(EmptyTextTest, AnEmptyWriteToAnInternalFileBlanksIt) {
  char variable[4] = {'a', 'b', 'c', 'd'};
  ControlInfo control;
  control.options = kUnitIsInternalFile;
  control.internal_file = variable;
  control.internal_length = 4;
  control.format_text = "(A)";
  control.format_length = 3;
  ASSERT_EQ(io_write(kPhaseWhole, &control, {}), 0);
  EXPECT_EQ(std::string(variable, 4), "    ");
}

class LongRecordTest : public test::TempDirTest {};

TEST_F(LongRecordTest, AnInputLinePastTheLongestRecordFailsAsAFailedBuffer) {
  write_file("long.txt", std::string(kLongestRecord + 1, '7') + "\r\n");
  int unit = 3;
  OpenSpec spec;
  spec.unit = &unit;
  spec.file = {"long.txt", 8};
  ASSERT_EQ(io_open(spec), 0);
  RecordBuffer record;
  EXPECT_EQ(read_record(*connected_unit(3), record), kBufferAllocationFailed);
}

TEST_F(LongRecordTest, AnInputLineOfExactlyTheLongestRecordIsRead) {
  write_file("edge.txt", std::string(kLongestRecord, '7') + "\r\n");
  int unit = 3;
  OpenSpec spec;
  spec.unit = &unit;
  spec.file = {"edge.txt", 8};
  ASSERT_EQ(io_open(spec), 0);
  RecordBuffer record;
  ASSERT_EQ(read_record(*connected_unit(3), record), kOk);
  EXPECT_EQ(record.length(), kLongestRecord);
}

TEST(RecordBufferLimit, OutputPastTheLongestRecordIsATooLongRecord) {
  RecordBuffer record;
  EXPECT_EQ(record.append(' ', kLongestRecord), kOk);
  EXPECT_EQ(record.append('x'), kRecordTooLong);
  EXPECT_EQ(record.length(), kLongestRecord);
  RecordBuffer other;
  EXPECT_EQ(other.append(' ', ~std::size_t{0}), kRecordTooLong);
}

}  // namespace
}  // namespace rio
