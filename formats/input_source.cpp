#include "formats/input_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "engine/engine.h"
#include "formats/input_readers.h"
#include "model/errors.h"
#include "model/validate.h"

namespace compare {
namespace {

// Enough for the format to be told and for any .npy header a linkage
// matrix has (numpy pads them to a few hundred bytes).
constexpr std::size_t kStartBytes = std::size_t{1} << 20;
constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

// The longest record a sound text file of each format has, generously:
// our own format's five integers and a real, a linkage row's four numbers
// in numpy's 24-character spelling, an hclust row with its row name, a
// Newick leaf with its label and length. Times the largest object count,
// they bound what a text input can be before memory does.
constexpr std::uint64_t kDenRecordBytes = 4096;
constexpr std::uint64_t kRowBytes = 1024;

const char kByteOrderMark[] = "\xEF\xBB\xBF";

// What a text input may hold, and what it is called in the message that
// refuses more.
struct TextBound {
  std::uint64_t bytes;
  std::string what;
};

TextBound text_bound(InputFormat format) {
  if (format == InputFormat::den)
    return {std::uint64_t{kLargestObjectCount} * kDenRecordBytes,
            "more than a file of our own format holds for " + std::to_string(kLargestObjectCount) + " objects"};
  return {std::uint64_t{kLargestExactObjectCount} * kRowBytes,
          "more than a " + std::string(input_format_name(format)) + " file holds for " +
              std::to_string(kLargestExactObjectCount) + " objects"};
}

std::string size_text(std::uint64_t bytes) {
  char text[32];
  if (bytes >= 1000000000)
    std::snprintf(text, sizeof text, "%.1f GB", static_cast<double>(bytes) / 1e9);
  else
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
  return text;
}

// One descriptor for the whole read: opened once, closed on every path.
class InputStream {
 public:
  explicit InputStream(const std::string& path) : path_(path) {
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor_ < 0) throw InputError(path + ": " + std::strerror(errno));
    struct stat info;
    const bool known = ::fstat(descriptor_, &info) == 0;
    const int error = errno;
    if (!known || S_ISDIR(info.st_mode)) {
      ::close(descriptor_);
      throw InputError(path + ": " + (known ? "is a directory" : "cannot read: " + std::string(std::strerror(error))));
    }
    if (S_ISREG(info.st_mode)) size_ = static_cast<std::uint64_t>(info.st_size);
  }
  ~InputStream() { ::close(descriptor_); }
  InputStream(const InputStream&) = delete;
  InputStream& operator=(const InputStream&) = delete;

  // A regular file's size; a pipe or device has none until it ends.
  std::optional<std::uint64_t> size() const { return size_; }

  // Appends up to `count` bytes, fewer only at the end; returns how many.
  std::size_t append(std::string& bytes, std::size_t count) {
    const std::size_t old = bytes.size();
    bytes.resize(old + count);
    std::size_t done = 0;
    while (done < count) {
      const ssize_t got = ::read(descriptor_, bytes.data() + old + done, count - done);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) fail("cannot read: ");
      if (got == 0) break;
      done += static_cast<std::size_t>(got);
    }
    bytes.resize(old + done);
    return done;
  }

 private:
  [[noreturn]] void fail(const char* what) const {
    throw InputError(path_ + ": " + what + std::strerror(errno));
  }
  std::string path_;
  int descriptor_ = -1;
  std::optional<std::uint64_t> size_;
};

std::uint64_t limit_of(std::uint64_t memory_limit) {
  if (memory_limit) return memory_limit;
  const std::uint64_t available = available_memory();
  return available == UINT64_MAX ? available : available / 2;
}

[[noreturn]] void refuse_size(const std::string& path, const TextBound& bound, std::uint64_t memory) {
  if (bound.bytes <= memory) throw InputError(path + ": more than " + size_text(bound.bytes) + ", " + bound.what);
  throw InputError(path + ": more than " + size_text(memory) + ", the most memory an input may take");
}

void refuse_nul(const std::string& path, const std::string& bytes, std::size_t from) {
  const std::size_t at = bytes.find('\0', from);
  if (at != std::string::npos)
    throw InputError(path + ": a NUL byte at byte " + std::to_string(at + 1) + "; this is no text file");
}

// A .npy file holds as many bytes as its header says, and no more.
void read_npy(InputStream& in, InputSource& source, std::uint64_t memory) {
  const std::uint64_t total = npy_layout(source.bytes, source.path).file_size();
  if (total > memory)
    throw InputError(source.path + ": the array takes " + size_text(total) +
                     ", more than the most memory an input may take (" + size_text(memory) + ")");
  if (in.size() && *in.size() > total)
    throw InputError(source.path + ": " + std::to_string(*in.size() - total) +
                     " bytes follow the array; a .npy file ends with it");
  if (source.bytes.size() < total) in.append(source.bytes, static_cast<std::size_t>(total - source.bytes.size()));
  if (source.bytes.size() > total || (source.bytes.size() == total && in.append(source.bytes, 1) > 0))
    throw InputError(source.path + ": more bytes follow the array; a .npy file ends with it");
}

// Text until its end, no NUL in it, within its bound and memory; a byte
// order mark, which editors on other systems put first, left out.
void read_text(InputStream& in, InputSource& source, const TextBound& bound, std::uint64_t memory) {
  const std::uint64_t limit = std::min(bound.bytes, memory);
  if (in.size() && *in.size() > limit) refuse_size(source.path, bound, memory);
  refuse_nul(source.path, source.bytes, 0);
  for (;;) {
    const std::size_t from = source.bytes.size();
    if (from > limit) refuse_size(source.path, bound, memory);
    if (in.append(source.bytes, kChunkBytes) == 0) break;
    refuse_nul(source.path, source.bytes, from);
  }
  if (source.bytes.starts_with(kByteOrderMark)) source.bytes.erase(0, 3);
}

}  // namespace

InputSource read_input(const std::string& path, InputFormat format, std::uint64_t memory_limit) {
  InputStream in(path);
  InputSource source{path, format, {}};
  in.append(source.bytes, kStartBytes);
  if (format == InputFormat::automatic) source.format = format_of(path, source.bytes);
  // numpy.savetxt and numpy.save make the same matrix: --from linkage takes either.
  if (format == InputFormat::linkage_text && source.bytes.starts_with("\x93NUMPY"))
    source.format = InputFormat::linkage_npy;
  const std::uint64_t memory = limit_of(memory_limit);
  if (source.format == InputFormat::linkage_npy)
    read_npy(in, source, memory);
  else
    read_text(in, source, text_bound(source.format), memory);
  return source;
}

std::string read_text_input(const std::string& path, std::uint64_t memory_limit) {
  InputStream in(path);
  InputSource source{path, InputFormat::automatic, {}};
  in.append(source.bytes, kStartBytes);
  const TextBound bound{std::uint64_t{kLargestExactObjectCount} * kRowBytes,
                        "more than " + std::to_string(kLargestExactObjectCount) + " labels take"};
  read_text(in, source, bound, limit_of(memory_limit));
  return std::move(source.bytes);
}

}  // namespace compare
