// Formats that a careless or hostile program body could pass: every one
// compiles or fails with its error number, values that do not fit the
// compiled form are refused instead of cut, records stay within the longest
// record, and the work between two items is bounded.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "rio/format.h"
#include "rio/record_buffer.h"
#include "rio/rio.h"
#include "rio/status.h"
#include "rio/support/recording_hooks.h"

namespace rio {
namespace {

struct CompileCase {
  const char* format;
  int expected;
};

class FormatValueRangeTest : public ::testing::TestWithParam<CompileCase> {};

TEST_P(FormatValueRangeTest, CompilesOrFailsWithItsNumber) {
  const CompileCase& c = GetParam();
  std::vector<std::uint8_t> compiled;
  std::string text = c.format;
  EXPECT_EQ(compile_format(text.data(), text.size(), compiled), c.expected) << c.format;
}

// One byte holds w, d, m and e (up to 127); two bytes hold A and L widths,
// positions and Hollerith counts (up to 65535) and the scale factor.
INSTANTIATE_TEST_SUITE_P(
    Limits, FormatValueRangeTest,
    ::testing::Values(CompileCase{"(F8.655352)", kErrorInFormatString},
                      CompileCase{"(F10.127)", kOk}, CompileCase{"(F10.128)", kErrorInFormatString},
                      CompileCase{"(F128.2)", kErrorInFormatString}, CompileCase{"(I127.127)", kOk},
                      CompileCase{"(I128)", kErrorInFormatString}, CompileCase{"(I5.128)", kErrorInFormatString},
                      CompileCase{"(E12.4E127)", kOk}, CompileCase{"(E12.4E128)", kErrorInFormatString},
                      CompileCase{"(A65535)", kOk}, CompileCase{"(A65536)", kErrorInFormatString},
                      CompileCase{"(L65536)", kErrorInFormatString}, CompileCase{"(T65535)", kOk},
                      CompileCase{"(T65536)", kErrorInFormatString}, CompileCase{"(TL65536)", kErrorInFormatString},
                      CompileCase{"(TR65536)", kErrorInFormatString}, CompileCase{"(-32767P)", kOk},
                      CompileCase{"(32768P)", kErrorInFormatString}, CompileCase{"(65536HAB)", kIllegalRepeatCount},
                      CompileCase{"(9999999999T1)", kIllegalRepeatCount}));

class HostileFormatTest : public ::testing::Test {
 protected:
  void SetUp() override { test::install_recording_hooks(); }

  // A formatted WRITE of the integer items to the console, with IOSTAT=.
  int write(const std::string& format, std::vector<int> values) {
    ControlInfo control;
    control.format_text = format.data();
    control.format_length = format.size();
    control.iostat = &iostat;
    std::vector<ItemDescriptor> items;
    for (int& v : values) items.push_back(ItemDescriptor{kItemScalar, kInteger4, &v, 0});
    return io_write(kPhaseWhole, &control, items);
  }

  int iostat = 0;
};

TEST_F(HostileFormatTest, ADecimalCountPastOneByteIsAnErrorIostatTakes) {
  EXPECT_EQ(write("(F8.655352)", {1}), 1);
  EXPECT_EQ(iostat, kErrorInFormatString);
  EXPECT_EQ(write("(F10.200)", {1}), 1);
  EXPECT_EQ(iostat, kErrorInFormatString);
}

TEST_F(HostileFormatTest, APositionOf65536IsRefusedNotTakenAsZero) {
  EXPECT_EQ(write("(T65537,I1)", {7}), 1);
  EXPECT_EQ(iostat, kErrorInFormatString);
  EXPECT_EQ(test::written_text(kConsoleOutputHandle), "");
}

TEST_F(HostileFormatTest, APositionPastTheLongestRecordFailsAsATooLongRecord) {
  // 300 moves of 65535 columns, each followed by an item, are about 19.7 MB,
  // past the 16 MiB limit.
  EXPECT_EQ(write("(300(TR65535,I1))", std::vector<int>(300, 7)), 1);
  EXPECT_EQ(iostat, kRecordTooLong);
}

TEST_F(HostileFormatTest, APositionWithinTheLongestRecordIsWritten) {
  ASSERT_EQ(write("(T60000,I1)", {7}), 0);
  EXPECT_EQ(test::written_text(kConsoleOutputHandle), std::string(59999, ' ') + "7\r\n");
}

TEST_F(HostileFormatTest, NestedRepeatsWithoutItemsStopAtTheWorkLimit) {
  // 32767 cubed moves before the first item: without a limit this runs for
  // hours; with it the statement fails at once with the format error.
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(write("(32767(32767(32767(TL1))),I5)", {1}), 1);
  EXPECT_EQ(iostat, kErrorInFormatString);
  EXPECT_EQ(write("(I5,32767(32767(32767(SP))))", {1}), 1);
  EXPECT_EQ(iostat, kErrorInFormatString);
  EXPECT_EQ(write("(I5,32767(32767(32767())))", {1}), 1);
  EXPECT_EQ(iostat, kErrorInFormatString);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST_F(HostileFormatTest, RecordEndsCountAsWork) {
  // Each pass would end 32767 records on the console.
  EXPECT_EQ(write("(32767(32767/),I5)", {1}), 1);
  EXPECT_EQ(iostat, kErrorInFormatString);
  EXPECT_LT(test::hook_log().writes.size(), 1100000u);
}

TEST_F(HostileFormatTest, RepeatsWithinTheLimitStillRun) {
  ASSERT_EQ(write("(100(100(SP)),I3,1000(1X),I2)", {5, 6}), 0);
  EXPECT_EQ(test::written_text(kConsoleOutputHandle), " +5" + std::string(1000, ' ') + "+6\r\n");
}

TEST_F(HostileFormatTest, AFormatWithoutDataDescriptorsFailsOnItsFirstItem) {
  EXPECT_EQ(write("(1X)", {1, 2}), 1);
  EXPECT_EQ(iostat, kErrorInFormatString);
  EXPECT_EQ(write("()", {1}), 1);
  EXPECT_EQ(iostat, kErrorInFormatString);
}

TEST_F(HostileFormatTest, ReadingUnderNestedRepeatsOfRecordEndsStops) {
  std::string format = "(32767(32767(32767(TR1))),I5)";
  char line[] = "12345";
  ControlInfo control;
  control.options = kUnitIsInternalFile;
  control.internal_file = line;
  control.internal_length = 5;
  control.format_text = format.data();
  control.format_length = format.size();
  control.iostat = &iostat;
  int value = 0;
  ItemDescriptor item{kItemScalar, kInteger4, &value, 0};
  EXPECT_EQ(io_read(kPhaseWhole, &control, {&item, 1}), 1);
  EXPECT_EQ(iostat, kErrorInFormatString);
}

}  // namespace
}  // namespace rio
