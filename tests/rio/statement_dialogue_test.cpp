// Whole statements as the program body issues them: console replies read
// with "(A)", file names taken from the reply, and internal files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "rio/rio.h"
#include "rio/status.h"
#include "rio/units.h"
#include "rio/support/recording_hooks.h"
#include "rio/support/temp_dir.h"

namespace rio {
namespace {

class DialogueTest : public test::TempDirTest {
 protected:
  // READ(*,'(A)') into a 100-character reply; returns the status, or the
  // error number an IOSTAT= variable caught.
  int read_reply(std::string& reply) {
    reply.assign(100, '?');
    int iostat = 0;
    ControlInfo c;
    c.iostat = &iostat;
    c.format_text = "(A)";
    c.format_length = 3;
    ItemDescriptor item{kItemScalar, kCharacter, reply.data(), 100};
    int status = io_read(kPhaseWhole, &c, {&item, 1});
    return status == 1 ? iostat : status;
  }
};

TEST_F(DialogueTest, AReplyReadWithFormatAIsBlankFilledAndNamesTheFileOpened) {
  test::script_lines({"data.txt"});
  std::string reply;
  ASSERT_EQ(read_reply(reply), 0);
  EXPECT_EQ(reply, "data.txt" + std::string(92, ' '));
  int unit = 1;
  OpenSpec open;
  open.unit = &unit;
  open.file = {reply.data(), reply.size()};
  ASSERT_EQ(io_open(open), 0);
  EXPECT_TRUE(exists("data.txt"));
}

TEST_F(DialogueTest, EachReplyReadStartsOnANewInputLine) {
  test::script_input({"first line\r\nsecond\r\n"});
  std::string reply;
  ASSERT_EQ(read_reply(reply), 0);
  EXPECT_EQ(reply.substr(0, 11), "first line ");
  ASSERT_EQ(read_reply(reply), 0);
  EXPECT_EQ(reply.substr(0, 7), "second ");
}

TEST_F(DialogueTest, AnEmptyReplyMakesTheOpenFailWithBadFileSpecification) {
  std::string reply(100, ' ');
  int unit = 1, iostat = 0;
  OpenSpec open;
  open.unit = &unit;
  open.iostat = &iostat;
  open.file = {reply.data(), reply.size()};
  EXPECT_EQ(io_open(open), 1);
  EXPECT_EQ(iostat, kBadFileSpecification);
}

ControlInfo internal_file(std::string& variable) {
  ControlInfo c;
  c.options = kUnitIsInternalFile;
  c.internal_file = variable.data();
  c.internal_length = variable.size();
  return c;
}

TEST_F(DialogueTest, AWriteToAnInternalFileFillsTheVariableWithBlanks) {
  std::string variable = "xxxxx";
  ControlInfo c = internal_file(variable);
  ASSERT_EQ(io_write(kPhaseWhole, &c, {}), 0);
  EXPECT_EQ(variable, "     ");
}

TEST_F(DialogueTest, AReadFromAnInternalFileTakesItsOneRecord) {
  std::string variable = "  42  7";
  ControlInfo c = internal_file(variable);
  int a = 0, b = 0;
  ItemDescriptor items[] = {{kItemScalar, kInteger4, &a, 0}, {kItemScalar, kInteger4, &b, 0}};
  ASSERT_EQ(io_read(kPhaseWhole, &c, items), 0);
  EXPECT_EQ(a, 42);
  EXPECT_EQ(b, 7);
}

TEST_F(DialogueTest, AnInternalFileWithARecordNumberGives10024) {
  std::string variable = "1";
  ControlInfo c = internal_file(variable);
  int rec = 1, iostat = 0;
  c.record_number = &rec;
  c.iostat = &iostat;
  EXPECT_EQ(io_read(kPhaseWhole, &c, {}), 1);
  EXPECT_EQ(iostat, kIllegalUseOfInternalFile);
}

TEST_F(DialogueTest, TheReportOfAnInternalFileStatementNamesItInternal) {
  test::ChildOutcome out = test::run_in_child([] {
    std::string variable = "";
    ControlInfo c = internal_file(variable);
    int v = 0;
    ItemDescriptor item{kItemScalar, kInteger4, &v, 0};
    io_read(kPhaseWhole, &c, {&item, 1});
  });
  EXPECT_EQ(out.exit_status, 255);
  ASSERT_EQ(out.log.writes.size(), 4u);
  EXPECT_EQ(out.log.writes[3].bytes, "INTERNAL,...\n");
}

}  // namespace
}  // namespace rio

