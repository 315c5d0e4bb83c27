#pragma once
// The statement's record buffer: the record being assembled by a WRITE or the
// record just read by a READ. It is grown, never shrunk, and reused by every
// statement of the process.
#include <cstddef>
#include <cstring>
#include <new>
#include <vector>

#include "rio/status.h"

namespace rio {

// The longest record the runtime holds, 16 MiB: a row of MATRICES.DAT for
// the largest dendrograms the program accepts is well below a megabyte. An
// output record that would grow past it (by items, literals, or positioning
// such as TR) fails with error 10060, as if the unit's record length were
// this; an input record past it (a line of a file, tabs expanded, or a list
// value) fails with error 10004, the buffer not being grown further.
inline constexpr std::size_t kLongestRecord = std::size_t{16} << 20;

class RecordBuffer {
 public:
  static constexpr std::size_t kFirstCapacity = 1024;
  static constexpr std::size_t kGrowthStep = 8192;

  // True when n more bytes at the cursor would pass the longest record.
  bool would_pass_limit(std::size_t n) const { return n > kLongestRecord || cursor_ > kLongestRecord - n; }

  // Output: appends n copies of c at the cursor (overwriting what lies there
  // after a leftward move), raising the high-water length past the cursor.
  int append(char c, std::size_t n) {
    if (int rc = make_room(n)) return rc;
    std::memset(bytes_.data() + cursor_, c, n);
    advance(n);
    return kOk;
  }
  int append(const char* s, std::size_t n) {
    if (int rc = make_room(n)) return rc;
    if (n) std::memcpy(bytes_.data() + cursor_, s, n);
    advance(n);
    return kOk;
  }
  int append(char c) { return append(c, 1); }

  // A short run from a buffer of kShortRun bytes. At the end of the record
  // the whole buffer is copied, a fixed-size move being cheaper than an
  // exact one; the bytes past n lie beyond the record and are overwritten
  // by whatever comes next.
  static constexpr std::size_t kShortRun = 24;
  int append_short(const char* s, std::size_t n) {
    if (cursor_ != length_) return append(s, n);
    if (int rc = make_room(kShortRun)) return rc;
    std::memcpy(bytes_.data() + cursor_, s, kShortRun);
    advance(n);
    return kOk;
  }

  // Empties the record; the capacity stays.
  void clear() { cursor_ = length_ = 0; }

  // Output positioning: moves the cursor; a gap past the end is not filled
  // here (the caller decides whether blanks fill it).
  void set_cursor(std::size_t pos) { cursor_ = pos; }
  // Removes everything from pos on (a list-directed item taken back out).
  void truncate(std::size_t pos) {
    length_ = pos;
    if (cursor_ > pos) cursor_ = pos;
  }

  std::size_t cursor() const { return cursor_; }
  std::size_t length() const { return length_; }
  std::size_t capacity() const { return bytes_.size(); }
  const char* data() const { return bytes_.data(); }
  char* data() { return bytes_.data(); }
  char at(std::size_t i) const { return bytes_[i]; }

  // Input: the record read is stored with append(); reading then walks a
  // separate read position over [0, length()).
  std::size_t read_pos = 0;
  bool at_end() const { return read_pos >= length_; }
  std::size_t remaining() const { return at_end() ? 0 : length_ - read_pos; }

 private:
  int make_room(std::size_t n) {
    if (would_pass_limit(n)) return kRecordTooLong;
    std::size_t need = cursor_ + n;
    if (need < bytes_.size()) return kOk;
    std::size_t cap = bytes_.empty() ? kFirstCapacity : bytes_.size();
    if (cap <= need) cap += (need - cap) / kGrowthStep * kGrowthStep + kGrowthStep;
    try {
      bytes_.resize(cap);
    } catch (const std::bad_alloc&) {
      return kBufferAllocationFailed;
    }
    return kOk;
  }
  void advance(std::size_t n) {
    cursor_ += n;
    if (cursor_ > length_) length_ = cursor_;
  }

  std::vector<char> bytes_;
  std::size_t cursor_ = 0;
  std::size_t length_ = 0;
};

}  // namespace rio
