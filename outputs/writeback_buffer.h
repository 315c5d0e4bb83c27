#pragma once
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <streambuf>

namespace outputs {

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

}  // namespace outputs
