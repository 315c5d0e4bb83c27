#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "rio/rio.h"
#include "rio/status.h"
#include "rio/units.h"

namespace fuzz {
namespace {

std::string g_input;
std::size_t g_input_pos = 0;

}  // namespace

std::string_view FuzzedBytes::take(std::size_t n) {
  if (n > size_ - pos_) n = size_ - pos_;
  std::string_view v(reinterpret_cast<const char*>(data_) + pos_, n);
  pos_ += n;
  return v;
}

std::string_view FuzzedBytes::until(char separator) {
  std::size_t start = pos_;
  while (pos_ < size_ && data_[pos_] != static_cast<std::uint8_t>(separator)) ++pos_;
  std::string_view v(reinterpret_cast<const char*>(data_) + start, pos_ - start);
  if (pos_ < size_) ++pos_;
  return v;
}

void install_memory_console(std::string_view input) {
  g_input.assign(input);
  g_input_pos = 0;
  rio::ConsoleHooks hooks;
  hooks.read = [](char* buffer, int max) {
    std::size_t n = std::min(static_cast<std::size_t>(max), g_input.size() - g_input_pos);
    g_input.copy(buffer, n, g_input_pos);
    g_input_pos += n;
    return static_cast<int>(n);
  };
  hooks.write = [](const char*, int* count, int) { return *count > 0 ? *count : 1; };
  hooks.exit = [](int code) {
    std::fprintf(stderr, "the runtime ended the process with %d\n", code);
    std::abort();
  };
  hooks.idle = [] {};
  rio::install_console_hooks(std::move(hooks));
}

const std::string& scratch_path() {
  static const std::string path = [] {
    const char* dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/dendrocompare-fuzz-" + std::to_string(::getpid()) + ".txt";
  }();
  return path;
}

void write_scratch(std::string_view bytes) {
  std::ofstream out(scratch_path(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void check_status(int iostat) {
  if (iostat == rio::kInternalError) {
    std::fprintf(stderr, "a statement failed with the runtime's internal error\n");
    std::abort();
  }
}

int open_scratch(int unit, std::string_view action) {
  int iostat = 0;
  rio::OpenSpec open;
  open.unit = &unit;
  open.iostat = &iostat;
  open.file = {scratch_path().data(), scratch_path().size()};
  if (!action.empty()) open.action = {action.data(), action.size()};
  rio::io_open(open);
  check_status(iostat);
  return iostat;
}

void reset_runtime() { rio::close_all_units(); }

}  // namespace fuzz
