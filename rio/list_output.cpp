#include "rio/list_output.h"

#include <cstring>
#include <string>

#include "rio/edit_output.h"
#include "rio/list_real_output.h"
#include "rio/status.h"

namespace rio {
namespace {

// Writes one character of a character item, ending the record first when it
// has reached the record length; a continuation record starts with a blank
// unless delimiters are in use.
int put_character(RecordBuffer& record, RecordPort& port, const UnitTraits& unit, char c) {
  if (static_cast<long>(record.length()) >= unit.record_length) {
    if (int rc = port.end_output_record()) return rc;
    if (unit.delimiter == 0)
      if (int rc = record.append(' ')) return rc;
    if (static_cast<long>(record.length()) >= unit.record_length) return kRecordTooLong;
  }
  return record.append(c);
}

int write_character_item(ListOutputState& state, RecordBuffer& record, RecordPort& port,
                         const UnitTraits& unit, const Element& element) {
  const char* text = static_cast<const char*>(element.address);
  char delimiter = unit.delimiter;
  if (!state.previous_was_character || delimiter != 0)
    if (int rc = put_character(record, port, unit, ' ')) return rc;
  if (delimiter != 0)
    if (int rc = put_character(record, port, unit, delimiter)) return rc;
  for (int i = 0; i < element.element_size; ++i) {
    if (text[i] == delimiter && delimiter != 0)
      if (int rc = put_character(record, port, unit, delimiter)) return rc;
    if (int rc = put_character(record, port, unit, text[i])) return rc;
  }
  if (delimiter != 0)
    if (int rc = put_character(record, port, unit, delimiter)) return rc;
  state.previous_was_character = true;
  return kOk;
}

int edit_value(RecordBuffer& record, const Element& element) {
  if (element.state == kStateReal4 && element.element_count == 1) {
    float value;
    std::memcpy(&value, element.address, sizeof value);
    return edit_list_real4(record, value);
  }
  EditRequest request = list_directed_request(element.state, element.element_size);
  if (element.element_count != 2)
    return edit_item(record, element.address, element.state, element.element_size, request);
  const char* part = static_cast<const char*>(element.address);
  request.complex_part = ComplexPart::kReal;
  if (int rc = edit_item(record, part, element.state, element.element_size, request)) return rc;
  request.complex_part = ComplexPart::kImaginary;
  if (int rc = edit_item(record, part + element.element_size, element.state, element.element_size, request))
    return rc;
  return record.append(')');
}

// A numeric or logical item that would pass the record length moves whole
// to a new record.
int write_value_item(ListOutputState& state, RecordBuffer& record, RecordPort& port,
                     const UnitTraits& unit, const Element& element) {
  std::size_t start = record.length();
  if (int rc = edit_value(record, element)) return rc;
  state.previous_was_character = false;
  if (static_cast<long>(record.length()) <= unit.record_length) return kOk;
  std::string item(record.data() + start, record.length() - start);
  record.truncate(start);
  if (static_cast<long>(item.size()) + 1 > unit.record_length) return kRecordTooLong;
  if (int rc = port.end_output_record()) return rc;
  if (int rc = record.append(' ')) return rc;
  return record.append(item.data(), item.size());
}

}  // namespace

int list_write_element(ListOutputState& state, RecordBuffer& record, RecordPort& port,
                       const UnitTraits& unit, const Element& element) {
  if (element.state == kStateCharacter) return write_character_item(state, record, port, unit, element);
  return write_value_item(state, record, port, unit, element);
}

}  // namespace rio
