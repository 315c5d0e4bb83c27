#pragma once
// The single statement context shared by every I/O statement of the process,
// and the record handling the format and list-directed layers reach through
// RecordPort.
#include <cstddef>
#include <string>

#include "rio/element.h"
#include "rio/format.h"
#include "rio/list_input.h"
#include "rio/list_output.h"
#include "rio/record_buffer.h"

namespace rio {

struct UnitRecord;

// Statement kinds; also the index of the statement's name in a report.
enum StatementKind : int {
  kKindRewind = 0,
  kKindBackspace = 1,
  kKindOpen = 2,
  kKindClose = 3,
  kKindInquire = 4,
  kKindRead = 5,
  kKindWrite = 6,
  kKindEndfile = 7,
};

// Presence bits of the statement's specifiers.
enum SpecifierBit : unsigned {
  kSpecUnitGiven = 1u << 0,
  kSpecDefaultUnit = 1u << 1,
  kSpecInternalFile = 1u << 2,
  kSpecIostat = 1u << 3,
  kSpecErr = 1u << 4,
  kSpecEnd = 1u << 5,
  kSpecEor = 1u << 6,
  kSpecFormat = 1u << 7,
  kSpecPrecompiled = 1u << 8,
  kSpecListDirected = 1u << 9,
  kSpecNamelist = 1u << 10,
  kSpecRec = 1u << 11,
  kSpecAdvance = 1u << 12,
  kSpecSize = 1u << 13,
};

inline constexpr int kDefaultUnit = -1;

class IoStatement final : public RecordPort {
 public:
  int kind = 0;
  bool active = false;  // a statement is between its begin and its end
  unsigned specifiers = 0;
  // Unit designator: a number (kDefaultUnit for "*") or an internal file.
  int unit_number = kDefaultUnit;
  char* internal_address = nullptr;
  std::size_t internal_length = 0;
  void* iostat_target = nullptr;
  int iostat_width = 4;
  const PrecompiledFormat* format = nullptr;
  const char* format_text = nullptr;
  std::size_t format_length = 0;
  long record_number = 0;
  bool non_advancing = false;
  int* size_target = nullptr;
  long transferred = 0;  // characters moved by a non-advancing READ
  Element element;
  RecordBuffer record;
  UnitRecord* current_unit = nullptr;
  UnitTraits unit_traits;
  bool abandoned = false;
  ListInputState list_input;
  ListOutputState list_output;
  FormatSession format_session;
  std::string source_file;
  int source_line = 0;
  int status = 0;

  bool has(unsigned bit) const { return (specifiers & bit) != 0; }
  bool list_directed() const { return has(kSpecListDirected); }
  bool formatted() const { return has(kSpecFormat) && !list_directed(); }
  // Starts a statement of the given kind: clears the previous statement's
  // state and zeroes IOSTAT=.
  void start(int statement_kind, int* iostat, bool err_present);
  // Ends the statement: kind back to 0, record cleared.
  void finish();
  // Makes unit the statement's unit and takes the properties the editing
  // and scanning layers consult, which stay fixed for the statement.
  void take_unit(UnitRecord* unit);

  int end_output_record() override;
  int next_input_record() override;
};

IoStatement& io_statement();

}  // namespace rio
