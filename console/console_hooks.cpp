#include "console/console_hooks.h"

#include <algorithm>

namespace console {

std::string_view output_line_of(const char* bytes, int count) {
  if (bytes == nullptr || count <= 0) return {};
  std::string_view line(bytes, static_cast<std::size_t>(count));
  if (line.ends_with('\n')) line.remove_suffix(1);
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

int deliver_input_line(const TextStore& store, char* buffer, int capacity) {
  constexpr std::string_view kLineEnd = "\r\n";
  if (buffer == nullptr || capacity <= 0) return 0;
  std::string_view line = store.line_text(store.line_count());
  auto room = static_cast<std::size_t>(capacity);
  std::size_t kept = std::min(line.size(), room - std::min(room, kLineEnd.size()));
  std::copy_n(line.data(), kept, buffer);
  std::size_t ending = std::min(kLineEnd.size(), room - kept);
  std::copy_n(kLineEnd.data(), ending, buffer + kept);
  return static_cast<int>(kept + ending);
}

}  // namespace console
