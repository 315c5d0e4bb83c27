#pragma once
// A record port for the editing, scanning and format tests: stores each
// ended output record and serves scripted input records.
#include <deque>
#include <string>
#include <vector>

#include "rio/element.h"
#include "rio/record_buffer.h"

namespace rio::testing {

class RecordingPort : public RecordPort {
 public:
  explicit RecordingPort(RecordBuffer& record) : record_(record) {}

  int end_output_record() override;
  int next_input_record() override;

  // Queues input records, served in order.
  void script(std::vector<std::string> lines);
  // Drops the records not yet served.
  void clear_script() { input_.clear(); }
  // Loads the first scripted record, as the statement start does.
  int start_input();

  // The ended records, then the one still in the buffer.
  std::vector<std::string> records_with_current() const;
  std::string current() const { return std::string(record_.data(), record_.length()); }

  std::vector<std::string> records;
  int records_read = 0;

 private:
  RecordBuffer& record_;
  std::deque<std::string> input_;
};

// Element helpers.
Element integer_element(int& value);
Element real_element(float& value);
Element double_element(double& value);
Element character_element(char* text, int length);
Element logical_element(int& value);
Element complex_element(float (&parts)[2]);

}  // namespace rio::testing
