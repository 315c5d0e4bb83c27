#include "rio/statement.h"

#include <exception>
#include <new>
#include <string>

#include "rio/errors.h"
#include "rio/hooks.h"
#include "rio/platform.h"
#include "rio/rio.h"
#include "rio/status.h"
#include "rio/units.h"

namespace rio {

IoStatement& io_statement() {
  static IoStatement statement;
  return statement;
}

void IoStatement::start(int statement_kind, int* iostat, bool err_present) {
  kind = statement_kind;
  active = true;
  specifiers = 0;
  unit_number = kDefaultUnit;
  internal_address = nullptr;
  internal_length = 0;
  iostat_target = iostat;
  iostat_width = 4;
  format = nullptr;
  format_text = nullptr;
  format_length = 0;
  record_number = 0;
  non_advancing = false;
  size_target = nullptr;
  transferred = 0;
  element = Element{};
  record.clear();
  record.read_pos = 0;
  current_unit = nullptr;
  unit_traits = UnitTraits{};
  abandoned = false;
  status = 0;
  if (iostat) {
    specifiers |= kSpecIostat;
    *iostat = 0;
  }
  if (err_present) specifiers |= kSpecErr;
}

void IoStatement::finish() {
  record.clear();
  record.read_pos = 0;
  kind = 0;
  active = false;
  current_unit = nullptr;
}

void IoStatement::take_unit(UnitRecord* unit) {
  current_unit = unit;
  unit_traits = UnitTraits{};
  unit_traits.record_length = unit->record_length;
  unit_traits.delimiter = unit->delimiter;
  unit_traits.pad = unit->is(kPadYes);
  unit_traits.blank_zero = unit->is(kBlankZero);
}

int IoStatement::end_output_record() {
  int rc;
  if (current_unit->is(kDirectAccess)) {
    rc = write_direct_record(*current_unit, record_number++, record);
  } else {
    bool suppress = formatted() && format_session.suppress_line_end();
    rc = write_record(*current_unit, record, suppress, list_directed());
  }
  record.clear();
  return rc;
}

int IoStatement::next_input_record() {
  if (current_unit->is(kDirectAccess)) return read_direct_record(*current_unit, ++record_number, record);
  return read_record(*current_unit, record);
}

namespace {

// Turns a routine's result into the statement status: the internal end of
// file and end of record take their own reports; any other number is an
// error.
int fail(int rc) {
  if (rc == kEndOfFile) return report_end_of_file();
  if (rc == kEndOfRecord) return report_end_of_record(static_cast<int>(io_statement().transferred));
  return report_error(rc);
}

void copy_control(IoStatement& st, const ControlInfo& c) {
  if (c.branches & kErrPresent) st.specifiers |= kSpecErr;
  if (c.branches & kEndPresent) st.specifiers |= kSpecEnd;
  if (c.branches & kEorPresent) st.specifiers |= kSpecEor;
  if (c.options & kUnitIsInternalFile) {
    st.specifiers |= kSpecInternalFile;
    st.internal_address = c.internal_file;
    st.internal_length = c.internal_length;
  } else if (c.unit) {
    st.specifiers |= kSpecUnitGiven;
    st.unit_number = *c.unit;
  } else {
    st.specifiers |= kSpecDefaultUnit;
  }
  if (c.record_number) {
    st.specifiers |= kSpecRec;
    st.record_number = *c.record_number;
  }
  if (c.format) st.specifiers |= kSpecFormat | kSpecPrecompiled;
  else if (c.format_text) st.specifiers |= kSpecFormat;
  else st.specifiers |= kSpecListDirected;
  st.format = c.format;
  st.format_text = c.format_text;
  st.format_length = c.format_length;
  if (c.advance) st.specifiers |= kSpecAdvance;
  if (c.size) {
    st.specifiers |= kSpecSize;
    st.size_target = c.size;
  }
}

int check_unit(IoStatement& st, bool reading) {
  UnitRecord& u = *st.current_unit;
  if (reading && !u.is(kReadable)) return kFileNotOpenForRead;
  if (!reading && !u.is(kWritable)) return kFileNotOpenForWrite;
  if (u.is(kInternalFile) && st.has(kSpecRec)) return kIllegalUseOfInternalFile;
  if (u.is(kDirectAccess)) {
    if (!st.has(kSpecRec)) return kNoRecordForDirectAccess;
    if (st.record_number > u.maximum_record) return kMaximumRecordNumberExceeded;
    if (st.record_number <= 0) return kIllegalDirectAccessRecordNumber;
  }
  return kOk;
}

int check_advance(IoStatement& st, const ControlInfo& c, bool reading) {
  if (!c.advance) return kOk;
  std::string v = keyword_value(c.advance, c.advance_length);
  if (v != "YES" && v != "NO") return kIllegalAdvanceSpecifier;
  st.non_advancing = v == "NO";
  const UnitRecord& u = *st.current_unit;
  if (reading && !st.non_advancing && st.has(kSpecEor)) return kEorWithAdvanceYes;
  if (reading && !st.non_advancing && st.has(kSpecSize)) return kSizeWithAdvanceYes;
  if (!reading && (u.is(kDirectAccess) || u.is(kUnformatted))) return kAdvanceForDirectOrUnformatted;
  return kOk;
}

// Takes back a record left unfinished by a non-advancing statement.
bool resume_pending(IoStatement& st) {
  UnitRecord& u = *st.current_unit;
  if (!u.is(kNonAdvancingPending)) return false;
  st.record.append(u.pending_record.data(), u.pending_record.size());
  st.record.read_pos = u.pending_read_pos;
  u.pending_record.clear();
  u.pending_read_pos = 0;
  u.set(kNonAdvancingPending, false);
  return true;
}

void keep_pending(IoStatement& st) {
  UnitRecord& u = *st.current_unit;
  u.pending_record.assign(st.record.data(), st.record.length());
  u.pending_read_pos = st.record.read_pos;
  u.set(kNonAdvancingPending);
}

int start_records(IoStatement& st, bool reading) {
  UnitRecord& u = *st.current_unit;
  u.set(kLastWasRead, reading);
  u.set(kLastWasWrite, !reading);
  bool resumed = resume_pending(st);
  if (reading) {
    st.list_input.reset();
    if (resumed) return kOk;
    if (u.is(kDirectAccess)) return read_direct_record(u, st.record_number, st.record);
    return read_record(u, st.record);
  }
  if (!resumed && st.list_directed()) {
    st.list_output.reset();
    return st.record.append(' ');
  }
  return kOk;
}

int begin(IoStatement& st, int kind, const ControlInfo& c) {
  st.start(kind, c.iostat, false);
  copy_control(st, c);
  bool reading = kind == kKindRead;
  if (st.formatted())
    if (int rc = st.format_session.begin(st.format, st.format_text, st.format_length)) return rc;
  UnitRecord* u = nullptr;
  if (int rc = find_unit(st, &u)) return rc;
  if (!u)
    if (int rc = implicit_open(st, st.unit_number, &u)) return rc;
  st.take_unit(u);
  if (reading && u->number != kConsoleInputUnit) call_idle_hook();
  if (int rc = check_unit(st, reading)) return rc;
  if (int rc = check_advance(st, c, reading)) return rc;
  return start_records(st, reading);
}

int transfer_element_unguarded(IoStatement& st, const Element& e) {
  st.element = e;
  const UnitTraits& traits = st.unit_traits;
  std::size_t before = st.record.read_pos;
  int rc;
  if (st.kind == kKindWrite) {
    rc = st.list_directed() ? list_write_element(st.list_output, st.record, st, traits, e)
                            : st.format_session.write_element(st.record, st, traits, e);
  } else {
    rc = st.list_directed() ? list_read_element(st.list_input, st.record, st, traits, e)
                            : st.format_session.read_element(st.record, st, traits, e);
    if (st.record.read_pos > before) st.transferred += static_cast<long>(st.record.read_pos - before);
  }
  return rc;
}

// Item state, element size and count from a type code.
int element_of(std::uint32_t code, int length, void* address, Element& e) {
  int type = static_cast<int>(code & 0xFF);
  int size = static_cast<int>((code >> 15) & 0x1FF);
  e = Element{address, 0, size, 1};
  switch (type) {
    case kTypeCharacter: e.state = kStateCharacter; e.element_size = length; break;
    case kTypeLogical: e.state = size == 1 ? kStateLogical1 : size == 2 ? kStateLogical2 : kStateLogical; break;
    case kTypeInteger: e.state = size == 1 ? kStateInteger1 : size == 2 ? kStateInteger2 : kStateInteger; break;
    case kTypeReal: e.state = size == 4 ? kStateReal4 : kStateReal; break;
    case kTypeComplex:
      e.state = size == 8 ? kStateComplex8 : kStateComplex;
      e.element_size = size == 8 ? 4 : 8;
      e.element_count = 2;
      break;
    default: return kInternalError;
  }
  return kOk;
}

// The layers below report failures as numbers; an exception escaping them
// is a fault of the runtime's own, and still ends only the statement, as an
// error IOSTAT= or ERR= can take, never the process.
template <typename Step>
int guarded(Step step) {
  try {
    return step();
  } catch (const std::bad_alloc&) {
    return kBufferAllocationFailed;
  } catch (const std::exception&) {
    return kInternalError;
  }
}

int transfer_element(IoStatement& st, const Element& e) {
  return guarded([&] { return transfer_element_unguarded(st, e); });
}

// Visits the elements of an array in storage order, the first dimension
// varying fastest, following the strides when the elements are apart.
int transfer_array(IoStatement& st, const ItemDescriptor& item) {
  const auto* a = static_cast<const ArrayDescriptor*>(item.address);
  if (!a || a->rank < 1 || a->rank > kMaxRank) return kInternalError;
  if (!a->allocated) return kArrayNotAllocated;
  if (a->base == kZeroSizeBase) return kOk;
  Element first;
  if (int rc = element_of(item.type, item.length, a->base, first)) return rc;
  long element_bytes = static_cast<long>(first.element_size) * first.element_count;
  std::array<long, kMaxRank> index{};
  std::array<long, kMaxRank> step{};
  long contiguous = 1;
  for (int d = 0; d < a->rank; ++d) {
    if (a->dims[d].extent <= 0) return kOk;
    step[d] = a->dims[d].stride != 0 ? a->dims[d].stride : contiguous;
    contiguous *= a->dims[d].extent;
  }
  for (;;) {
    long offset = 0;
    for (int d = 0; d < a->rank; ++d) offset += index[d] * step[d];
    Element e = first;
    e.address = static_cast<char*>(a->base) + offset * element_bytes;
    if (int rc = transfer_element(st, e)) return rc;
    int d = 0;
    while (d < a->rank && ++index[d] == a->dims[d].extent) index[d++] = 0;
    if (d == a->rank) return kOk;
  }
}

int transfer_items(IoStatement& st, std::span<const ItemDescriptor> items) {
  for (const ItemDescriptor& item : items) {
    int rc;
    if (item.form == kItemScalar) {
      Element e;
      rc = element_of(item.type, item.length, item.address, e);
      if (!rc) rc = transfer_element(st, e);
    } else if (item.form == kItemArray) {
      rc = transfer_array(st, item);
    } else {
      rc = kInternalError;
    }
    if (rc) return fail(rc);
  }
  return 0;
}

int end_records(IoStatement& st) {
  bool reading = st.kind == kKindRead;
  if (st.formatted()) {
    int rc = reading ? st.format_session.finish_read(st.record, st, st.unit_traits)
                     : st.format_session.finish_write(st.record, st, st.unit_traits);
    if (rc) return rc;
  }
  if (reading) {
    if (st.non_advancing) {
      keep_pending(st);
      if (st.size_target) *st.size_target = static_cast<int>(st.transferred);
    }
    return kOk;
  }
  if (st.non_advancing) {
    keep_pending(st);
    return kOk;
  }
  if (st.current_unit->is(kDirectAccess)) return write_direct_record(*st.current_unit, st.record_number, st.record);
  bool suppress = st.formatted() && st.format_session.suppress_line_end();
  return write_record(*st.current_unit, st.record, suppress, st.list_directed());
}

int end(IoStatement& st) {
  int result = st.status;
  if (result == 0 && !st.abandoned) {
    int rc = guarded([&] { return end_records(st); });
    if (rc) result = fail(rc);
  }
  st.format_session.release();
  st.finish();
  st.status = 0;
  return result;
}

int transfer_statement(int kind, int phase, const ControlInfo* control,
                       std::span<const ItemDescriptor> items) {
  IoStatement& st = io_statement();
  if (phase & kPhaseBegin) {
    if (kind == kKindWrite) call_idle_hook();
    static const ControlInfo kNoControl;
    if (int rc = guarded([&] { return begin(st, kind, control ? *control : kNoControl); }))
      st.status = fail(rc);
  } else if (!st.active) {
    // Items or an end without a begin: nothing to transfer them for.
    st.start(kind, nullptr, false);
    st.status = report_error(kInternalError);
  }
  if (st.status == 0 && !st.abandoned) st.status = transfer_items(st, items);
  if (phase & kPhaseEnd) return end(st);
  return st.status;
}

}  // namespace

int io_write(int phase, const ControlInfo* control, std::span<const ItemDescriptor> items) {
  return transfer_statement(kKindWrite, phase, control, items);
}

int io_read(int phase, const ControlInfo* control, std::span<const ItemDescriptor> items) {
  return transfer_statement(kKindRead, phase, control, items);
}

namespace {

template <typename Spec>
int unit_statement(int kind, const Spec& spec, int (*operation)(IoStatement&, const Spec&)) {
  call_idle_hook();
  IoStatement& st = io_statement();
  st.start(kind, spec.iostat, spec.err);
  if (spec.unit) {
    st.specifiers |= kSpecUnitGiven;
    st.unit_number = *spec.unit;
  } else {
    st.specifiers |= kSpecDefaultUnit;
  }
  int rc = operation(st, spec);
  int result = rc ? report_error(rc) : 0;
  st.finish();
  st.status = 0;
  return result;
}

}  // namespace

int io_open(const OpenSpec& spec) { return unit_statement(kKindOpen, spec, open_unit); }

int io_close(const CloseSpec& spec) { return unit_statement(kKindClose, spec, close_unit); }

void io_finish() {
  close_all_units();
  call_exit_hook(0);
  platform::exit_process(0);
}

}  // namespace rio
