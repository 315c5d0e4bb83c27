#include "rio/errors.h"

#include <cstdint>

#include "rio/hooks.h"
#include "rio/platform.h"
#include "rio/statement.h"
#include "rio/units.h"

namespace rio {
namespace {

constexpr const char* kCatalogue[] = {
    "File not open for read",  // 10000
    "File not open for write",  // 10001
    "File not found",  // 10002
    "Record length negative or 0",  // 10003
    "Buffer allocation failed",  // 10004
    "Bad iolist specifier",  // 10005
    "Error in format string",  // 10006
    "Illegal repeat count",  // 10007
    "Hollerith count exceeds remaining format string",  // 10008
    "Format string missing opening (",  // 10009
    "Format string has unmatched parens",  // 10010
    "Format string has unmatched quotes",  // 10011
    "Non-repeatable format descriptor",  // 10012
    "Attempt to read past end of file",  // 10013
    "Bad file specification",  // 10014
    "Format group table overflow",  // 10015
    "Illegal character in numeric input",  // 10016
    "No record specified for direct access",  // 10017
    "Maximum record number exceeded",  // 10018
    "Illegal file type for namelist directed I/O",  // 10019
    "Illegal input for namelist directed I/O",  // 10020
    "Variable not present in current namelist",  // 10021
    "Variable type or size does not match edit descriptor",  // 10022
    "Illegal direct access record number",  // 10023
    "Illegal use of internal file",  // 10024
    "RECL= only valid for direct access files",  // 10025
    "BLOCK= only valid for unformatted sequential files",  // 10026
    "Unable to truncate file after rewind, backspace, or endfile",  // 10027
    "Entire structures can only be read/written with unformatted I/O",  // 10028
    "Negative unit specifiers are not permitted",  // 10029
    "Specifications in OPEN statement must match currently open file",  // 10030
    "Cannot implicitly open for direct access -- record length unknown",  // 10031
    "Status 'NEW' specified for an existing file",  // 10032
    "Command not allowed for unit type",  // 10033
    "TOLM is required for that feature",  // 10034
    "Bad specification for window",  // 10035
    "Endian specifier not BIG_ENDIAN or LITTLE_ENDIAN",  // 10036
    "Cannot ENDIAN convert entire structures",  // 10037
    "Attempt to read past end of record",  // 10038
    "Attempt to read past end of record in non-advancing I/O",  // 10039
    "Illegal specifier for ADVANCE=",  // 10040
    "Illegal specifier for DELIM=",  // 10041
    "Illegal specifier for PAD=",  // 10042
    "SIZE= specified with ADVANCE=YES",  // 10043
    "EOR= specified with ADVANCE=YES",  // 10044
    "Cannot DEALLOCATE disassociated pointer or unallocated array",  // 10045
    "Cannot DEALLOCATE a portion of an original allocation",  // 10046
    "An allocatable array has already been allocated",  // 10047
    "Internal or unknown runtime library error",  // 10048
    "Unknown data type passed to runtime library",  // 10049
    "Illegal DIM argument to array intrinsic",  // 10050
    "Size of SOURCE argument to RESHAPE smaller than SHAPE array",  // 10051
    "SHAPE array for RESHAPE contains a negative value",  // 10052
    "Unallocated or disassociated array passed to inquiry function",  // 10053
    "The ncopies argument to REPEAT is negative",  // 10054
    "The S argument to NEAREST is negative",  // 10055
    "The ORDER argument to RESHARE is contains an illegal value",  // 10056
    "Result of TRANSFER with no SIZE is smaller than source",  // 10057
    "SHAPE array for RESHAPE is zero sized array",  // 10058
    "VECTOR argument to UNPACK contains insufficient values",  // 10059
    "Attempt to write a record longer than specified record length",  // 10060
    "ADVANCE= specified for direct access or unformatted file",  // 10061
    "NAMELIST name is longer than specified record length",  // 10062
    "NAMELIST variable name exceeds maximum length",  // 10063
    "PAD= specified for unformatted file",  // 10064
    "NAMELIST input contains multiple strided arrays",  // 10065
    "Expected & or $ as first character for NAMELIST input",  // 10066
    "NAMELIST group does not match current input group",  // 10067
    "Pointer or allocatable array not associated or allocated",  // 10068
    "NAMELIST input contains negative array stride",  // 10069
    "Runtime memory allocation fails",  // 10070
};
static_assert(std::size(kCatalogue) == kLastCatalogueNumber - kFirstCatalogueNumber + 1);

constexpr const char* kStatementNames[] = {"REWIND", "BACKSPACE", "OPEN", "CLOSE",
                                           "INQUIRE", "READ", "WRITE", "ENDFILE"};

constexpr const char* kConditions[] = {
    "Unknown Error",
    "No match for select case",
    "Array boundary error",
    "Floating point divide by zero",
    "Floating point underflow",
    "Floating point operand error",
    "Floating point overflow",
    "Unable to increase stack",
};

bool is_catalogue_number(int number) {
  return number >= kFirstCatalogueNumber && number <= kLastCatalogueNumber;
}

std::string message_text(int number) {
  if (is_catalogue_number(number)) return catalogue_text(number);
  if (const char* text = system_error_text(number)) return text;
  return "Unknown system error " + std::to_string(number);
}

void store_iostat(IoStatement& st, int value) {
  if (!st.iostat_target) return;
  switch (st.iostat_width) {
    case 1: *static_cast<std::int8_t*>(st.iostat_target) = static_cast<std::int8_t>(value); break;
    case 2: *static_cast<std::int16_t*>(st.iostat_target) = static_cast<std::int16_t>(value); break;
    default: *static_cast<std::int32_t*>(st.iostat_target) = value; break;
  }
}

int iostat_value(int number) {
  if (number == kReadPastEndOfFile) return -1;
  if (number == kReadPastEndOfRecordNonAdvancing) return -2;
  return number;
}

std::string unit_text(const IoStatement& st) {
  if (st.has(kSpecInternalFile)) return "INTERNAL";
  if (st.unit_number == kDefaultUnit) return "*";
  return std::to_string(st.unit_number);
}

ReportStatement describe(const IoStatement& st) {
  ReportStatement r;
  r.present = st.active;
  r.kind = st.kind;
  r.unit_text = unit_text(st);
  r.source_file = st.source_file;
  r.source_line = st.source_line;
  return r;
}

[[noreturn]] void end_fatally(const std::vector<std::string>& pieces) {
  close_all_units();  // keep everything written so far, whatever fails now
  for (const std::string& piece : pieces)
    call_write_hook(piece.data(), static_cast<int>(piece.size()), kErrorOutputHandle);
  call_exit_hook(-1);
  platform::exit_process(-1);
}

// Releases what the statement holds and leaves it finished with status 1.
int take_error(IoStatement& st, bool abandon) {
  st.abandoned = abandon;
  st.record.clear();
  st.kind = 0;
  st.status = 1;
  return 1;
}

}  // namespace

const char* catalogue_text(int number) {
  return is_catalogue_number(number) ? kCatalogue[number - kFirstCatalogueNumber] : nullptr;
}

const char* statement_name(int kind) {
  return kind >= 0 && kind < static_cast<int>(std::size(kStatementNames)) ? kStatementNames[kind] : "";
}

const char* condition_text(int index) {
  return index >= 0 && index < static_cast<int>(std::size(kConditions)) ? kConditions[index]
                                                                          : kConditions[0];
}

std::vector<std::string> report_pieces(int number, const ReportStatement& statement) {
  std::vector<std::string> pieces;
  pieces.push_back(is_catalogue_number(number) ? "? VELMORA Runtime Error:\n" : "? System Error:\n");
  pieces.push_back("? " + message_text(number) + "\n");
  if (statement.present) {
    pieces.push_back(std::string("? ") + statement_name(statement.kind) + "(UNIT=");
    pieces.push_back(statement.unit_text + ",...\n");
  }
  if (statement.source_line != 0) {
    pieces.push_back("File ");
    pieces.push_back(statement.source_file);
    pieces.push_back("; Line ");
    pieces.push_back(std::to_string(statement.source_line) + "\n");
  }
  return pieces;
}

std::vector<std::string> condition_report_pieces(int index) {
  return {"? VELMORA Runtime Error:\n", std::string("? ") + condition_text(index) + "\n"};
}

int report_error(int number) {
  IoStatement& st = io_statement();
  st.format_session.release();
  store_iostat(st, iostat_value(number));
  if (st.has(kSpecErr)) return take_error(st, false);
  if (st.has(kSpecIostat)) return take_error(st, true);
  end_fatally(report_pieces(number, describe(st)));
}

int report_end_of_file() {
  IoStatement& st = io_statement();
  store_iostat(st, -1);
  if (!st.has(kSpecEnd)) return report_error(kReadPastEndOfFile);
  st.format_session.release();
  st.record.clear();
  st.kind = 0;
  st.status = 2;
  return 2;
}

int report_end_of_record(int count) {
  IoStatement& st = io_statement();
  if (st.size_target) *st.size_target = count;
  store_iostat(st, -2);
  if (!st.has(kSpecEor)) return report_error(kReadPastEndOfRecordNonAdvancing);
  st.format_session.release();
  st.kind = 0;
  st.status = 3;
  return 3;
}

void report_condition(int index) { end_fatally(condition_report_pieces(index)); }

void report_fatal_text(std::span<const std::string> lines) {
  std::vector<std::string> pieces;
  for (const std::string& line : lines) pieces.push_back("? " + line + "\n");
  end_fatally(pieces);
}

}  // namespace rio
