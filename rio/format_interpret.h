#pragma once
// The walk over a format's descriptors during one formatted statement:
// groups and their repeats, reversion at the end of the format, and the
// control descriptors between data descriptors.
#include <cstdint>
#include <string>
#include <vector>

#include "rio/edit_output.h"
#include "rio/element.h"
#include "rio/format.h"
#include "rio/record_buffer.h"

namespace rio {

// Control and structure kinds following the data kinds of edit_output.h.
enum ControlKind : int {
  kFormatEnd = 0,
  kKindT = 13,
  kKindTL = 14,
  kKindTR = 15,
  kKindX = 16,
  kKindP = 17,
  kKindSlash = 18,
  kKindLiteral = 19,
  kKindSP = 22,
  kKindSS = 23,
  kKindBN = 24,
  kKindBZ = 25,
  kKindColon = 26,
  kKindDollar = 27,
  kKindQ = 28,
  kFormatGroupOpen = 126,
  kFormatGroupClose = 127,
};

inline constexpr int kMaxGroupDepth = 20;

// The work a format may do between two items it transfers: entries walked,
// plus columns moved or written by positions and literals, plus records
// ended or read by "/". Nested repeat counts could otherwise make one item
// cost 32767 to the power of the depth; past this the statement fails with
// "Error in format string".
inline constexpr long kFormatWorkPerItem = 1L << 20;

// One decoded descriptor of either format form.
struct FormatEntry {
  int kind = kFormatEnd;
  int repeat = 1;  // repeat count; n for T, TL, TR, X and /; k for P
  int w = 0;
  int d = 0;       // d or m
  int e = 2;
  std::string text;     // literal characters
  int reversion = -1;   // end entry of a table: the entry to go back to
};

// Decoders of the two forms into entries; return 0 or an error number.
int decode_compiled(const std::vector<std::uint8_t>& bytes, std::vector<FormatEntry>& entries);
int decode_table(const PrecompiledFormat& table, std::vector<FormatEntry>& entries);

class FormatInterpreter {
 public:
  explicit FormatInterpreter(std::vector<FormatEntry> entries) : entries_(std::move(entries)) {}

  int write_element(RecordBuffer& record, RecordPort& port, const UnitTraits& unit, const Element& element);
  int read_element(RecordBuffer& record, RecordPort& port, const UnitTraits& unit, const Element& element);
  int finish(RecordBuffer& record, RecordPort& port, const UnitTraits& unit, bool output);
  bool suppress_line_end() const { return suppress_line_end_; }

 private:
  struct Group {
    int repeat = 0;
    int left = 0;
    int start = 0;
  };
  // The next descriptor kind an item needs: a data descriptor or a control
  // kind; group entries and the end of format are consumed here.
  int next_descriptor(RecordPort& port, bool output, const FormatEntry*& entry);
  int open_group(const FormatEntry& entry);
  void close_group();
  int end_of_format(RecordPort& port, bool output);
  // At the end of a statement: true while a control descriptor comes before
  // the next data descriptor, colon or end of format; group ends with
  // repeats left are followed back on the way.
  bool more_controls(bool output, int& status);
  int do_control(const FormatEntry& entry, RecordBuffer& record, RecordPort& port, bool output);
  // Counts work done since the last item; fails past kFormatWorkPerItem.
  int spend(long units);
  int do_input_control(const FormatEntry& entry, RecordBuffer& record, RecordPort& port);
  EditRequest request_for(const FormatEntry& entry, const Element& element) const;
  int write_part(RecordBuffer& record, RecordPort& port, const Element& element, const void* address);
  int read_part(RecordBuffer& record, RecordPort& port, const UnitTraits& unit, const Element& element,
                void* address);
  int read_field(const FormatEntry& entry, const EditRequest& request, RecordBuffer& record,
                 const UnitTraits& unit, const Element& element, void* address);

  std::vector<FormatEntry> entries_;
  std::size_t pos_ = 0;
  int depth_ = 0;
  Group groups_[kMaxGroupDepth + 1];
  int top_level_group_ = -1;
  int pending_repeat_ = 0;
  const FormatEntry* current_ = nullptr;
  bool data_since_reversion_ = false;
  long work_since_item_ = 0;
  int scale_ = 0;
  bool plus_sign_ = false;
  int blank_mode_ = 0;  // 0 from the unit, kKindBN or kKindBZ
  bool suppress_line_end_ = false;
};

}  // namespace rio
