// Run-time error reports: the message tables, the report's write-hook
// pieces, and the fatal and normal ends of the process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rio/errors.h"
#include "rio/rio.h"
#include "rio/status.h"
#include "rio/units.h"
#include "rio/support/recording_hooks.h"
#include "rio/support/temp_dir.h"

namespace rio {
namespace {

using test::WriteCall;
using Pieces = std::vector<std::string>;

TEST(MessageTables, TheCatalogueHoldsSeventyOneTextsFrom10000To10070) {
  EXPECT_STREQ(catalogue_text(10000), "File not open for read");
  EXPECT_STREQ(catalogue_text(10013), "Attempt to read past end of file");
  EXPECT_STREQ(catalogue_text(10032), "Status 'NEW' specified for an existing file");
  EXPECT_STREQ(catalogue_text(10056), "The ORDER argument to RESHARE is contains an illegal value");
  EXPECT_STREQ(catalogue_text(10070), "Runtime memory allocation fails");
  EXPECT_EQ(catalogue_text(9999), nullptr);
  EXPECT_EQ(catalogue_text(10071), nullptr);
}

TEST(MessageTables, StatementNamesFollowTheKindNumbers) {
  const char* names[] = {"REWIND", "BACKSPACE", "OPEN", "CLOSE", "INQUIRE", "READ", "WRITE", "ENDFILE"};
  for (int kind = 0; kind < 8; ++kind) EXPECT_STREQ(statement_name(kind), names[kind]);
}

TEST(MessageTables, ConditionTextsFollowTheirIndex) {
  EXPECT_STREQ(condition_text(0), "Unknown Error");
  EXPECT_STREQ(condition_text(3), "Floating point divide by zero");
  EXPECT_STREQ(condition_text(5), "Floating point operand error");
  EXPECT_STREQ(condition_text(6), "Floating point overflow");
  EXPECT_STREQ(condition_text(7), "Unable to increase stack");
}

TEST(MessageTables, TheSystemTableCoversCodesZeroTo2405) {
  EXPECT_STREQ(system_error_text(0), "NO_ERROR");
  EXPECT_STREQ(system_error_text(2), "The system cannot find the file specified.");
  EXPECT_STREQ(system_error_text(3), "The system cannot find the path specified.");
  EXPECT_STREQ(system_error_text(5), "Access Denied.");
  EXPECT_STREQ(system_error_text(32),
               "The process cannot access the file because it is being used by another process.");
  EXPECT_STREQ(system_error_text(2405), "");
  EXPECT_EQ(system_error_text(2406), nullptr);
  EXPECT_EQ(system_error_text(-3), nullptr);
}

ReportStatement statement(int kind, const char* unit) {
  ReportStatement s;
  s.present = true;
  s.kind = kind;
  s.unit_text = unit;
  return s;
}

struct PiecesCase {
  int number;
  ReportStatement where;
  Pieces expected;
};

class ReportPiecesTest : public ::testing::TestWithParam<PiecesCase> {};

TEST_P(ReportPiecesTest, TheReportIsMadeOfItsSeparateCalls) {
  EXPECT_EQ(report_pieces(GetParam().number, GetParam().where), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Reports, ReportPiecesTest,
    ::testing::Values(
        PiecesCase{10016, statement(5, "1"),
                   {"? VELMORA Runtime Error:\n", "? Illegal character in numeric input\n", "? READ(UNIT=",
                    "1,...\n"}},
        PiecesCase{10014, statement(2, "1"),
                   {"? VELMORA Runtime Error:\n", "? Bad file specification\n", "? OPEN(UNIT=", "1,...\n"}},
        PiecesCase{3, statement(2, "2"),
                   {"? System Error:\n", "? The system cannot find the path specified.\n", "? OPEN(UNIT=",
                    "2,...\n"}},
        PiecesCase{10001, statement(6, "*"),
                   {"? VELMORA Runtime Error:\n", "? File not open for write\n", "? WRITE(UNIT=", "*,...\n"}},
        PiecesCase{10024, statement(5, "INTERNAL"),
                   {"? VELMORA Runtime Error:\n", "? Illegal use of internal file\n", "? READ(UNIT=",
                    "INTERNAL,...\n"}},
        PiecesCase{9, statement(3, "-7"), {"? System Error:\n", "? \n", "? CLOSE(UNIT=", "-7,...\n"}},
        PiecesCase{5000, statement(5, "1"),
                   {"? System Error:\n", "? Unknown system error 5000\n", "? READ(UNIT=", "1,...\n"}},
        PiecesCase{10004, ReportStatement{}, {"? VELMORA Runtime Error:\n", "? Buffer allocation failed\n"}}));

TEST(ReportPieces, ASourceLineAddsFourMoreCalls) {
  ReportStatement s = statement(5, "1");
  s.source_file = "main.f";
  s.source_line = 42;
  Pieces p = report_pieces(10013, s);
  ASSERT_EQ(p.size(), 8u);
  EXPECT_EQ(Pieces(p.begin() + 4, p.end()), (Pieces{"File ", "main.f", "; Line ", "42\n"}));
}

std::vector<WriteCall> on_error_handle(const Pieces& pieces) {
  std::vector<WriteCall> calls;
  for (const std::string& p : pieces) calls.push_back({p, kErrorOutputHandle});
  return calls;
}

class FatalEndTest : public test::TempDirTest {};

TEST_F(FatalEndTest, AFatalErrorWritesTheReportThenExitsWithMinusOne) {
  test::ChildOutcome out = test::run_in_child([] {
    int unit = 1;
    OpenSpec open;
    open.unit = &unit;
    open.file = {"nodir/x.dat", 11};
    io_open(open);
  });
  EXPECT_EQ(out.exit_status, 255);
  EXPECT_EQ(out.log.writes, on_error_handle({"? System Error:\n", "? The system cannot find the path specified.\n",
                                             "? OPEN(UNIT=", "1,...\n"}));
  EXPECT_EQ(out.log.exit_codes, std::vector<int>{-1});
}

TEST_F(FatalEndTest, AReadPastTheEndOfAFileIsFatalWithoutEndOrIostat) {
  write_file("short.txt", "");
  test::ChildOutcome out = test::run_in_child([] {
    int unit = 2;
    OpenSpec open;
    open.unit = &unit;
    open.file = {"short.txt", 9};
    io_open(open);
    ControlInfo c;
    c.unit = &unit;
    io_read(kPhaseWhole, &c, {});
  });
  EXPECT_EQ(out.exit_status, 255);
  EXPECT_EQ(out.log.writes, on_error_handle({"? VELMORA Runtime Error:\n", "? Attempt to read past end of file\n",
                                             "? READ(UNIT=", "2,...\n"}));
}

TEST_F(FatalEndTest, OutputWrittenBeforeAFatalErrorIsCompleteOnDisk) {
  test::ChildOutcome out = test::run_in_child([] {
    int unit = 1;
    OpenSpec open;
    open.unit = &unit;
    open.file = {"MATRICES.DAT", 12};
    io_open(open);
    ControlInfo c;
    c.unit = &unit;
    for (int i = 0; i < 3; ++i) io_write(kPhaseWhole, &c, {});
    io_write(kPhaseWhole, nullptr, {});  // console output before the error
    int bad = -9;
    ControlInfo wrong;
    wrong.unit = &bad;
    io_write(kPhaseWhole, &wrong, {});
  });
  EXPECT_EQ(out.exit_status, 255);
  EXPECT_EQ(read_file("MATRICES.DAT"), " \r\n \r\n \r\n");
  ASSERT_EQ(out.log.writes.size(), 5u);
  EXPECT_EQ(out.log.writes[0], (WriteCall{" \r\n", kConsoleOutputHandle}));
  EXPECT_EQ(out.log.writes[2].bytes, "? Negative unit specifiers are not permitted\n");
  EXPECT_EQ(out.log.writes[4].bytes, "-9,...\n");
}

TEST_F(FatalEndTest, TheNormalEndClosesUnitsAndExitsWithZero) {
  test::ChildOutcome out = test::run_in_child([] {
    int unit = 1;
    ControlInfo c;
    c.unit = &unit;
    io_write(kPhaseWhole, &c, {});
    io_finish();
  });
  EXPECT_EQ(out.exit_status, 0);
  EXPECT_TRUE(out.log.writes.empty());
  EXPECT_EQ(out.log.exit_codes, std::vector<int>{0});
  EXPECT_EQ(read_file("velm.1"), " \r\n");
}

TEST_F(FatalEndTest, ARunTimeConditionIsReportedWithItsText) {
  test::ChildOutcome out = test::run_in_child([] { report_condition(2); });
  EXPECT_EQ(out.exit_status, 255);
  EXPECT_EQ(out.log.writes, on_error_handle({"? VELMORA Runtime Error:\n", "? Array boundary error\n"}));
}

TEST_F(FatalEndTest, WithIostatAnOpenErrorReturnsOneAndStoresTheNumber) {
  int unit = 1, iostat = 0;
  OpenSpec open;
  open.unit = &unit;
  open.iostat = &iostat;
  open.status = {"BAD", 3};
  EXPECT_EQ(io_open(open), 1);
  EXPECT_EQ(iostat, kBadIolistSpecifier);
}

}  // namespace
}  // namespace rio
