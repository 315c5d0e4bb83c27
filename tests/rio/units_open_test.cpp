// OPEN and CLOSE through the statement entries, with IOSTAT= catching the
// errors that would otherwise end the run.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "rio/rio.h"
#include "rio/status.h"
#include "rio/units.h"
#include "rio/support/recording_hooks.h"
#include "rio/support/temp_dir.h"

namespace rio {
namespace {

TextSpec text(const char* s) { return {s, std::strlen(s)}; }

class OpenTest : public test::TempDirTest {
 protected:
  int unit = 1;
  int iostat = -99;
  OpenSpec spec_on(const char* file) {
    OpenSpec s;
    s.unit = &unit;
    s.iostat = &iostat;
    if (file) s.file = text(file);
    return s;
  }
  int open(const OpenSpec& s) {
    int status = io_open(s);
    return status == 0 ? 0 : iostat;
  }
  int close(const char* status = nullptr) {
    CloseSpec c;
    c.unit = &unit;
    c.iostat = &iostat;
    if (status) c.status = text(status);
    return io_close(c) == 0 ? 0 : iostat;
  }
};

struct SpecifierCase {
  TextSpec OpenSpec::*field;
  const char* value;
  int expected;
};

class OpenSpecifierTest : public OpenTest, public ::testing::WithParamInterface<SpecifierCase> {};

TEST_P(OpenSpecifierTest, ValuesOutsideTheListGiveTheirErrorNumber) {
  OpenSpec s = spec_on("f.txt");
  s.*(GetParam().field) = text(GetParam().value);
  EXPECT_EQ(open(s), GetParam().expected) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Specifiers, OpenSpecifierTest,
    ::testing::Values(SpecifierCase{&OpenSpec::status, "maybe", kBadIolistSpecifier},
                      SpecifierCase{&OpenSpec::status, "scratch", kBadFileSpecification},
                      SpecifierCase{&OpenSpec::status, "unknown  ", 0},
                      SpecifierCase{&OpenSpec::status, "Replace", 0},
                      SpecifierCase{&OpenSpec::access, "RANDOM", kBadIolistSpecifier},
                      SpecifierCase{&OpenSpec::access, "DIRECT", kRecordLengthNotPositive},
                      SpecifierCase{&OpenSpec::form, "TEXT", kBadIolistSpecifier},
                      SpecifierCase{&OpenSpec::action, "WRITEONLY", kBadIolistSpecifier},
                      SpecifierCase{&OpenSpec::action, "readwrite", 0},
                      SpecifierCase{&OpenSpec::blank, "ONE", kBadIolistSpecifier},
                      SpecifierCase{&OpenSpec::position, "END", kBadIolistSpecifier},
                      SpecifierCase{&OpenSpec::delim, "COMMA", kIllegalDelimSpecifier},
                      SpecifierCase{&OpenSpec::pad, "MAYBE", kIllegalPadSpecifier},
                      SpecifierCase{&OpenSpec::byte_order, "MIDDLE", kBadEndianSpecifier},
                      SpecifierCase{&OpenSpec::carriage_control, "FORTRAN", kBadIolistSpecifier},
                      SpecifierCase{&OpenSpec::file, "   ", kBadFileSpecification}));

TEST_F(OpenTest, PadOnAnUnformattedFileIsRefused) {
  OpenSpec s = spec_on("u.bin");
  s.form = text("UNFORMATTED");
  s.pad = text("YES");
  EXPECT_EQ(open(s), kPadForUnformatted);
}

TEST_F(OpenTest, ANegativeBufferSizeIsRefused) {
  OpenSpec s = spec_on("b.txt");
  int size = -1;
  s.buffer_size = &size;
  EXPECT_EQ(open(s), kBadIolistSpecifier);
}

TEST_F(OpenTest, AFileNameLosesItsSurroundingBlanksOnly) {
  std::string reply = std::string("  data.txt") + std::string(90, ' ');
  OpenSpec s = spec_on(nullptr);
  s.file = {reply.data(), reply.size()};
  ASSERT_EQ(open(s), 0);
  EXPECT_EQ(connected_unit(1)->file_name, "data.txt");
  EXPECT_TRUE(exists("data.txt"));
}

TEST_F(OpenTest, AMissingFileIsCreatedEmptyByTheDefaultStatus) {
  ASSERT_EQ(open(spec_on("new.txt")), 0);
  EXPECT_TRUE(exists("new.txt"));
  EXPECT_EQ(read_file("new.txt"), "");
}

TEST_F(OpenTest, StatusNewOnAnExistingFileGives10032AndLeavesNoUnit) {
  write_file("old.txt", "keep\r\n");
  OpenSpec s = spec_on("old.txt");
  s.status = text("NEW");
  EXPECT_EQ(open(s), kStatusNewForExistingFile);
  EXPECT_EQ(connected_unit(1), nullptr);
  EXPECT_EQ(read_file("old.txt"), "keep\r\n");
}

TEST_F(OpenTest, StatusOldOnAMissingFileIsFileNotFound) {
  OpenSpec s = spec_on("absent.txt");
  s.status = text("OLD");
  EXPECT_EQ(open(s), 2);
}

TEST_F(OpenTest, AFileInAMissingDirectoryIsPathNotFound) {
  EXPECT_EQ(open(spec_on("nodir/x.txt")), 3);
}

TEST_F(OpenTest, ADirectoryIsRefusedWithAccessDenied) {
  ::mkdir(path("sub").c_str(), 0755);
  EXPECT_EQ(open(spec_on("sub")), 5);
}

TEST_F(OpenTest, OpeningAConnectedUnitOnTheSameFileChangesNothing) {
  ASSERT_EQ(open(spec_on("same.txt")), 0);
  UnitRecord* before = connected_unit(1);
  ASSERT_EQ(open(spec_on("same.txt   ")), 0);
  EXPECT_EQ(connected_unit(1), before);
  EXPECT_EQ(unit_count(), 1u);
}

TEST_F(OpenTest, OpeningAConnectedUnitWithOtherSpecificationsGives10030) {
  ASSERT_EQ(open(spec_on("same.txt")), 0);
  OpenSpec s = spec_on("same.txt");
  s.action = text("READ");
  EXPECT_EQ(open(s), kOpenSpecificationsMismatch);
}

TEST_F(OpenTest, OpeningAConnectedUnitOnAnotherFileReconnectsIt) {
  ASSERT_EQ(open(spec_on("first.txt")), 0);
  ASSERT_EQ(open(spec_on("second.txt")), 0);
  EXPECT_EQ(connected_unit(1)->file_name, "second.txt");
  EXPECT_EQ(unit_count(), 1u);
}

TEST_F(OpenTest, CloseOfANeverOpenedUnitSucceedsAndDoesNothing) {
  unit = 42;
  EXPECT_EQ(close(), 0);
  EXPECT_EQ(unit_count(), 0u);
}

TEST_F(OpenTest, CloseKeepsOrDeletesTheFile) {
  ASSERT_EQ(open(spec_on("k.txt")), 0);
  EXPECT_EQ(close("KEEP"), 0);
  EXPECT_TRUE(exists("k.txt"));
  ASSERT_EQ(open(spec_on("k.txt")), 0);
  EXPECT_EQ(close("delete"), 0);
  EXPECT_FALSE(exists("k.txt"));
  EXPECT_EQ(unit_count(), 0u);
}

TEST_F(OpenTest, CloseWithAnUnknownStatusGives10005) {
  ASSERT_EQ(open(spec_on("k.txt")), 0);
  EXPECT_EQ(close("TOSS"), kBadIolistSpecifier);
}

TEST_F(OpenTest, AScratchFileLivesInTheTemporaryDirectoryUntilClosed) {
  ::setenv("TMPDIR", dir().c_str(), 1);
  OpenSpec s = spec_on(nullptr);
  s.status = text("SCRATCH");
  ASSERT_EQ(open(s), 0);
  std::string name = connected_unit(1)->file_name;
  ::unsetenv("TMPDIR");
  EXPECT_EQ(name.rfind(dir() + "/VLM", 0), 0u) << name;
  EXPECT_TRUE(exists(name.substr(dir().size() + 1)));
  EXPECT_EQ(close(), 0);
  EXPECT_FALSE(exists(name.substr(dir().size() + 1)));
}

TEST_F(OpenTest, AppendPositionsAfterTheLastRecord) {
  write_file("a.txt", "one\r\ntwo\r\n");
  OpenSpec s = spec_on("a.txt");
  s.access = text("APPEND");
  ASSERT_EQ(open(s), 0);
  EXPECT_EQ(connected_unit(1)->record_index, 2);
  RecordBuffer r;
  r.append("three", 5);
  ASSERT_EQ(write_record(*connected_unit(1), r, false, false), kOk);
  EXPECT_EQ(close(), 0);
  EXPECT_EQ(read_file("a.txt"), "one\r\ntwo\r\nthree\r\n");
}

TEST_F(OpenTest, DirectAccessRecordsArePaddedToTheRecordLength) {
  OpenSpec s = spec_on("d.dat");
  s.access = text("DIRECT");
  s.form = text("FORMATTED");
  int recl = 4;
  s.recl = &recl;
  ASSERT_EQ(open(s), 0);
  UnitRecord& u = *connected_unit(1);
  RecordBuffer r;
  r.append("ab", 2);
  ASSERT_EQ(write_direct_record(u, 2, r), kOk);
  RecordBuffer back;
  ASSERT_EQ(read_direct_record(u, 2, back), kOk);
  EXPECT_EQ(std::string(back.data(), back.length()), "ab  ");
  EXPECT_EQ(read_direct_record(u, 3, back), kEndOfFile);
  EXPECT_EQ(close(), 0);
  EXPECT_EQ(read_file("d.dat").substr(4), "ab  ");
}

TEST_F(OpenTest, ANonPositiveRecordLengthIsRefused) {
  OpenSpec s = spec_on("d.dat");
  s.access = text("DIRECT");
  int recl = 0;
  s.recl = &recl;
  EXPECT_EQ(open(s), kRecordLengthNotPositive);
}

TEST_F(OpenTest, TheDefaultUnitCannotBeOpened) {
  OpenSpec s;
  s.iostat = &iostat;
  s.file = text("x.txt");
  EXPECT_EQ(open(s), kNegativeUnitSpecifier);
}

}  // namespace
}  // namespace rio

