#pragma once
// What the fuzz targets share: a reader over the fuzzer's bytes, console
// hooks that keep everything in memory, a scratch file for unit I/O, and
// the check that turns an escaped fault of the runtime into a finding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

// Takes bytes from the front of the input; past its end every read gives 0.
class FuzzedBytes {
 public:
  FuzzedBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  // The next n bytes (fewer at the end).
  std::string_view take(std::size_t n);
  // The bytes up to the next separator (not included; the separator is
  // consumed), or all that is left.
  std::string_view until(char separator);
  std::string_view rest() { return take(size_ - pos_); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// Console input served from text (end of file after it), console output
// counted and dropped; the exit hook aborts, since every statement of a
// target carries IOSTAT= and no run may end the process.
void install_memory_console(std::string_view input);

// A file of the process's own in a memory file system when there is one.
const std::string& scratch_path();
void write_scratch(std::string_view bytes);

// Opens the scratch file on the unit (with ACTION= when action is not
// empty); returns the statement's IOSTAT= value.
int open_scratch(int unit, std::string_view action = {});

// Aborts when a statement failed with the runtime's internal error, the
// number an exception escaping its layers is turned into.
void check_status(int iostat);

// Closes every unit and frees the runtime's statement state, so that one
// input cannot leave state for the next.
void reset_runtime();

}  // namespace fuzz
