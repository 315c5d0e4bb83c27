#include "rio/support/list_real_oracle.h"

#include "rio/edit_output.h"
#include "rio/element.h"
#include "rio/list_real_output.h"
#include "rio/record_buffer.h"

namespace rio {
namespace {

// One buffer for every call: the comparisons run by the hundred million.
RecordBuffer& scratch() {
  static RecordBuffer record;
  record.clear();
  return record;
}

std::string text_of(const RecordBuffer& record, int rc) {
  if (rc) return "error " + std::to_string(rc);
  return std::string(record.data(), record.length());
}

}  // namespace

std::string fast_list_real4(float value) {
  RecordBuffer& record = scratch();
  int rc = edit_list_real4(record, value);
  return text_of(record, rc);
}

std::string general_list_real4(float value) {
  RecordBuffer& record = scratch();
  int rc = edit_item(record, &value, kStateReal4, 4, list_directed_request(kStateReal4, 4));
  return text_of(record, rc);
}

}  // namespace rio
