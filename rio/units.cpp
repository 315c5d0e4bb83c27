#include "rio/units.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <cstring>

#include "rio/hooks.h"
#include "rio/platform.h"
#include "rio/statement.h"
#include "rio/status.h"
#include "rio/unit_buffer.h"

namespace rio {
namespace {

constexpr int kDefaultTabSize = 8;
constexpr std::size_t kTabSizeTextLimit = 20;
// The widest tab stop distance taken from TABSIZE. A larger value would let
// one tab character expand to gigabytes of blanks; it is treated like an
// unusable value and gives the usual distance.
constexpr long long kWidestTabStop = 1024;

std::vector<std::unique_ptr<UnitRecord>>& unit_table() {
  static std::vector<std::unique_ptr<UnitRecord>> table;
  return table;
}

UnitRecord* search(int number) {
  for (auto& u : unit_table())
    if (u->number == number) return u.get();
  return nullptr;
}

UnitRecord* append_unit(std::unique_ptr<UnitRecord> unit) {
  unit_table().push_back(std::move(unit));
  return unit_table().back().get();
}

void remove_unit(UnitRecord* unit) {
  auto& table = unit_table();
  table.erase(std::remove_if(table.begin(), table.end(),
                             [unit](const auto& u) { return u.get() == unit; }),
              table.end());
}

std::unique_ptr<UnitRecord> make_console_unit(int number) {
  auto u = std::make_unique<UnitRecord>();
  u->number = number;
  u->buffer.resize(kConsoleBufferSize);
  u->tab_size = tab_size_from_environment();
  u->attributes = kFlushEachRecord | kStandardConsole | kPadYes;
  if (number == kConsoleInputUnit) {
    u->set(kReadable);
    u->handle = kConsoleInputHandle;
  } else {
    u->set(kWritable);
    u->handle = number == kConsoleOutputUnit ? kConsoleOutputHandle : kErrorOutputHandle;
  }
  return u;
}

UnitRecord* console_unit(int mapped) {
  if (UnitRecord* u = search(mapped)) return u;
  if (mapped == kErrorOutputUnit) return append_unit(make_console_unit(kErrorOutputUnit));
  // Input and output come into being together, input first.
  for (int n : {kConsoleInputUnit, kConsoleOutputUnit})
    if (!search(n)) append_unit(make_console_unit(n));
  return search(mapped);
}

int console_number(int number, int kind) {
  switch (number) {
    case 0: return kErrorOutputUnit;
    case 5: return kConsoleInputUnit;
    case 6: return kConsoleOutputUnit;
    case 9:
    case kDefaultUnit: return kind == kKindRead ? kConsoleInputUnit : kConsoleOutputUnit;
    default: return 0;
  }
}

// ---- internal files

int store_input_byte(RecordBuffer& record, char c, int tab) {
  if (c != '\t') return store_input(record, c, 1);
  return store_input(record, ' ', static_cast<std::size_t>(tab - static_cast<int>(record.cursor() % tab)));
}

int read_internal_record(UnitRecord& u, RecordBuffer& record) {
  if (u.record_index > 0) return kEndOfFile;
  ++u.record_index;
  for (std::size_t i = 0; i < u.internal_length; ++i)
    if (int rc = store_input_byte(record, u.internal_address[i], u.tab_size)) return rc;
  return kOk;
}

int write_internal_record(UnitRecord& u, const RecordBuffer& record) {
  if (u.record_index > 0) return kRecordTooLong;
  ++u.record_index;
  std::size_t n = std::min(record.length(), u.internal_length);
  if (n > 0) std::memcpy(u.internal_address, record.data(), n);
  std::memset(u.internal_address + n, ' ', u.internal_length - n);
  return kOk;
}

// ---- OPEN: decoding the specifiers

std::string keyword(const TextSpec& t) { return keyword_value(t.text, t.length); }

bool given(const TextSpec& t) { return t.text != nullptr; }

int file_name_from(const TextSpec& t, std::string& name) {
  std::string s(t.text, t.length);
  std::size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return kBadFileSpecification;
  name = s.substr(first, s.find_last_not_of(' ') - first + 1);
  return kOk;
}

enum class OpenStatus { kUnknown, kOld, kNew, kScratch };
enum class Position { kAsis, kRewind, kAppend };

struct OpenRequest {
  bool has_file = false;
  std::string file;
  OpenStatus status = OpenStatus::kUnknown;
  bool direct = false, append = false, transparent = false;
  int form = -1;  // -1 default, 0 formatted, 1 unformatted, 2 raw
  bool readable = true, writable = true, carriage = false, delete_on_close = false;
  long recl = 0;
  bool blank_zero = false;
  Position position = Position::kAsis;
  char delim = 0;
  bool pad = true;
  bool big_endian = false;
  long buffer_size = static_cast<long>(kFileBufferSize);
  const OpenSpec* spec = nullptr;
  bool unformatted() const { return form == 1 || form == 2 || (form < 0 && direct); }
};

int decode_status(const OpenSpec& s, OpenRequest& r) {
  if (!given(s.status)) return kOk;
  std::string v = keyword(s.status);
  if (v == "NEW") r.status = OpenStatus::kNew;
  else if (v == "OLD") r.status = OpenStatus::kOld;
  else if (v == "SCRATCH") r.status = OpenStatus::kScratch;
  else if (v == "UNKNOWN" || v == "REPLACE") r.status = OpenStatus::kUnknown;
  else return kBadIolistSpecifier;
  if (r.status == OpenStatus::kScratch && given(s.file)) return kBadFileSpecification;
  return kOk;
}

int decode_access_form(const OpenSpec& s, OpenRequest& r) {
  if (given(s.access)) {
    std::string v = keyword(s.access);
    if (v == "DIRECT") r.direct = true;
    else if (v == "APPEND") r.append = true;
    else if (v == "TRANSPARENT") r.transparent = true;
    else if (v != "SEQUENTIAL") return kBadIolistSpecifier;
  }
  if (given(s.form)) {
    std::string v = keyword(s.form);
    if (v == "FORMATTED") r.form = 0;
    else if (v == "UNFORMATTED") r.form = 1;
    else if (v == "BINARY") r.form = 2;
    else return kBadIolistSpecifier;
  }
  return kOk;
}

int decode_action(const OpenSpec& s, OpenRequest& r) {
  if (!given(s.action)) return kOk;
  std::string v = keyword(s.action);
  if (v == "READ") {
    r.writable = false;
  } else if (v == "WRITE") {
    r.readable = false;
  } else if (v == "PRINT" || v == "VELMORA" || v == "PRINT/DELETE") {
    r.readable = false;
    r.carriage = true;
    r.delete_on_close = v == "PRINT/DELETE";
  } else if (v == "DELETE" || v == "SUBMIT/DELETE") {
    r.delete_on_close = true;
  } else if (v != "BOTH" && v != "NONE" && v != "KEEP" && v != "SAVE" && v != "SUBMIT" &&
             v != "LIST" && v != "READWRITE") {
    return kBadIolistSpecifier;
  }
  return kOk;
}

int decode_choice(const TextSpec& t, std::initializer_list<const char*> values, int invalid,
                  int* index) {
  if (!given(t)) return kOk;
  std::string v = keyword(t);
  int i = 0;
  for (const char* candidate : values) {
    if (v == candidate) {
      *index = i;
      return kOk;
    }
    ++i;
  }
  return invalid;
}

int decode_attributes(const OpenSpec& s, OpenRequest& r) {
  int blank = 0, position = 0, delim = 2, pad = 0, carriage = 1, order = 1;
  if (int rc = decode_choice(s.blank, {"NULL", "ZERO"}, kBadIolistSpecifier, &blank)) return rc;
  if (int rc = decode_choice(s.position, {"ASIS", "REWIND", "APPEND"}, kBadIolistSpecifier, &position))
    return rc;
  if (int rc = decode_choice(s.delim, {"APOSTROPHE", "QUOTE", "NONE"}, kIllegalDelimSpecifier, &delim))
    return rc;
  if (int rc = decode_choice(s.pad, {"YES", "NO"}, kIllegalPadSpecifier, &pad)) return rc;
  if (int rc = decode_choice(s.carriage_control, {"VELMORA", "LIST"}, kBadIolistSpecifier, &carriage))
    return rc;
  if (int rc = decode_choice(s.byte_order, {"BIG_ENDIAN", "LITTLE_ENDIAN"}, kBadEndianSpecifier, &order))
    return rc;
  r.blank_zero = blank == 1;
  r.position = static_cast<Position>(position);
  r.delim = delim == 0 ? '\'' : delim == 1 ? '"' : 0;
  r.pad = pad == 0;
  if (given(s.carriage_control)) r.carriage = carriage == 0;
  r.big_endian = order == 0;
  if (given(s.pad) && r.unformatted()) return kPadForUnformatted;
  return kOk;
}

int decode_sizes(const OpenSpec& s, OpenRequest& r) {
  if (s.recl) {
    // A record length of 0 or below has no meaning and would divide by zero
    // when blocking direct-access records.
    if (*s.recl <= 0) return kRecordLengthNotPositive;
    r.recl = *s.recl;
  } else if (r.direct) {
    return kRecordLengthNotPositive;
  }
  if (s.buffer_size) {
    if (*s.buffer_size < 0) return kBadIolistSpecifier;
    r.buffer_size = *s.buffer_size;
  }
  return kOk;
}

int decode_open(const OpenSpec& s, OpenRequest& r) {
  r.spec = &s;
  if (given(s.file)) {
    r.has_file = true;
    if (int rc = file_name_from(s.file, r.file)) return rc;
  }
  if (int rc = decode_status(s, r)) return rc;
  if (int rc = decode_access_form(s, r)) return rc;
  if (int rc = decode_action(s, r)) return rc;
  if (int rc = decode_attributes(s, r)) return rc;
  return decode_sizes(s, r);
}

// ---- OPEN: a connected unit

bool request_matches(const UnitRecord& u, const OpenRequest& r) {
  const OpenSpec& s = *r.spec;
  if (given(s.action) && (u.is(kReadable) != r.readable || u.is(kWritable) != r.writable)) return false;
  if (s.recl && u.record_length != r.recl) return false;
  if (s.buffer_size && !u.console() && static_cast<long>(u.buffer.size()) != std::max(r.buffer_size, 1L))
    return false;
  if (given(s.position) && (r.position == Position::kAppend) != u.is(kPositionAppend)) return false;
  if (given(s.status)) {
    bool agree = (r.status == OpenStatus::kOld && u.is(kStatusOld)) ||
                 (r.status == OpenStatus::kNew && u.is(kStatusNew)) ||
                 (r.status == OpenStatus::kScratch && u.is(kStatusScratch)) ||
                 (r.status == OpenStatus::kUnknown && !u.is(kStatusOld | kStatusNew | kStatusScratch));
    if (!agree) return false;
  }
  if (given(s.access) && (r.direct != u.is(kDirectAccess) || r.transparent != u.is(kTransparent)))
    return false;
  if (given(s.form) && r.unformatted() != u.is(kUnformatted)) return false;
  if (given(s.byte_order) && r.big_endian != u.is(kBigEndian)) return false;
  return true;
}

void update_connection(UnitRecord& u, const OpenRequest& r) {
  const OpenSpec& s = *r.spec;
  if (given(s.carriage_control)) u.set(kCarriageControl, r.carriage);
  if (given(s.blank)) u.set(kBlankZero, r.blank_zero);
  if (given(s.delim)) u.delimiter = r.delim;
  if (given(s.pad)) u.set(kPadYes, r.pad);
}

// ---- OPEN: a new connection

unsigned attributes_of(const OpenRequest& r) {
  unsigned a = 0;
  if (r.readable) a |= kReadable;
  if (r.writable) a |= kWritable;
  if (r.carriage) a |= kCarriageControl;
  if (r.delete_on_close || r.status == OpenStatus::kScratch) a |= kDeleteOnClose;
  if (r.blank_zero) a |= kBlankZero;
  if (r.unformatted()) a |= kUnformatted;
  if (r.form == 2) a |= kRawForm;
  if (r.unformatted() && r.form != 2 && !r.direct) a |= kLengthPrefixed;
  if (r.direct) a |= kDirectAccess;
  if (r.transparent) a |= kTransparent;
  if (r.status == OpenStatus::kOld) a |= kStatusOld;
  if (r.status == OpenStatus::kNew) a |= kStatusNew;
  if (r.status == OpenStatus::kScratch) a |= kStatusScratch;
  a |= r.append || r.position == Position::kAppend ? kPositionAppend
       : r.position == Position::kRewind          ? kPositionRewind
                                                  : kPositionAsis;
  if (r.big_endian) a |= kBigEndian;
  if (r.pad) a |= kPadYes;
  if (r.buffer_size == 0) a |= kFlushEachRecord;
  return a;
}

platform::Access access_of(const UnitRecord& u) {
  if (u.is(kReadable) && u.is(kWritable)) return platform::Access::kReadWrite;
  return u.is(kWritable) ? platform::Access::kWrite : platform::Access::kRead;
}

long long count_line_feeds(UnitRecord& u) {
  long long count = 0;
  std::vector<char> block(kFileBufferSize);
  if (platform::seek_to(u.handle, 0) < 0) return 0;
  for (;;) {
    long long n = platform::read_bytes(u.handle, block.data(), block.size());
    if (n <= 0) break;
    count += std::count(block.begin(), block.begin() + n, '\n');
  }
  return count;
}

int position_at_end(UnitRecord& u) {
  if (platform::is_character_device(u.handle)) return kOk;
  if (!u.is(kUnformatted)) u.record_index = static_cast<long>(count_line_feeds(u));
  long long end = platform::seek_to_end(u.handle);
  if (end < 0) return u.last_error = static_cast<int>(-end);
  u.append_base = u.buffer_offset = end;
  return kOk;
}

// Without ACTION= a careful open takes what the file allows: reading and
// writing, else reading only when writing is refused, else writing only when
// reading is refused. A pipe is read only: a unit holding its writing end
// too would wait for ever for the end of data.
platform::OpenResult open_for_unit(UnitRecord& u, platform::Disposition disposition, bool action_given) {
  if (action_given) return platform::open_file(u.file_name, access_of(u), disposition);
  if (platform::names_pipe(u.file_name)) {
    u.set(kWritable, false);
    return platform::open_file(u.file_name, platform::Access::kRead, disposition);
  }
  platform::OpenResult both = platform::open_file(u.file_name, platform::Access::kReadWrite, disposition);
  if (both.error != platform::kSysAccessDenied) return both;
  const std::pair<platform::Access, UnitAttribute> fallbacks[] = {{platform::Access::kRead, kReadable},
                                                                  {platform::Access::kWrite, kWritable}};
  for (auto [access, kept] : fallbacks) {
    platform::OpenResult one = platform::open_file(u.file_name, access, platform::Disposition::kOpenExisting);
    if (one.error) continue;
    u.set(kReadable | kWritable, false);
    u.set(kept);
    return one;
  }
  return both;
}

// Opens the named file for the unit's action. Missing files are created
// unless the status is OLD.
int connect_file(UnitRecord& u, bool must_exist, bool action_given) {
  auto disposition = must_exist ? platform::Disposition::kOpenExisting : platform::Disposition::kOpenOrCreate;
  platform::OpenResult r = open_for_unit(u, disposition, action_given);
  if (r.error) return u.last_error = r.error;
  u.handle = r.handle;
  u.tab_size = tab_size_from_environment();
  if (platform::is_character_device(u.handle)) u.set(kFlushEachRecord);
  else if (!u.is(kDirectAccess) && !u.is(kPositionAppend)) u.set(kTruncateAtFirstWrite);
  if (u.is(kPositionAppend)) return position_at_end(u);
  return kOk;
}

void set_direct_blocking(UnitRecord& u, long recl) {
  u.record_length = recl;
  u.records_per_block = std::max(1L, static_cast<long>(kFileBufferSize) / recl);
  u.buffer.resize(static_cast<std::size_t>(recl * u.records_per_block));
}

int open_new_unit(IoStatement& st, const OpenRequest& r) {
  auto u = std::make_unique<UnitRecord>();
  u->number = st.unit_number;
  u->attributes = attributes_of(r);
  if (r.has_file) {
    u->file_name = r.file;
  } else if (r.status == OpenStatus::kScratch) {
    if (int rc = scratch_file_name(u->file_name)) return rc;
  } else {
    u->file_name = "velm." + std::to_string(st.unit_number);
  }
  if (r.status == OpenStatus::kNew && platform::file_exists(u->file_name)) return kStatusNewForExistingFile;
  if (r.recl > 0 && !r.direct && !r.unformatted()) u->record_length = r.recl;
  try {
    if (r.direct) set_direct_blocking(*u, r.recl);
    else u->buffer.resize(static_cast<std::size_t>(std::max(r.buffer_size, 1L)));
  } catch (const std::bad_alloc&) {
    return kBufferAllocationFailed;
  }
  if (int rc = connect_file(*u, r.status == OpenStatus::kOld, given(r.spec->action))) {
    if (u->handle >= 0) platform::close_handle(u->handle);
    return rc;
  }
  append_unit(std::move(u));
  return kOk;
}

int release_unit(UnitRecord* u, bool delete_file) {
  int rc = kOk;
  if (!u->pending_record.empty() || u->is(kNonAdvancingPending)) {
    RecordBuffer pending;
    pending.append(u->pending_record.data(), u->pending_record.size());
    u->pending_record.clear();
    u->set(kNonAdvancingPending, false);
    rc = write_record(*u, pending, false, false);
  }
  if (int f = flush_unit(*u); !rc) rc = f;
  if (!u->console() && !u->is(kInternalFile) && u->handle >= 0) {
    int c = platform::close_handle(u->handle);
    if (!rc) rc = c;
    if (!c && delete_file) {
      int d = platform::remove_file(u->file_name);
      if (!rc) rc = d;
    }
  }
  return rc;
}

}  // namespace

std::string keyword_value(const char* text, std::size_t length) {
  std::string s(text, length);
  while (!s.empty() && s.back() == ' ') s.pop_back();
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

int tab_size_from(const char* text) {
  if (!text) return kDefaultTabSize;
  std::size_t len = std::strlen(text);
  if (len == 0 || len >= kTabSizeTextLimit) return kDefaultTabSize;
  std::size_t i = 0;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  long long value = 0;
  for (; i < len && text[i] >= '0' && text[i] <= '9'; ++i)
    if (value <= kWidestTabStop) value = value * 10 + (text[i] - '0');
  if (negative) value = -value;
  // No meaningful tab stop below 1; keep the usual distance rather than
  // dividing by zero.
  if (value < 1 || value > kWidestTabStop) return kDefaultTabSize;
  return static_cast<int>(value);
}

int tab_size_from_environment() {
  std::optional<std::string> v = platform::environment_value("TABSIZE");
  return tab_size_from(v ? v->c_str() : nullptr);
}

int find_unit_mapped(IoStatement& st, UnitRecord** unit, bool map_console) {
  *unit = nullptr;
  if (st.has(kSpecInternalFile)) {
    if (st.kind != kKindRead && st.kind != kKindWrite) return kIllegalUseOfInternalFile;
    *unit = internal_unit(st);
    return kOk;
  }
  int n = st.unit_number;
  bool transfer = st.kind == kKindRead || st.kind == kKindWrite;
  if (n < kDefaultUnit || (n == kDefaultUnit && !transfer)) return kNegativeUnitSpecifier;
  if ((*unit = search(n))) return kOk;
  if (!map_console || st.kind == kKindClose) return kOk;
  if (int mapped = console_number(n, st.kind)) *unit = console_unit(mapped);
  return kOk;
}

int find_unit(IoStatement& st, UnitRecord** unit) { return find_unit_mapped(st, unit, true); }

int implicit_open(IoStatement& st, int number, UnitRecord** unit) {
  *unit = nullptr;
  if (st.has(kSpecRec)) return kCannotImplicitlyOpenDirect;
  auto u = std::make_unique<UnitRecord>();
  u->number = number;
  u->file_name = "velm." + std::to_string(number);
  u->attributes = kReadable | kWritable | kPadYes | kPositionAsis;
  u->buffer.resize(kFileBufferSize);
  if (int rc = connect_file(*u, false, false)) return rc;
  *unit = append_unit(std::move(u));
  return kOk;
}

UnitRecord* internal_unit(IoStatement& st) {
  static UnitRecord u;
  u = UnitRecord{};
  u.number = kDefaultUnit;
  u.attributes = kReadable | kWritable | kInternalFile | kPadYes;
  u.internal_address = st.internal_address;
  u.internal_length = st.internal_length;
  u.record_length = static_cast<long>(st.internal_length);
  u.tab_size = tab_size_from_environment();
  return &u;
}

int open_unit(IoStatement& st, const OpenSpec& spec) {
  OpenRequest r;
  if (int rc = decode_open(spec, r)) return rc;
  bool scratch = r.status == OpenStatus::kScratch;
  UnitRecord* u = nullptr;
  if (int rc = find_unit_mapped(st, &u, !r.has_file && !scratch)) return rc;
  if (u && u->console()) {
    if (given(spec.action)) u = console_unit(kConsoleOutputUnit);
    else if (given(spec.blank)) u = console_unit(kConsoleInputUnit);
  }
  if (u && ((r.has_file && r.file != u->file_name) || (scratch && !r.has_file))) {
    int rc = release_unit(u, u->is(kDeleteOnClose));
    remove_unit(u);
    if (rc) return rc;
    u = nullptr;
  }
  if (u) {
    if (!request_matches(*u, r)) return kOpenSpecificationsMismatch;
    update_connection(*u, r);
    return kOk;
  }
  return open_new_unit(st, r);
}

int close_unit(IoStatement& st, const CloseSpec& spec) {
  UnitRecord* u = nullptr;
  if (int rc = find_unit_mapped(st, &u, false)) return rc;
  if (!u || u->console()) return kOk;
  bool delete_file = u->is(kDeleteOnClose);
  if (given(spec.status)) {
    std::string v = keyword(spec.status);
    if (v == "KEEP") delete_file = false;
    else if (v == "DELETE") delete_file = true;
    else return kBadIolistSpecifier;
  }
  int rc = release_unit(u, delete_file);
  remove_unit(u);
  return rc;
}

int read_record(UnitRecord& u, RecordBuffer& record) {
  record.clear();
  record.read_pos = 0;
  if (u.is(kInternalFile)) return read_internal_record(u, record);
  if (u.is(kEndOfFileReached)) return kEndOfFile;
  int tab = u.tab_size > 0 ? u.tab_size : kDefaultTabSize;
  for (;;) {
    if (u.buffer_position >= u.buffer_fill || !u.is(kBufferFromFile)) {
      std::size_t delivered = 0;
      if (int rc = refill(u, &delivered)) return rc;
      if (delivered == 0) {
        // Bytes after the last line feed form no record.
        record.clear();
        u.set(kEndOfFileReached);
        return kEndOfFile;
      }
    }
    char c = u.buffer[u.buffer_position++];
    if (c == '\n') {
      ++u.record_index;
      return kOk;
    }
    if (c == '\r') continue;
    if (int rc = store_input_byte(record, c, tab)) return rc;
  }
}

int write_record(UnitRecord& u, const RecordBuffer& record, bool suppress_line_end, bool list_directed) {
  if (static_cast<long long>(record.length()) > u.record_length) return kRecordTooLong;
  if (u.is(kInternalFile)) return write_internal_record(u, record);
  if (int rc = enter_output_mode(u)) return rc;
  int rc = kOk;
  if (u.is(kCarriageControl)) {
    char control = record.length() > 0 ? record.at(0) : ' ';
    const char* spacing = list_directed ? "\n"
                          : control == '+' ? ""
                          : control == '0' ? "\n\n"
                          : control == '-' ? "\n\n\n"
                          : control == '1' ? "\f"
                                           : "\n";
    rc = put_bytes(u, spacing, std::strlen(spacing));
    if (!rc && record.length() > 1) rc = put_bytes(u, record.data() + 1, record.length() - 1);
    if (!rc && !suppress_line_end) rc = put_bytes(u, "\r", 1);
  } else {
    rc = put_bytes(u, record.data(), record.length());
    if (!rc && !suppress_line_end) rc = put_bytes(u, "\r\n", 2);
  }
  if (rc) return rc;
  ++u.record_index;
  return u.is(kFlushEachRecord) ? flush_unit(u) : kOk;
}

int close_all_units() {
  int first = kOk;
  for (auto& u : unit_table()) {
    int rc = release_unit(u.get(), u->is(kDeleteOnClose));
    if (!first) first = rc;
  }
  unit_table().clear();
  return first;
}

int scratch_file_name(std::string& name) { return platform::temporary_name("VLM", name); }

UnitRecord* connected_unit(int number) { return search(number); }

std::size_t unit_count() { return unit_table().size(); }

}  // namespace rio