namespace rio {
namespace {

class OpenEffectsTest : public OpenTest {};

TEST_F(OpenEffectsTest, RecordLengthOnAFormattedSequentialUnitLimitsItsRecords) {
  OpenSpec s = spec_on("r.txt");
  int recl = 3;
  s.recl = &recl;
  ASSERT_EQ(open(s), 0);
  RecordBuffer fits, longer;
  fits.append("abc", 3);
  longer.append("abcd", 4);
  EXPECT_EQ(write_record(*connected_unit(1), fits, false, false), kOk);
  EXPECT_EQ(write_record(*connected_unit(1), longer, false, false), kRecordTooLong);
}

TEST_F(OpenEffectsTest, ABufferSizeOfZeroWritesEveryRecordAtOnce) {
  OpenSpec s = spec_on("z.txt");
  int size = 0;
  s.buffer_size = &size;
  ASSERT_EQ(open(s), 0);
  RecordBuffer r;
  r.append("now", 3);
  ASSERT_EQ(write_record(*connected_unit(1), r, false, false), kOk);
  EXPECT_EQ(read_file("z.txt"), "now\r\n");
}

TEST_F(OpenEffectsTest, OpenAndCloseCallTheIdleHook) {
  ASSERT_EQ(open(spec_on("i.txt")), 0);
  ASSERT_EQ(close(), 0);
  EXPECT_EQ(test::hook_log().idle_calls, 2);
}

TEST_F(OpenEffectsTest, AReadOnlyFileOpensForReadingWithOrWithoutActionRead) {
  write_file("ro.txt", "x\r\n");
  ::chmod(path("ro.txt").c_str(), 0444);
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  EXPECT_EQ(open(spec_on("ro.txt")), 0);
  EXPECT_FALSE(connected_unit(unit)->is(kWritable));
  close_all_units();
  OpenSpec s = spec_on("ro.txt");
  s.action = text("READ");
  EXPECT_EQ(open(s), 0);
}

TEST_F(OpenEffectsTest, OpenOfAConsoleUnitNumberWithoutAFileTakesTheConsole) {
  unit = 6;
  ASSERT_EQ(open(spec_on(nullptr)), 0);
  EXPECT_EQ(connected_unit(6), nullptr);
  EXPECT_NE(connected_unit(kConsoleOutputUnit), nullptr);
}

}  // namespace
}  // namespace rio