namespace rio {
namespace {

class AdvanceTest : public test::TempDirTest {
 protected:
  int iostat = 0;
  ControlInfo formatted(const char* advance) {
    ControlInfo c;
    c.iostat = &iostat;
    c.format_text = "(A)";
    c.format_length = 3;
    if (advance) {
      c.advance = advance;
      c.advance_length = std::strlen(advance);
    }
    return c;
  }
  int write_text(const char* advance, std::string text) {
    ControlInfo c = formatted(advance);
    ItemDescriptor item{kItemScalar, kCharacter, text.data(), static_cast<int>(text.size())};
    int status = io_write(kPhaseWhole, &c, {&item, 1});
    return status == 1 ? iostat : status;
  }
};

TEST_F(AdvanceTest, ANonAdvancingWriteLeavesItsRecordForTheNextStatement) {
  ASSERT_EQ(write_text("NO ", "ab"), 0);
  EXPECT_TRUE(test::hook_log().writes.empty());
  ASSERT_EQ(write_text(nullptr, "cd"), 0);
  ASSERT_EQ(test::hook_log().writes.size(), 1u);
  EXPECT_EQ(test::hook_log().writes[0].bytes, "abcd\r\n");
}

TEST_F(AdvanceTest, AdvanceValuesOtherThanYesOrNoGive10040) {
  EXPECT_EQ(write_text("SOMETIMES", "x"), kIllegalAdvanceSpecifier);
}

TEST_F(AdvanceTest, EorOrSizeWithAdvanceYesAreRefusedOnRead) {
  test::script_lines({"x", "y"});
  ControlInfo eor = formatted("YES");
  eor.branches = kEorPresent;
  EXPECT_EQ(io_read(kPhaseWhole, &eor, {}), 1);
  EXPECT_EQ(iostat, kEorWithAdvanceYes);
  int size = 0;
  ControlInfo sized = formatted("yes");
  sized.size = &size;
  EXPECT_EQ(io_read(kPhaseWhole, &sized, {}), 1);
  EXPECT_EQ(iostat, kSizeWithAdvanceYes);
}

// Connects unit to d.dat for formatted direct access with records of recl.
int open_direct_unit(const int& unit, const int& recl) {
  OpenSpec open;
  open.unit = &unit;
  open.file = {"d.dat", 5};
  open.access = {"DIRECT", 6};
  open.form = {"FORMATTED", 9};
  open.recl = &recl;
  return io_open(open);
}

TEST_F(AdvanceTest, AdvanceOnADirectAccessUnitGives10061) {
  int unit = 3, recl = 8, rec = 1;
  ASSERT_EQ(open_direct_unit(unit, recl), 0);
  ControlInfo c = formatted("NO");
  c.unit = &unit;
  c.record_number = &rec;
  EXPECT_EQ(io_write(kPhaseWhole, &c, {}), 1);
  EXPECT_EQ(iostat, kAdvanceForDirectOrUnformatted);
}

TEST_F(AdvanceTest, DirectAccessNeedsAValidRecordNumber) {
  int unit = 3, recl = 8, rec = 0;
  ASSERT_EQ(open_direct_unit(unit, recl), 0);
  ControlInfo c = formatted(nullptr);
  c.unit = &unit;
  EXPECT_EQ(io_write(kPhaseWhole, &c, {}), 1);
  EXPECT_EQ(iostat, kNoRecordForDirectAccess);
  c.record_number = &rec;
  EXPECT_EQ(io_write(kPhaseWhole, &c, {}), 1);
  EXPECT_EQ(iostat, kIllegalDirectAccessRecordNumber);
}

}  // namespace
}  // namespace rio
