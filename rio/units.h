#pragma once
// Units: the connections between unit numbers and byte streams (the console
// through its hooks, or disk files), their buffers, and the cutting of bytes
// into records.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "rio/record_buffer.h"
#include "rio/rio.h"

namespace rio {

class IoStatement;

enum UnitAttribute : unsigned {
  kReadable = 1u << 0,
  kWritable = 1u << 1,
  kCarriageControl = 1u << 2,
  kDeleteOnClose = 1u << 3,
  kBlankZero = 1u << 4,
  kUnformatted = 1u << 5,
  kDirectAccess = 1u << 6,
  kInternalFile = 1u << 7,
  kFlushEachRecord = 1u << 8,
  kLengthPrefixed = 1u << 9,
  kBufferDirty = 1u << 10,
  kBufferFromFile = 1u << 11,
  kEndOfFileReached = 1u << 12,
  kStandardConsole = 1u << 13,
  kTruncateAtFirstWrite = 1u << 14,
  kStatusOld = 1u << 15,
  kStatusNew = 1u << 16,
  kStatusScratch = 1u << 17,
  kPositionAppend = 1u << 18,
  kPositionAsis = 1u << 19,
  kPositionRewind = 1u << 20,
  kBigEndian = 1u << 21,
  kNonAdvancingPending = 1u << 22,
  kPadYes = 1u << 23,
  kLastWasWrite = 1u << 24,
  kLastWasRead = 1u << 25,
  kRawForm = 1u << 26,
  kTransparent = 1u << 27,
};

inline constexpr int kConsoleInputUnit = -2;
inline constexpr int kConsoleOutputUnit = -3;
inline constexpr int kErrorOutputUnit = -4;
inline constexpr long kUnlimitedRecord = 2147483647;
inline constexpr std::size_t kConsoleBufferSize = 256;
inline constexpr std::size_t kFileBufferSize = 8192;

struct UnitRecord {
  int number = 0;
  unsigned attributes = 0;
  int handle = -1;
  std::string file_name;
  std::vector<char> buffer;
  std::size_t buffer_position = 0;
  std::size_t buffer_fill = 0;
  long long buffer_offset = 0;  // file offset of buffer[0]
  int last_error = 0;
  int tab_size = 8;
  long long block_index = 0;
  long record_length = kUnlimitedRecord;
  long records_per_block = 0;
  long long append_base = 0;
  long record_index = 0;
  long maximum_record = kUnlimitedRecord;
  char delimiter = 0;
  std::string pending_record;       // partial record of a non-advancing statement
  std::size_t pending_read_pos = 0;
  char* internal_address = nullptr;  // internal file: the character variable
  std::size_t internal_length = 0;

  bool is(unsigned a) const { return (attributes & a) != 0; }
  void set(unsigned a, bool on = true) { attributes = on ? attributes | a : attributes & ~a; }
  bool console() const { return is(kStandardConsole); }
};

// A keyword specifier's value as compared: upper-cased, trailing blanks
// removed.
std::string keyword_value(const char* text, std::size_t length);

// Tab stop distance from the TABSIZE text: an optional sign and decimal
// digits up to the first other character. Unset, empty, 20 characters or
// more, a value below 1 or above 1024 give 8.
int tab_size_from(const char* text);
int tab_size_from_environment();

// Looks up the statement's unit number as READ, WRITE, OPEN or CLOSE does.
// Sets *unit (null: not connected). Returns 0 or an error number.
int find_unit(IoStatement& statement, UnitRecord** unit);
// Opens unit n implicitly for a READ or WRITE ("velm.n").
int implicit_open(IoStatement& statement, int number, UnitRecord** unit);
// Sets the statement's internal unit over its character variable.
UnitRecord* internal_unit(IoStatement& statement);

int open_unit(IoStatement& statement, const OpenSpec& spec);
int close_unit(IoStatement& statement, const CloseSpec& spec);

// Reads the next record into record (read position 0). Returns 0,
// kEndOfFile or an error number.
int read_record(UnitRecord& unit, RecordBuffer& record);
// Writes record as one record of unit, with its terminator unless
// suppress_line_end. Returns 0 or an error number.
int write_record(UnitRecord& unit, const RecordBuffer& record, bool suppress_line_end,
                 bool list_directed);
int flush_unit(UnitRecord& unit);
// Shutdown: writes pending records and buffers, closes and frees every unit.
// Returns the first error met (the shutdown goes on regardless).
int close_all_units();

// A scratch file name: "VLM..." in the temporary-files directory.
int scratch_file_name(std::string& name);

// Test and inspection access to the unit table.
UnitRecord* connected_unit(int number);
std::size_t unit_count();

}  // namespace rio

namespace rio {
// Direct access: record rec (from 1) of a unit with fixed-length records.
// Reading past the end of the file is end of file; a written record is
// padded to the record length (blanks when formatted, zero bytes otherwise).
int read_direct_record(UnitRecord& unit, long rec, RecordBuffer& record);
int write_direct_record(UnitRecord& unit, long rec, const RecordBuffer& record);
}  // namespace rio

namespace rio {
// Length-prefixed unformatted records: a 4-byte byte count, the data, and
// the count again; the count is byte-swapped on big-endian units.
int write_unformatted_record(UnitRecord& unit, const RecordBuffer& record);
// Returns 0, kEndOfFile (also for a record cut short by the end of the
// file) or an error number.
int read_unformatted_record(UnitRecord& unit, RecordBuffer& record);
}  // namespace rio
