// The data-transfer protocol: begin, items and end calls, their statuses,
// the console unit mapping and the records they produce.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rio/rio.h"
#include "rio/status.h"
#include "rio/units.h"
#include "rio/support/recording_hooks.h"
#include "rio/support/temp_dir.h"

namespace rio {
namespace {

using test::hook_log;
using test::WriteCall;

ItemDescriptor integer_item(int* v) { return {kItemScalar, kInteger4, v, 0}; }

class StatementTest : public test::TempDirTest {
 protected:
  const std::vector<WriteCall>& console_writes() const { return hook_log().writes; }
  static ControlInfo on_unit(const int* unit) {
    ControlInfo c;
    c.unit = unit;
    return c;
  }
};

TEST_F(StatementTest, AnEmptyListDirectedWriteIsARecordOfOneBlank) {
  EXPECT_EQ(io_write(kPhaseWhole, nullptr, {}), 0);
  EXPECT_EQ(console_writes(), (std::vector<WriteCall>{{" \r\n", kConsoleOutputHandle}}));
}

TEST_F(StatementTest, WriteCallsTheIdleHookFirst) {
  io_write(kPhaseWhole, nullptr, {});
  EXPECT_EQ(hook_log().idle_calls, 1);
}

TEST_F(StatementTest, UnitSixAndTheDefaultUnitShareTheConsoleOutput) {
  int six = 6;
  ControlInfo c = on_unit(&six);
  ASSERT_EQ(io_write(kPhaseWhole, &c, {}), 0);
  ASSERT_EQ(io_write(kPhaseWhole, nullptr, {}), 0);
  EXPECT_EQ(console_writes(), (std::vector<WriteCall>{{" \r\n", kConsoleOutputHandle},
                                                      {" \r\n", kConsoleOutputHandle}}));
  // Input and output units come into being together and nothing else.
  EXPECT_EQ(unit_count(), 2u);
  EXPECT_NE(connected_unit(kConsoleInputUnit), nullptr);
  EXPECT_EQ(connected_unit(6), nullptr);
}

TEST_F(StatementTest, UnitZeroWritesToTheErrorUnit) {
  int zero = 0;
  ControlInfo c = on_unit(&zero);
  ASSERT_EQ(io_write(kPhaseWhole, &c, {}), 0);
  EXPECT_EQ(console_writes(), (std::vector<WriteCall>{{" \r\n", kErrorOutputHandle}}));
}

TEST_F(StatementTest, UnitsFiveNineAndTheDefaultReadTheConsoleInput) {
  test::script_lines({"a", "b", "c", "d"});
  int five = 5, nine = 9;
  ControlInfo c5 = on_unit(&five), c9 = on_unit(&nine);
  EXPECT_EQ(io_read(kPhaseWhole, &c5, {}), 0);
  EXPECT_EQ(io_read(kPhaseWhole, &c9, {}), 0);
  EXPECT_EQ(io_read(kPhaseWhole, nullptr, {}), 0);
  EXPECT_EQ(hook_log().read_calls, 3);
  EXPECT_EQ(hook_log().idle_calls, 0);  // console input reads do not idle
  EXPECT_EQ(unit_count(), 2u);
}

TEST_F(StatementTest, AReadOfAFileUnitCallsTheIdleHook) {
  write_file("velm.3", "x\r\n");
  int three = 3;
  ControlInfo c = on_unit(&three);
  EXPECT_EQ(io_read(kPhaseWhole, &c, {}), 0);
  EXPECT_EQ(hook_log().idle_calls, 1);
}

TEST_F(StatementTest, AnUnconnectedUnitIsOpenedImplicitlyOnVelmDotNumber) {
  int seven = 7;
  ControlInfo c = on_unit(&seven);
  ASSERT_EQ(io_write(kPhaseWhole, &c, {}), 0);
  ASSERT_EQ(close_all_units(), kOk);
  EXPECT_EQ(read_file("velm.7"), " \r\n");
}

TEST_F(StatementTest, AnImplicitOpenForDirectAccessGives10031) {
  int seven = 7, rec = 1, iostat = 0;
  ControlInfo c = on_unit(&seven);
  c.record_number = &rec;
  c.iostat = &iostat;
  EXPECT_EQ(io_write(kPhaseWhole, &c, {}), 1);
  EXPECT_EQ(iostat, kCannotImplicitlyOpenDirect);
}

TEST_F(StatementTest, ATypeByteOutsideTheTableStopsTheStatementWith10048) {
  int iostat = 0, value = 3;
  ControlInfo c;
  c.iostat = &iostat;
  ItemDescriptor bad{kItemScalar, type_code(7, 4), &value, 0};
  EXPECT_EQ(io_write(kPhaseWhole, &c, {&bad, 1}), 1);
  EXPECT_EQ(iostat, kInternalError);
  EXPECT_TRUE(console_writes().empty());  // the abandoned record is not written
}

TEST_F(StatementTest, AnItemFormOtherThanScalarOrArrayGives10048) {
  int iostat = 0, value = 3;
  ControlInfo c;
  c.iostat = &iostat;
  ItemDescriptor built{kItemBuilt, kInteger4, &value, 0};
  EXPECT_EQ(io_write(kPhaseWhole, &c, {&built, 1}), 1);
  EXPECT_EQ(iostat, kInternalError);
}

TEST_F(StatementTest, AfterAnAbsorbedErrorLaterCallsOfTheStatementDoNothing) {
  int iostat = 0, value = 3;
  ControlInfo c;
  c.iostat = &iostat;
  ItemDescriptor bad{kItemScalar, type_code(7, 4), &value, 0};
  EXPECT_EQ(io_write(kPhaseBegin, &c, {&bad, 1}), 1);
  ItemDescriptor good = integer_item(&value);
  EXPECT_EQ(io_write(0, nullptr, {&good, 1}), 1);
  EXPECT_EQ(io_write(kPhaseEnd, nullptr, {}), 1);
  EXPECT_TRUE(console_writes().empty());
  // The next statement starts clean.
  EXPECT_EQ(io_write(kPhaseWhole, nullptr, {}), 0);
}

TEST_F(StatementTest, WriteOnAReadOnlyUnitGives10001AndReadOnAWriteOnlyUnit10000) {
  write_file("r.txt", "x\r\n");
  int unit = 2, iostat = 0;
  OpenSpec open;
  open.unit = &unit;
  open.file = {"r.txt", 5};
  open.action = {"READ", 4};
  ASSERT_EQ(io_open(open), 0);
  ControlInfo c = on_unit(&unit);
  c.iostat = &iostat;
  EXPECT_EQ(io_write(kPhaseWhole, &c, {}), 1);
  EXPECT_EQ(iostat, kFileNotOpenForWrite);
  int six = 6;
  ControlInfo out = on_unit(&six);
  out.iostat = &iostat;
  EXPECT_EQ(io_read(kPhaseWhole, &out, {}), 1);
  EXPECT_EQ(iostat, kFileNotOpenForRead);
}

TEST_F(StatementTest, ReadAtEndOfFileTakesEndOrSetsIostatToMinusOne) {
  write_file("empty.txt", "");
  int unit = 1, iostat = 0;
  OpenSpec open;
  open.unit = &unit;
  open.file = {"empty.txt", 9};
  ASSERT_EQ(io_open(open), 0);
  ControlInfo c = on_unit(&unit);
  c.branches = kEndPresent;
  EXPECT_EQ(io_read(kPhaseWhole, &c, {}), 2);
  c.branches = 0;
  c.iostat = &iostat;
  EXPECT_EQ(io_read(kPhaseWhole, &c, {}), 1);
  EXPECT_EQ(iostat, -1);
}

TEST_F(StatementTest, AnErrTakenErrorReturnsOneWithoutIostat) {
  int unit = -5;
  ControlInfo c = on_unit(&unit);
  c.branches = kErrPresent;
  EXPECT_EQ(io_write(kPhaseWhole, &c, {}), 1);
}

TEST_F(StatementTest, AnIllegalAdvanceValueGives10040) {
  int iostat = 0;
  ControlInfo c;
  c.iostat = &iostat;
  c.format_text = "(A)";
  c.format_length = 3;
  c.advance = "MAYBE";
  c.advance_length = 5;
  EXPECT_EQ(io_write(kPhaseWhole, &c, {}), 1);
  // A format layer still being written may refuse first; either way the
  // statement does not succeed.
  EXPECT_TRUE(iostat == kIllegalAdvanceSpecifier || iostat == kInternalError) << iostat;
}

TEST_F(StatementTest, ListDirectedIntegersFormOneConsoleRecord) {
  int a = 12, b = 10;
  ItemDescriptor items[] = {integer_item(&a), integer_item(&b)};
  ASSERT_EQ(io_write(kPhaseWhole, nullptr, items), 0);
  ASSERT_EQ(console_writes().size(), 1u);
  const std::string& record = console_writes()[0].bytes;
  EXPECT_EQ(record.substr(record.size() - 2), "\r\n");
  EXPECT_NE(record.find("12"), std::string::npos);
  EXPECT_GT(record.find("10"), record.find("12"));
}

TEST_F(StatementTest, AReadBegunWithoutItemsSpansRecordsAndTheNextReadStartsFresh) {
  write_file("m.txt", "3 7\r\n0 0 1\r\n9 9\r\n5\r\n");
  int unit = 1;
  OpenSpec open;
  open.unit = &unit;
  open.file = {"m.txt", 5};
  ASSERT_EQ(io_open(open), 0);
  ControlInfo c = on_unit(&unit);
  int v[5] = {-1, -1, -1, -1, -1};
  ASSERT_EQ(io_read(kPhaseBegin, &c, {}), 0);
  for (int& x : v) {
    ItemDescriptor item = integer_item(&x);
    ASSERT_EQ(io_read(0, nullptr, {&item, 1}), 0);
  }
  ASSERT_EQ(io_read(kPhaseEnd, nullptr, {}), 0);
  EXPECT_EQ(std::vector<int>(v, v + 5), (std::vector<int>{3, 7, 0, 0, 1}));
  int next = -1;
  ItemDescriptor item = integer_item(&next);
  ASSERT_EQ(io_read(kPhaseWhole, &c, {&item, 1}), 0);
  EXPECT_EQ(next, 9);
}

TEST_F(StatementTest, IntegerArraysAreWrittenInStorageOrder) {
  int data[2][3] = {{1, 2, 3}, {4, 5, 6}};  // extents 3 x 2, first varying fastest
  ArrayDescriptor a;
  a.base = data;
  a.allocated = true;
  a.type = kInteger4;
  a.rank = 2;
  a.dims[0].extent = 3;
  a.dims[1].extent = 2;
  ItemDescriptor item{kItemArray, kInteger4, &a, 0};
  int unit = 1;
  ControlInfo c = on_unit(&unit);
  ASSERT_EQ(io_write(kPhaseWhole, &c, {&item, 1}), 0);
  ASSERT_EQ(close_all_units(), kOk);
  std::string text = read_file("velm.1");
  std::size_t last = 0;
  for (char digit : std::string("123456")) {
    std::size_t at = text.find(digit);
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_GE(at, last);
    last = at;
  }
}

}  // namespace
}  // namespace rio

