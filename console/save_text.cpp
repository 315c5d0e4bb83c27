#include "console/save_text.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace console {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The whole of bytes, across short writes and interrupted calls.
bool write_all(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool write_lines(int descriptor, const TextStore& store) {
  for (int k = 1; k <= store.line_count(); ++k) {
    if (!write_all(descriptor, store.line_text(k)) || !write_all(descriptor, kLineEnd)) return false;
  }
  return true;
}

}  // namespace

void save_window_text(const TextStore& store, const std::string& file_name, MessageSink& messages,
                      int& text_unchanged) {
  int descriptor = ::open(file_name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    messages.warn(kCannotCreateFile, kMessageCaption);
    return;
  }
  bool written = write_lines(descriptor, store);
  // A file system may report a lost write only when the file is closed;
  // that save is as incomplete as one whose write failed.
  bool closed = ::close(descriptor) == 0;
  if (!written || !closed) {
    messages.warn(kWriteError, kMessageCaption);
    return;
  }
  text_unchanged = 1;
}

}  // namespace console
