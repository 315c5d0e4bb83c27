#include "compare/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>

#include "compare/engine.h"

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
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    errno = 0;
    write(out);
    out.close();
    if (!out) {
      discard_temporary(temporary);
      fail(path);
    }
  }
  if (!commit_temporary(temporary, path)) fail(path);
}

}  // namespace compare
