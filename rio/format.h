#pragma once
// Format interpretation: compiled and precompiled formats, and the walk over
// their descriptors during one formatted statement.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "rio/element.h"
#include "rio/record_buffer.h"

namespace rio {

// A precompiled format table: 20-byte records of five 32-bit words (the first
// record a header), with the format's source text beside it.
struct PrecompiledFormat {
  const std::uint32_t* words = nullptr;  // 5 words per record
  std::size_t record_count = 0;
  const char* source_text = nullptr;     // label digits and text, e.g. "9983(A)"
};

// Compiles format text into the runtime's byte form. Returns 0 or an error
// number.
int compile_format(const char* text, std::size_t length, std::vector<std::uint8_t>& compiled);

class FormatInterpreter;  // defined by the format layer

// Owns the interpretation state of the current formatted statement.
class FormatSession {
 public:
  FormatSession();
  ~FormatSession();
  FormatSession(const FormatSession&) = delete;
  FormatSession& operator=(const FormatSession&) = delete;

  // Statement start: takes a precompiled table, or compiles text when table
  // is null. Returns 0 or an error number.
  int begin(const PrecompiledFormat* table, const char* text, std::size_t length);
  // One element of a formatted WRITE or READ.
  int write_element(RecordBuffer& record, RecordPort& port, const UnitTraits& unit,
                    const Element& element);
  int read_element(RecordBuffer& record, RecordPort& port, const UnitTraits& unit,
                   const Element& element);
  // Statement end: executes the control descriptors that follow the last
  // data descriptor, up to the next data descriptor, colon or format end.
  // The caller then ends the record.
  int finish_write(RecordBuffer& record, RecordPort& port, const UnitTraits& unit);
  int finish_read(RecordBuffer& record, RecordPort& port, const UnitTraits& unit);
  // True when the $ descriptor suppressed the line end of this statement's
  // records.
  bool suppress_line_end() const;
  // Releases a format compiled for this statement.
  void release();

 private:
  FormatInterpreter* interpreter_;
};

}  // namespace rio
