// Cutting input bytes into records and writing records out, on real files
// and on the console units.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "rio/rio.h"
#include "rio/statement.h"
#include "rio/status.h"
#include "rio/units.h"
#include "rio/support/recording_hooks.h"
#include "rio/support/temp_dir.h"

namespace rio {
namespace {

using test::hook_log;
using test::TempDirTest;

struct TabCase {
  const char* tabsize;  // null: unset
  const char* expected;
};

class TabSizeTest : public ::testing::TestWithParam<TabCase> {};

TEST_P(TabSizeTest, ExpandsATabBetweenTwoDigitsToTheNextStop) {
  const TabCase& c = GetParam();
  EXPECT_EQ(tab_size_from(c.tabsize), static_cast<int>(std::string(c.expected).size() - 1))
      << (c.tabsize ? c.tabsize : "(unset)");
}

INSTANTIATE_TEST_SUITE_P(
    TabsizeValues, TabSizeTest,
    ::testing::Values(TabCase{nullptr, "1       2"}, TabCase{"", "1       2"},
                      TabCase{"12345678901234567890", "1       2"},  // 20 characters
                      TabCase{"4", "1   2"}, TabCase{"+4", "1   2"}, TabCase{"4abc", "1   2"},
                      TabCase{"0", "1       2"}, TabCase{"-3", "1       2"},
                      TabCase{"abc", "1       2"}, TabCase{"3", "1  2"}));

class RecordFileTest : public TempDirTest {
 protected:
  // Opens name on unit 3 and reads every record until end of file.
  std::vector<std::string> records_of(const std::string& name) {
    int unit = 3;
    OpenSpec spec;
    spec.unit = &unit;
    spec.file = {name.c_str(), name.size()};
    EXPECT_EQ(io_open(spec), 0);
    UnitRecord* u = connected_unit(3);
    std::vector<std::string> out;
    RecordBuffer record;
    int rc;
    while ((rc = read_record(*u, record)) == kOk) out.emplace_back(record.data(), record.length());
    EXPECT_EQ(rc, kEndOfFile);
    return out;
  }
};

TEST_F(RecordFileTest, TabsExpandFromTheRecordStartWithTheUnitsTabSize) {
  write_file("t.txt", "1\t2\r\n\tx\r\n");
  EXPECT_EQ(records_of("t.txt"), (std::vector<std::string>{"1       2", "        x"}));
  ::setenv("TABSIZE", "4", 1);
  close_all_units();
  EXPECT_EQ(records_of("t.txt"), (std::vector<std::string>{"1   2", "    x"}));
}

TEST_F(RecordFileTest, CarriageReturnsAreDroppedAndLineFeedsEndRecords) {
  write_file("cr.txt", "a\rb\r\n\r\n\nc\n");
  EXPECT_EQ(records_of("cr.txt"), (std::vector<std::string>{"ab", "", "", "c"}));
}

TEST_F(RecordFileTest, ALastLineWithoutLineFeedIsNoRecord) {
  write_file("last.txt", "one\r\ntwo");
  EXPECT_EQ(records_of("last.txt"), (std::vector<std::string>{"one"}));
}

TEST_F(RecordFileTest, RecordsSpanFileBlocksAndHaveNoLengthLimit) {
  std::string longer(20000, 'x');
  longer[8191] = 'y';
  write_file("big.txt", std::string(8190, 'a') + "\r\n" + longer + "\r\nend\r\n");
  std::vector<std::string> got = records_of("big.txt");
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0], std::string(8190, 'a'));
  EXPECT_EQ(got[1], longer);
  EXPECT_EQ(got[2], "end");
}

TEST_F(RecordFileTest, EndOfFileStaysMarkedUntilTheUnitCloses) {
  write_file("e.txt", "");
  EXPECT_TRUE(records_of("e.txt").empty());
  RecordBuffer record;
  EXPECT_EQ(read_record(*connected_unit(3), record), kEndOfFile);
}

TEST_F(RecordFileTest, RewritingALongerFileLeavesExactlyTheNewRecords) {
  write_file("MATRICES.DAT", std::string(30000, 'z') + "\r\n");
  int unit = 1;
  OpenSpec spec;
  spec.unit = &unit;
  spec.file = {"MATRICES.DAT", 12};
  ASSERT_EQ(io_open(spec), 0);
  UnitRecord* u = connected_unit(1);
  for (const char* text : {"a", "bb", "ccc"}) {
    RecordBuffer r;
    r.append(text, std::strlen(text));
    ASSERT_EQ(write_record(*u, r, false, false), kOk);
  }
  CloseSpec close;
  close.unit = &unit;
  ASSERT_EQ(io_close(close), 0);
  EXPECT_EQ(read_file("MATRICES.DAT"), "a\r\nbb\r\nccc\r\n");
}

TEST_F(RecordFileTest, WritesLargerThanTheBufferReachTheFileWhole) {
  int unit = 4;
  OpenSpec spec;
  spec.unit = &unit;
  spec.file = {"w.txt", 5};
  ASSERT_EQ(io_open(spec), 0);
  std::string text(20000, 'q');
  RecordBuffer r;
  r.append(text.data(), text.size());
  ASSERT_EQ(write_record(*connected_unit(4), r, false, false), kOk);
  ASSERT_EQ(write_record(*connected_unit(4), r, true, false), kOk);
  ASSERT_EQ(close_all_units(), kOk);
  EXPECT_EQ(read_file("w.txt"), text + "\r\n" + text);
}

