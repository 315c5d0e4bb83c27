#include "rio/format_interpret.h"

#include <cstring>
#include <map>
#include <string>

#include "rio/input_conversion.h"
#include "rio/status.h"

namespace rio {
namespace {

int read2(const std::vector<std::uint8_t>& b, std::size_t i) { return (b[i] << 8) | b[i + 1]; }

bool is_data_kind(int kind) { return kind >= kKindI && kind <= kKindA; }

// The bytes an entry of each kind occupies after its kind byte.
int decode_one(const std::vector<std::uint8_t>& b, std::size_t& i, FormatEntry& e) {
  auto need = [&](std::size_t n) { return i + n <= b.size(); };
  e.kind = b[i++];
  switch (e.kind) {
    case kKindI: case kKindB: case kKindO: case kKindZ: case kKindF:
      if (!need(4)) return kInternalError;
      e.repeat = read2(b, i);
      e.w = static_cast<std::int8_t>(b[i + 2]);
      e.d = static_cast<std::int8_t>(b[i + 3]);
      i += 4;
      return kOk;
    case kKindE: case kKindD: case kKindES: case kKindEN: case kKindG:
      if (!need(5)) return kInternalError;
      e.repeat = read2(b, i);
      e.w = static_cast<std::int8_t>(b[i + 2]);
      e.d = static_cast<std::int8_t>(b[i + 3]);
      e.e = static_cast<std::int8_t>(b[i + 4]);
      i += 5;
      return kOk;
    case kKindA: case kKindL:
      if (!need(4)) return kInternalError;
      e.repeat = read2(b, i);
      e.w = read2(b, i + 2);
      i += 4;
      return kOk;
    case kFormatGroupOpen: case kKindT: case kKindTL: case kKindTR: case kKindX: case kKindSlash:
      if (!need(2)) return kInternalError;
      e.repeat = read2(b, i);
      i += 2;
      return kOk;
    case kKindP:
      if (!need(2)) return kInternalError;
      e.repeat = static_cast<std::int16_t>(read2(b, i));
      i += 2;
      return kOk;
    case kKindLiteral: {
      if (!need(2)) return kInternalError;
      std::size_t n = static_cast<std::size_t>(read2(b, i));
      i += 2;
      if (!need(n)) return kInternalError;
      e.text.assign(reinterpret_cast<const char*>(b.data() + i), n);
      i += n;
      return kOk;
    }
    case kFormatGroupClose: case kKindSP: case kKindSS: case kKindBN: case kKindBZ:
    case kKindColon: case kKindDollar: case kKindQ: case kFormatEnd:
      return kOk;
    default:
      return kInternalError;
  }
}

// Table codes to descriptor kinds.
int kind_of_code(unsigned code) {
  static const int kKinds[30] = {
      -1, kKindA, kKindB, kKindD, kKindE, kKindEN, kKindES, kKindF, kKindG, kKindI,
      kKindL, kKindO, -1, kKindZ, kKindSlash, kKindP, kKindLiteral, kKindBN, kKindBZ, kKindColon,
      kKindSS, kKindSP, kKindSS, kKindTL, kKindTR, kKindT, kKindDollar, kFormatGroupOpen, kFormatGroupClose,
      kFormatEnd};
  return code < 30 ? kKinds[code] : -1;
}

int sign_extend24(std::uint32_t v) {
  v &= 0xFFFFFF;
  return (v & 0x800000) ? static_cast<int>(v) - 0x1000000 : static_cast<int>(v);
}

}  // namespace

int decode_compiled(const std::vector<std::uint8_t>& bytes, std::vector<FormatEntry>& entries) {
  entries.clear();
  std::size_t i = 0;
  while (i < bytes.size()) {
    FormatEntry e;
    if (int rc = decode_one(bytes, i, e)) return rc;
    entries.push_back(std::move(e));
    if (entries.back().kind == kFormatEnd) return kOk;
  }
  return kInternalError;
}

int decode_table(const PrecompiledFormat& table, std::vector<FormatEntry>& entries) {
  entries.clear();
  std::map<std::size_t, int> entry_of_record;
  std::vector<std::pair<std::size_t, long>> reversions;  // (entry, target record)
  for (std::size_t r = 1; r < table.record_count; ++r) {
    const std::uint32_t* w = table.words + 5 * r;
    unsigned code = w[0] & 0x7F;
    if (code == 0) continue;
    int kind = kind_of_code(code);
    if (kind < 0) return kInternalError;
    FormatEntry e;
    e.kind = kind;
    unsigned e_digits = (w[0] >> 10) & 0x3F;
    e.e = e_digits == 0 ? 2 : static_cast<int>(e_digits);
    e.d = sign_extend24(w[1]);
    e.w = sign_extend24(w[2]);
    e.repeat = static_cast<std::int32_t>(w[4]);
    entry_of_record[r] = static_cast<int>(entries.size());
    if (kind == kKindLiteral) {
      std::size_t length = static_cast<std::size_t>(e.w);
      std::size_t text_records = (length + 19) / 20;
      if (r + 1 + text_records > table.record_count) return kInternalError;
      e.text.assign(reinterpret_cast<const char*>(w + 5), length);
      r += text_records;
    } else if (kind == kKindT || kind == kKindTL || kind == kKindTR) {
      e.repeat = e.w;
    } else if (kind == kFormatEnd) {
      reversions.emplace_back(entries.size(), static_cast<long>(r) + static_cast<std::int32_t>(w[4]));
    }
    if (kind != kKindP && kind != kFormatEnd && e.repeat == 0) e.repeat = 1;
    entries.push_back(std::move(e));
    if (kind == kFormatEnd) break;
  }
  if (reversions.empty()) return kInternalError;
  for (auto [entry, record] : reversions) {
    auto found = entry_of_record.find(static_cast<std::size_t>(record));
    if (found == entry_of_record.end()) return kInternalError;
    entries[entry].reversion = found->second;
  }
  return kOk;
}

int FormatInterpreter::open_group(const FormatEntry& e) {
  if (depth_ + 1 > kMaxGroupDepth) return kFormatGroupTableOverflow;
  ++depth_;
  // Depth 1 is the outermost slot: it keeps the last top-level group for
  // reversion after the group has closed.
  groups_[depth_] = Group{e.repeat, e.repeat, static_cast<int>(pos_ + 1)};
  if (depth_ == 1) top_level_group_ = static_cast<int>(pos_);
  ++pos_;
  return kOk;
}

void FormatInterpreter::close_group() {
  Group& g = groups_[depth_];
  if (--g.left > 0) {
    pos_ = static_cast<std::size_t>(g.start);
  } else {
    --depth_;
    ++pos_;
  }
}

int FormatInterpreter::end_of_format(RecordPort& port, bool output) {
  // A format without data descriptors would loop for ever on an item.
  if (!data_since_reversion_) return kErrorInFormatString;
  data_since_reversion_ = false;
  if (int rc = output ? port.end_output_record() : port.next_input_record()) return rc;
  const FormatEntry& end = entries_[pos_];
  depth_ = 0;
  if (end.reversion >= 0) pos_ = static_cast<std::size_t>(end.reversion);
  else pos_ = top_level_group_ >= 0 ? static_cast<std::size_t>(top_level_group_) : 0;
  return kOk;
}

int FormatInterpreter::spend(long units) {
  work_since_item_ += units;
  return work_since_item_ > kFormatWorkPerItem ? kErrorInFormatString : kOk;
}

namespace {

// The work a control descriptor does: columns moved or written, records
// ended or read.
long control_work(const FormatEntry& e) {
  switch (e.kind) {
    case kKindT: case kKindTL: case kKindTR: case kKindX: case kKindSlash:
      return e.repeat > 1 ? e.repeat : 1;
    case kKindLiteral: return static_cast<long>(e.text.size()) + 1;
    default: return 1;
  }
}

}  // namespace

int FormatInterpreter::next_descriptor(RecordPort& port, bool output, const FormatEntry*& entry) {
  if (pending_repeat_ > 0) {
    --pending_repeat_;
    entry = current_;
    work_since_item_ = 0;
    return kOk;
  }
  for (;;) {
    if (int rc = spend(1)) return rc;
    const FormatEntry& e = entries_[pos_];
    switch (e.kind) {
      case kFormatGroupOpen:
        if (int rc = open_group(e)) return rc;
        continue;
      case kFormatGroupClose:
        close_group();
        continue;
      case kFormatEnd:
        if (int rc = end_of_format(port, output)) return rc;
        continue;
      default:
        break;
    }
    entry = &e;
    ++pos_;
    if (is_data_kind(e.kind) || (e.kind == kKindQ && !output)) {
      work_since_item_ = 0;
      data_since_reversion_ = true;
    }
    if (is_data_kind(e.kind)) {
      current_ = &e;
      pending_repeat_ = e.repeat - 1;
    }
    return kOk;
  }
}

int FormatInterpreter::do_control(const FormatEntry& e, RecordBuffer& record, RecordPort& port, bool output) {
  if (int rc = spend(control_work(e))) return rc;
  switch (e.kind) {
    case kKindP: scale_ = e.repeat; return kOk;
    case kKindSP: plus_sign_ = true; return kOk;
    case kKindSS: plus_sign_ = false; return kOk;
    case kKindBN:
    case kKindBZ: blank_mode_ = e.kind; return kOk;
    case kKindDollar: suppress_line_end_ = true; return kOk;
    case kKindColon:
    case kKindQ: return kOk;
    default: break;
  }
  if (!output) return do_input_control(e, record, port);
  std::size_t cursor = record.cursor();
  std::size_t target = cursor;
  switch (e.kind) {
    case kKindT: target = e.repeat > 1 ? static_cast<std::size_t>(e.repeat - 1) : 0; break;
    case kKindTL: target = cursor > static_cast<std::size_t>(e.repeat) ? cursor - e.repeat : 0; break;
    case kKindTR:
    case kKindX: target = cursor + static_cast<std::size_t>(e.repeat); break;
    case kKindLiteral: return record.append(e.text.data(), e.text.size());
    case kKindSlash:
      for (int i = 0; i < (e.repeat > 1 ? e.repeat : 1); ++i)
        if (int rc = port.end_output_record()) return rc;
      return kOk;
    default: return kInternalError;
  }
  // Moving past the record's end fills the gap with blanks; a move inside
  // it leaves the characters there alone.
  if (target > record.length()) {
    record.set_cursor(record.length());
    return record.append(' ', target - record.length());
  }
  record.set_cursor(target);
  return kOk;
}

int FormatInterpreter::do_input_control(const FormatEntry& e, RecordBuffer& record, RecordPort& port) {
  std::size_t& pos = record.read_pos;
  switch (e.kind) {
    case kKindT: pos = e.repeat > 1 ? static_cast<std::size_t>(e.repeat - 1) : 0; return kOk;
    case kKindTL: pos = pos > static_cast<std::size_t>(e.repeat) ? pos - e.repeat : 0; return kOk;
    case kKindTR:
    case kKindX: pos += static_cast<std::size_t>(e.repeat); return kOk;
    case kKindLiteral: pos += e.text.size(); return kOk;
    case kKindSlash:
      for (int i = 0; i < (e.repeat > 1 ? e.repeat : 1); ++i)
        if (int rc = port.next_input_record()) return rc;
      return kOk;
    default: return kInternalError;
  }
}

EditRequest FormatInterpreter::request_for(const FormatEntry& entry, const Element& element) const {
  EditRequest r;
  r.kind = entry.kind;
  r.w = entry.w;
  r.d = entry.d;
  r.e = entry.e;
  r.k = scale_;
  r.plus_sign = plus_sign_;
  if (r.w > 0) return r;
  int size = element.element_size;
  switch (entry.kind) {
    case kKindI: case kKindB: case kKindO: case kKindZ: r.w = size <= 2 ? 7 : 12; break;
    case kKindL: r.w = 2; break;
    case kKindA: r.w = element.state == kStateCharacter ? size : 0; break;
    default:
      if (size == 4) { r.w = 15; r.d = 6; r.e = 2; }
      else if (size == 8) { r.w = 24; r.d = 15; r.e = 3; }
      else { r.w = 28; r.d = 17; r.e = 3; }
  }
  return r;
}

int FormatInterpreter::write_part(RecordBuffer& record, RecordPort& port, const Element& element,
                                  const void* address) {
  for (;;) {
    const FormatEntry* e = nullptr;
    if (int rc = next_descriptor(port, true, e)) return rc;
    if (!is_data_kind(e->kind)) {
      if (int rc = do_control(*e, record, port, true)) return rc;
      continue;
    }
    return edit_item(record, address, element.state, element.element_size, request_for(*e, element));
  }
}

int FormatInterpreter::write_element(RecordBuffer& record, RecordPort& port, const UnitTraits&,
                                     const Element& element) {
  const char* address = static_cast<const char*>(element.address);
  for (int part = 0; part < element.element_count; ++part)
    if (int rc = write_part(record, port, element, address + part * element.element_size)) return rc;
  return kOk;
}

int FormatInterpreter::read_element(RecordBuffer& record, RecordPort& port, const UnitTraits& unit,
                                    const Element& element) {
  char* address = static_cast<char*>(element.address);
  for (int part = 0; part < element.element_count; ++part)
    if (int rc = read_part(record, port, unit, element, address + part * element.element_size)) return rc;
  return kOk;
}

int FormatInterpreter::read_part(RecordBuffer& record, RecordPort& port, const UnitTraits& unit,
                                 const Element& element, void* address) {
  for (;;) {
    const FormatEntry* e = nullptr;
    if (int rc = next_descriptor(port, false, e)) return rc;
    if (e->kind == kKindQ) {
      long remaining = static_cast<long>(record.remaining());
      return convert_integer(std::to_string(remaining), 10, address, element.element_size);
    }
    if (!is_data_kind(e->kind)) {
      if (int rc = do_control(*e, record, port, false)) return rc;
      continue;
    }
    return read_field(*e, request_for(*e, element), record, unit, element, address);
  }
}

bool FormatInterpreter::more_controls(bool output, int& status) {
  status = kOk;
  if (pending_repeat_ > 0) return false;
  for (;;) {
    if ((status = spend(1)) != kOk) return false;
    const FormatEntry& e = entries_[pos_];
    if (e.kind == kFormatGroupOpen) {
      if ((status = open_group(e)) != kOk) return false;
      continue;
    }
    if (e.kind == kFormatGroupClose) {
      close_group();
      continue;
    }
    // On input Q takes an item like a data descriptor; on output it is a
    // control that does nothing.
    bool takes_item = is_data_kind(e.kind) || (e.kind == kKindQ && !output);
    return e.kind != kFormatEnd && e.kind != kKindColon && !takes_item;
  }
}

int FormatInterpreter::finish(RecordBuffer& record, RecordPort& port, const UnitTraits&, bool output) {
  int status;
  while (more_controls(output, status))
    if (int rc = do_control(entries_[pos_++], record, port, output)) return rc;
  return status;
}

namespace {

std::string apply_blank_mode(std::string_view field, bool blank_zero) {
  std::string s;
  std::size_t i = 0;
  if (blank_zero)
    while (i < field.size() && field[i] == ' ') ++i;
  for (; i < field.size(); ++i) {
    if (field[i] != ' ') s += field[i];
    else if (blank_zero) s += '0';
  }
  return s;
}

int effective_input_kind(int kind, int state) {
  if (kind != kKindG) return kind;
  if (state == kStateCharacter) return kKindA;
  if (state >= kStateLogical1 && state <= kStateLogical) return kKindL;
  if (state >= kStateInteger1 && state <= kStateInteger) return kKindI;
  return kKindF;
}

}  // namespace

int FormatInterpreter::read_field(const FormatEntry& entry, const EditRequest& request, RecordBuffer& record,
                                  const UnitTraits& unit, const Element& element, void* address) {
  int kind = effective_input_kind(entry.kind, element.state);
  std::size_t length = static_cast<std::size_t>(element.element_size);
  std::size_t w = request.w > 0 ? static_cast<std::size_t>(request.w) : length;
  std::size_t available = record.remaining() < w ? record.remaining() : w;
  if (available < w && !unit.pad) return kReadPastEndOfRecord;
  std::string_view field(record.data() + record.read_pos, available);
  if (kind == kKindA) {
    record.read_pos += available;
    // A field wider than the item keeps its rightmost positions.
    std::size_t skip = w > length ? w - length : 0;
    field = skip < field.size() ? field.substr(skip, length) : std::string_view();
    convert_character(field, address, element.element_size);
    return kOk;
  }
  std::size_t comma = field.find(',');
  if (comma != std::string_view::npos) {
    field = field.substr(0, comma);
    record.read_pos += comma + 1;
  } else {
    record.read_pos += available;
  }
  bool blank_zero = blank_mode_ == kKindBZ || (blank_mode_ == 0 && unit.blank_zero);
  std::string text = apply_blank_mode(field, blank_zero);
  int size = element.element_size;
  switch (kind) {
    case kKindI: return convert_integer(text, 10, address, size);
    case kKindB: return convert_integer(text, 2, address, size);
    case kKindO: return convert_integer(text, 8, address, size);
    case kKindZ: return convert_integer(text, 16, address, size);
    case kKindL: convert_logical(text, address, size); return kOk;
    default: return convert_real(text, address, size, request.d, scale_);
  }
}

}  // namespace rio
