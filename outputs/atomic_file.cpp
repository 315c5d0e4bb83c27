#include "outputs/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <streambuf>

#include "model/errors.h"

namespace compare {
namespace {

// mkstemp makes files only their owner can read; the result should look
// like any other file the user makes, or keep the mode of the one replaced.
mode_t mode_for(const std::string& path) {
  struct stat existing;
  if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool flush_to_disk(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

// Writes to a file descriptor and asks the kernel to start writing each
// few megabytes to disk as soon as they are complete, so that the flush
// before the rename overlaps the formatting instead of following it.
class WritebackBuffer : public std::streambuf {
 public:
  explicit WritebackBuffer(int fd) : fd_(fd) { setp(buffer_, buffer_ + sizeof buffer_); }

 protected:
  int overflow(int c) override {
    if (!drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) sputc(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* data, std::streamsize count) override {
    if (count < static_cast<std::streamsize>(sizeof buffer_)) return std::streambuf::xsputn(data, count);
    return drain() && put_all(data, static_cast<std::size_t>(count)) ? count : 0;
  }
  int sync() override { return drain() ? 0 : -1; }

 private:
  static constexpr off_t kWritebackStep = off_t{8} << 20;

  bool drain() {
    const bool ok = put_all(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(buffer_, buffer_ + sizeof buffer_);
    return ok;
  }
  bool put_all(const char* data, std::size_t count) {
    while (count > 0) {
      const ssize_t put = ::write(fd_, data, count);
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return false;
      data += put;
      count -= static_cast<std::size_t>(put);
      written_ += put;
    }
    if (written_ - started_ >= kWritebackStep) {
      ::sync_file_range(fd_, started_, written_ - started_, SYNC_FILE_RANGE_WRITE);
      started_ = written_;
    }
    return true;
  }

  int fd_;
  off_t written_ = 0, started_ = 0;
  char buffer_[1 << 16];
};

[[noreturn]] void fail(const std::string& path) {
  throw OutputError(path + ": cannot write: " + std::strerror(errno ? errno : EIO));
}

}  // namespace

std::string make_temporary_beside(const std::string& path, const std::string& suffix) {
  std::string name = path + ".XXXXXX" + suffix;
  int fd = ::mkstemps(name.data(), static_cast<int>(suffix.size()));
  if (fd < 0) return {};
  ::fchmod(fd, mode_for(path));
  ::close(fd);
  return name;
}

void discard_temporary(const std::string& temporary) {
  const int saved = errno;
  ::unlink(temporary.c_str());
  errno = saved;
}

bool commit_temporary(const std::string& temporary, const std::string& path) {
  if (flush_to_disk(temporary) && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  discard_temporary(temporary);
  return false;
}

void write_file_atomically(const std::string& path, const std::function<void(std::ostream&)>& write) {
  if (path == "-") {
    write(std::cout);
    std::cout.flush();
    if (!std::cout) throw OutputError("standard output: cannot write");
    return;
  }
  const std::string temporary = make_temporary_beside(path);
  if (temporary.empty()) fail(path);
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) {
    discard_temporary(temporary);
    fail(path);
  }
  bool written;
  try {
    auto buffer = std::make_unique<WritebackBuffer>(fd);
    std::ostream out(buffer.get());
    errno = 0;
    write(out);
    written = out.flush() && buffer->pubsync() == 0;
  } catch (...) {
    ::close(fd);
    discard_temporary(temporary);
    throw;
  }
  const int saved = errno;
  if (::close(fd) != 0) written = false;
  else errno = saved;
  if (!written) {
    discard_temporary(temporary);
    fail(path);
  }
  if (!commit_temporary(temporary, path)) fail(path);
}

}  // namespace compare