class ConsoleRecordTest : public TempDirTest {
 protected:
  UnitRecord& console_output() {
    IoStatement& st = io_statement();
    st.start(kKindWrite, nullptr, false);
    st.unit_number = 6;
    UnitRecord* u = nullptr;
    EXPECT_EQ(find_unit(st, &u), kOk);
    st.finish();
    return *u;
  }
};

TEST_F(ConsoleRecordTest, ARecordLongerThanTheConsoleBufferArrivesInSeveralCalls) {
  std::string text(300, 'k');
  RecordBuffer r;
  r.append(text.data(), text.size());
  ASSERT_EQ(write_record(console_output(), r, false, false), kOk);
  ASSERT_EQ(hook_log().writes.size(), 2u);
  EXPECT_EQ(hook_log().writes[0].bytes, std::string(256, 'k'));
  EXPECT_EQ(hook_log().writes[1].bytes, std::string(44, 'k') + "\r\n");
  EXPECT_EQ(hook_log().writes[1].handle, kConsoleOutputHandle);
}

TEST_F(ConsoleRecordTest, EveryConsoleRecordIsFlushedAtOnce) {
  RecordBuffer r;
  r.append("hi", 2);
  ASSERT_EQ(write_record(console_output(), r, false, false), kOk);
  ASSERT_EQ(write_record(console_output(), r, false, false), kOk);
  EXPECT_EQ(hook_log().writes,
            (std::vector<test::WriteCall>{{"hi\r\n", kConsoleOutputHandle}, {"hi\r\n", kConsoleOutputHandle}}));
}

TEST_F(ConsoleRecordTest, InputDeliveredInSeveralReadsFormsOneRecord) {
  test::script_input({"da", "ta.t", "xt\r", "\nnext\r\n"});
  IoStatement& st = io_statement();
  st.start(kKindRead, nullptr, false);
  st.unit_number = 5;
  UnitRecord* u = nullptr;
  ASSERT_EQ(find_unit(st, &u), kOk);
  st.finish();
  RecordBuffer record;
  ASSERT_EQ(read_record(*u, record), kOk);
  EXPECT_EQ(std::string(record.data(), record.length()), "data.txt");
  ASSERT_EQ(read_record(*u, record), kOk);
  EXPECT_EQ(std::string(record.data(), record.length()), "next");
  EXPECT_EQ(read_record(*u, record), kEndOfFile);
}

TEST_F(ConsoleRecordTest, CarriageControlReplacesTheFirstCharacterBySpacing) {
  struct Case {
    const char* record;
    const char* bytes;
  } cases[] = {{"+a", "a\r"}, {"0b", "\n\nb\r"}, {"-c", "\n\n\nc\r"}, {"1d", "\fd\r"}, {" e", "\ne\r"}};
  UnitRecord& u = console_output();
  u.set(kCarriageControl);
  for (const Case& c : cases) {
    hook_log().writes.clear();
    RecordBuffer r;
    r.append(c.record, std::strlen(c.record));
    ASSERT_EQ(write_record(u, r, false, false), kOk);
    ASSERT_EQ(hook_log().writes.size(), 1u);
    EXPECT_EQ(hook_log().writes[0].bytes, c.bytes) << c.record;
  }
}

}  // namespace
}  // namespace rio

namespace rio {
namespace {

class UnformattedRecordTest : public test::TempDirTest {
 protected:
  UnitRecord& open_unformatted(const char* byte_order) {
    int unit = 8;
    OpenSpec spec;
    spec.unit = &unit;
    spec.file = {"u.bin", 5};
    spec.form = {"UNFORMATTED", 11};
    if (byte_order) spec.byte_order = {byte_order, std::strlen(byte_order)};
    EXPECT_EQ(io_open(spec), 0);
    return *connected_unit(8);
  }
};

TEST_F(UnformattedRecordTest, RecordsCarryTheirCountBeforeAndAfter) {
  struct Case {
    const char* order;
    std::string count;
  } cases[] = {{nullptr, std::string("\3\0\0\0", 4)}, {"BIG_ENDIAN", std::string("\0\0\0\3", 4)}};
  for (const Case& c : cases) {
    UnitRecord& u = open_unformatted(c.order);
    RecordBuffer r;
    r.append("abc", 3);
    ASSERT_EQ(write_unformatted_record(u, r), kOk);
    ASSERT_EQ(close_all_units(), kOk);
    EXPECT_EQ(read_file("u.bin"), c.count + "abc" + c.count);
    UnitRecord& again = open_unformatted(c.order);
    RecordBuffer back;
    ASSERT_EQ(read_unformatted_record(again, back), kOk);
    EXPECT_EQ(std::string(back.data(), back.length()), "abc");
    EXPECT_EQ(read_unformatted_record(again, back), kEndOfFile);
    ASSERT_EQ(close_all_units(), kOk);
  }
}

TEST_F(UnformattedRecordTest, ARecordCutShortByTheFileEndIsEndOfFile) {
  write_file("u.bin", std::string("\x09\0\0\0ab", 6));
  RecordBuffer back;
  EXPECT_EQ(read_unformatted_record(open_unformatted(nullptr), back), kEndOfFile);
}

}  // namespace
}  // namespace rio

namespace rio {
namespace {

class FailingHookTest : public test::TempDirTest {};

TEST_F(FailingHookTest, AWriteHookThatWritesNothingFailsTheStatement) {
  install_console_hooks({nullptr, [](const char*, int*, int) { return 0; }, nullptr, nullptr});
  int iostat = 0;
  ControlInfo c;
  c.iostat = &iostat;
  EXPECT_EQ(io_write(kPhaseWhole, &c, {}), 1);
  EXPECT_EQ(iostat, 29);  // the device could not be written
  test::install_recording_hooks();
}

}  // namespace
}  // namespace rio
