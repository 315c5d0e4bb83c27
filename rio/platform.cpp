#include "rio/platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace rio::platform {
namespace {

int g_last_error = 0;

int fail(int code) {
  g_last_error = code;
  return code;
}

bool parent_directory_exists(const char* path) {
  std::string p(path);
  std::size_t slash = p.find_last_of('/');
  if (slash == std::string::npos) return true;  // relative to the current directory
  std::string parent = slash == 0 ? "/" : p.substr(0, slash);
  struct stat st {};
  return ::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

constexpr long long kFourGigabytes = 4294967296LL;

}  // namespace

int map_errno(int error_number, const char* path) {
  switch (error_number) {
    case 0: return 0;
    case ENOENT: return path && !parent_directory_exists(path) ? kSysPathNotFound : kSysFileNotFound;
    case ENOTDIR: case ELOOP: return kSysPathNotFound;
    case EACCES: case EPERM: case EISDIR: case EROFS: return kSysAccessDenied;
    case ETXTBSY: case EBUSY: return kSysSharingViolation;
    case ENOSPC: case EDQUOT: case EFBIG: return kSysDiskFull;
    case EMFILE: case ENFILE: return kSysTooManyOpenFiles;
    case EBADF: return kSysInvalidHandle;
    case ENOMEM: return kSysNotEnoughMemory;
    case EEXIST: return kSysFileExists;
    case ENAMETOOLONG: return kSysFilenameTooLong;
    case EINVAL: return kSysInvalidParameter;
    case EIO: case ENXIO: case ENODEV: return kSysIoDevice;
    default: return kSysIoDevice;
  }
}

OpenResult open_file(const std::string& name, Access access, Disposition disposition) {
  int flags = access == Access::kRead ? O_RDONLY : access == Access::kWrite ? O_WRONLY : O_RDWR;
  if (disposition == Disposition::kOpenOrCreate) flags |= O_CREAT;
  if (disposition == Disposition::kCreateNew) flags |= O_CREAT | O_EXCL;
  int fd = ::open(name.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) return {-1, fail(map_errno(errno, name.c_str()))};
  struct stat st {};
  // A directory opens read-only on this system and root may open anything;
  // a directory is never a record file, so refuse it like the system would
  // refuse a write.
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) ||
      (S_ISREG(st.st_mode) && st.st_size >= kFourGigabytes)) {
    ::close(fd);
    return {-1, fail(kSysAccessDenied)};
  }
  return {fd, 0};
}

long long read_bytes(int handle, void* buffer, std::size_t count) {
  for (;;) {
    ssize_t n = ::read(handle, buffer, count);
    if (n >= 0) return n;
    if (errno != EINTR) return -fail(map_errno(errno));
  }
}

long long write_bytes(int handle, const void* buffer, std::size_t count) {
  const char* p = static_cast<const char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    ssize_t n = ::write(handle, p + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return -fail(map_errno(errno));
    }
    done += static_cast<std::size_t>(n);
  }
  return static_cast<long long>(done);
}

long long seek_to(int handle, long long offset) {
  off_t r = ::lseek(handle, offset, SEEK_SET);
  return r < 0 ? -fail(map_errno(errno)) : r;
}

long long seek_to_end(int handle) {
  off_t r = ::lseek(handle, 0, SEEK_END);
  return r < 0 ? -fail(map_errno(errno)) : r;
}

int truncate_at(int handle, long long size) {
  return ::ftruncate(handle, size) == 0 ? 0 : fail(map_errno(errno));
}

int close_handle(int handle) { return ::close(handle) == 0 ? 0 : fail(map_errno(errno)); }

int remove_file(const std::string& name) {
  return ::unlink(name.c_str()) == 0 ? 0 : fail(map_errno(errno, name.c_str()));
}

bool file_exists(const std::string& name) {
  struct stat st {};
  return ::stat(name.c_str(), &st) == 0;
}

bool is_character_device(int handle) {
  struct stat st {};
  return ::fstat(handle, &st) == 0 && S_ISCHR(st.st_mode);
}

bool names_pipe(const std::string& name) {
  struct stat st {};
  return ::stat(name.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

long long file_size(int handle) {
  struct stat st {};
  return ::fstat(handle, &st) == 0 ? st.st_size : -fail(map_errno(errno));
}

std::optional<std::string> environment_value(const char* name) {
  const char* v = std::getenv(name);
  if (!v) return std::nullopt;
  return std::string(v);
}

int temporary_name(const char* prefix, std::string& name) {
  std::string dir = environment_value("TMPDIR").value_or("");
  struct stat st {};
  if (dir.empty() || ::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) dir = "/tmp";
  if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) dir = ".";
  std::string pattern = dir + "/" + prefix + "XXXXXX";
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  int fd = ::mkstemp(buf.data());
  if (fd < 0) return fail(map_errno(errno, buf.data()));
  ::close(fd);
  ::unlink(buf.data());
  name.assign(buf.data());
  return 0;
}

int last_error() { return g_last_error; }

void clear_last_error() { g_last_error = 0; }

void exit_process(int code) { std::exit(code); }

}  // namespace rio::platform