namespace rio {
namespace {

class ArrayItemTest : public test::TempDirTest {};

TEST_F(ArrayItemTest, StridedElementsAreVisitedByTheStrides) {
  int data[6] = {1, 0, 2, 0, 3, 0};
  ArrayDescriptor a;
  a.base = data;
  a.allocated = true;
  a.type = kInteger4;
  a.rank = 1;
  a.dims[0].extent = 3;
  a.dims[0].stride = 2;
  ItemDescriptor item{kItemArray, kInteger4, &a, 0};
  ASSERT_EQ(io_write(kPhaseWhole, nullptr, {&item, 1}), 0);
  ASSERT_EQ(hook_log().writes.size(), 1u);
  EXPECT_EQ(hook_log().writes[0].bytes.find('0'), std::string::npos) << hook_log().writes[0].bytes;
}

TEST_F(ArrayItemTest, AnUnallocatedArrayInTheListGives10068) {
  ArrayDescriptor a;
  a.type = kInteger4;
  a.rank = 1;
  a.dims[0].extent = 3;
  ItemDescriptor item{kItemArray, kInteger4, &a, 0};
  int iostat = 0;
  ControlInfo c;
  c.iostat = &iostat;
  EXPECT_EQ(io_write(kPhaseWhole, &c, {&item, 1}), 1);
  EXPECT_EQ(iostat, kArrayNotAllocated);
}

TEST_F(ArrayItemTest, AZeroSizedArrayTransfersNothing) {
  ArrayDescriptor a;
  a.type = kInteger4;
  a.rank = 1;
  ArrayDescriptor* list[] = {&a};
  ASSERT_EQ(io_allocate(list, nullptr), 0);
  ItemDescriptor item{kItemArray, kInteger4, &a, 0};
  ASSERT_EQ(io_write(kPhaseWhole, nullptr, {&item, 1}), 0);
  EXPECT_EQ(hook_log().writes, (std::vector<WriteCall>{{" \r\n", kConsoleOutputHandle}}));
  io_deallocate(list);
}

}  // namespace
}  // namespace rio
