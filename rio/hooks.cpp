#include "rio/hooks.h"

#include <utility>

#include "rio/platform.h"

namespace rio {
namespace {

constexpr int kStandardInput = 0;
constexpr int kStandardOutput = 1;
constexpr int kStandardError = 2;

int default_read(char* buffer, int max) {
  long long n = platform::read_bytes(kStandardInput, buffer, static_cast<std::size_t>(max));
  return n > 0 ? static_cast<int>(n) : 0;
}

int default_write(const char* bytes, int* count, int handle) {
  int fd = handle == kErrorOutputHandle ? kStandardError : kStandardOutput;
  long long n = platform::write_bytes(fd, bytes, static_cast<std::size_t>(*count));
  return n > 0 ? static_cast<int>(n) : (*count == 0 ? 1 : 0);
}

ConsoleHooks with_defaults(ConsoleHooks hooks) {
  if (!hooks.read) hooks.read = default_read;
  if (!hooks.write) hooks.write = default_write;
  if (!hooks.exit) hooks.exit = [](int) {};
  if (!hooks.idle) hooks.idle = [] {};
  return hooks;
}

ConsoleHooks& installed() {
  static ConsoleHooks hooks = with_defaults({});
  return hooks;
}

}  // namespace

void install_console_hooks(ConsoleHooks hooks) { installed() = with_defaults(std::move(hooks)); }

int call_read_hook(char* buffer, int max) { return installed().read(buffer, max); }

int call_write_hook(const char* bytes, int count, int handle) {
  return installed().write(bytes, &count, handle);
}

void call_exit_hook(int code) { installed().exit(code); }

void call_idle_hook() { installed().idle(); }

}  // namespace rio
