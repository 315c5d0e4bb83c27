#include "rio/support/riofmt_fake_port.h"

#include "rio/status.h"

namespace rio::testing {

int RecordingPort::end_output_record() {
  records.push_back(current());
  record_.clear();
  return kOk;
}

int RecordingPort::next_input_record() {
  if (input_.empty()) return kEndOfFile;
  record_.clear();
  const std::string& line = input_.front();
  record_.append(line.data(), line.size());
  record_.read_pos = 0;
  input_.pop_front();
  ++records_read;
  return kOk;
}

void RecordingPort::script(std::vector<std::string> lines) {
  for (auto& line : lines) input_.push_back(std::move(line));
}

int RecordingPort::start_input() { return next_input_record(); }

std::vector<std::string> RecordingPort::records_with_current() const {
  std::vector<std::string> all = records;
  all.push_back(current());
  return all;
}

Element integer_element(int& value) { return Element{&value, kStateInteger, 4, 1}; }
Element real_element(float& value) { return Element{&value, kStateReal4, 4, 1}; }
Element double_element(double& value) { return Element{&value, kStateReal, 8, 1}; }
Element character_element(char* text, int length) { return Element{text, kStateCharacter, length, 1}; }
Element logical_element(int& value) { return Element{&value, kStateLogical, 4, 1}; }
Element complex_element(float (&parts)[2]) { return Element{parts, kStateComplex8, 4, 2}; }

}  // namespace rio::testing
