#include "outputs/run_outputs.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "outputs/pending_removal.h"
#include "outputs/writeback_buffer.h"

namespace outputs {
namespace {

[[noreturn]] void fail(const std::string& path, int error) {
  throw compare::OutputError(path + ": cannot write: " + std::strerror(error ? error : EIO));
}

std::string directory_of(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string base_name_of(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string extension_of(const std::string& base) {
  const std::size_t dot = base.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? std::string() : base.substr(dot);
}

// "~dc" and the process number mark a temporary as this program's, so that
// a person (or a later run) can tell it from the user's own files. A name too
// long to take the mark keeps only its extension.
std::string temporary_pattern(const std::string& path, const std::string& extension) {
  const std::string mark = "~dc" + std::to_string(::getpid()) + ".XXXXXX" + extension;
  const std::string base = base_name_of(path);
  const std::string directory = path.find('/') == std::string::npos ? std::string() : directory_of(path) + "/";
  if (base.size() + mark.size() <= NAME_MAX) return directory + base + mark;
  return directory + "." + mark;
}

// mkstemp makes files only their owner can read; the result should look
// like any other file the user makes, or keep the mode of the one replaced.
mode_t mode_for(const struct stat* existing) {
  if (existing) return existing->st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool written_through(mode_t mode) { return S_ISCHR(mode) || S_ISFIFO(mode); }

// The process number in a temporary's name "<base>~dc<pid>.XXXXXX<extension>"
// made for `base`; 0 when the name is no such temporary.
pid_t temporary_owner(const std::string& name, const std::string& base, const std::string& extension) {
  const std::string mark = base + "~dc";
  if (name.size() < mark.size() + 8 + extension.size() || name.compare(0, mark.size(), mark) != 0) return 0;
  if (name.compare(name.size() - extension.size(), extension.size(), extension) != 0) return 0;
  const std::string rest = name.substr(mark.size(), name.size() - mark.size() - extension.size());
  const std::size_t dot = rest.find('.');
  if (dot == 0 || dot == std::string::npos || rest.size() - dot - 1 != 6) return 0;
  pid_t pid = 0;
  for (std::size_t i = 0; i < dot; ++i) {
    if (rest[i] < '0' || rest[i] > '9' || pid > 100'000'000) return 0;
    pid = pid * 10 + (rest[i] - '0');
  }
  return pid;
}

// Temporaries that an earlier run of ours left beside `path` when it was
// killed outright: named for this very file, by a process that no longer
// exists, the user's own regular files. Anything else is left alone.
void remove_stale_temporaries(const std::string& path, const std::string& extension) {
  const std::string directory = directory_of(path), base = base_name_of(path);
  DIR* entries = ::opendir(directory.c_str());
  if (entries == nullptr) return;
  while (const dirent* entry = ::readdir(entries)) {
    const pid_t owner = temporary_owner(entry->d_name, base, extension);
    if (owner <= 0 || owner == ::getpid() || ::kill(owner, 0) == 0 || errno != ESRCH) continue;
    const std::string stale = directory + "/" + entry->d_name;
    struct stat info;
    if (::lstat(stale.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::getuid())
      ::unlink(stale.c_str());
  }
  ::closedir(entries);
}

}  // namespace

RunOutputs::~RunOutputs() {
  if (!committed_) discard();
}

void RunOutputs::discard() {
  const int saved = errno;
  for (Output& output : outputs_) {
    if (output.sink.fd > 2) ::close(output.sink.fd);
    output.sink.fd = -1;
    if (output.staged()) ::unlink(output.temporary.c_str());
    forget_pending(output.pending_slot);
    output.pending_slot = -1;
  }
  for (auto it = made_directories_.rbegin(); it != made_directories_.rend(); ++it) ::rmdir(it->c_str());
  errno = saved;
}

void RunOutputs::add_input(const std::string& role, const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) == 0) inputs_.push_back({role, {info.st_dev, info.st_ino, {}}});
}

void RunOutputs::refuse_same_file(const std::string& role, const Identity& identity, const std::string& path,
                                  bool through) const {
  for (const Input& input : inputs_)
    if (input.identity == identity)
      throw SameFileError(role + " and " + input.role + " are the same file (" + path + ")");
  // Writing a device twice replaces nothing; a file twice loses one of them.
  if (through) return;
  for (const Output& output : outputs_)
    if (output.identity == identity)
      throw SameFileError(role + " and " + output.role + " are the same file (" + path + ")");
}

const Sink& RunOutputs::add(const std::string& role, const std::string& path, bool keep_extension) {
  Output output{role, {}, {}, {}, path, -1};
  if (path == "-") {
    output.sink = {STDOUT_FILENO, "standard output", "/dev/stdout"};
    return outputs_.emplace_back(std::move(output)).sink;
  }
  struct stat info;
  if (::stat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) fail(path, EISDIR);
    if (!S_ISREG(info.st_mode) && !written_through(info.st_mode))
      throw compare::OutputError(path + ": cannot write: not a regular file, character device or FIFO");
    output.identity = {info.st_dev, info.st_ino, {}};
  } else if (errno == ENOENT) {
    struct stat directory;
    if (::stat(directory_of(path).c_str(), &directory) != 0) fail(path, errno);
    output.identity = {directory.st_dev, directory.st_ino, base_name_of(path)};
  } else {
    fail(path, errno);
  }
  const bool exists = output.identity.name_in_directory.empty();
  const bool through = exists && written_through(info.st_mode);
  refuse_same_file(role, output.identity, path, through);
  output.sink.name = path;
  if (through) {
    output.sink.fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (output.sink.fd < 0) fail(path, errno);
    output.sink.open_by_name = path;
  } else {
    const std::string extension = keep_extension ? extension_of(base_name_of(path)) : "";
    remove_stale_temporaries(path, extension);
    output.temporary = temporary_pattern(path, extension);
    stage(output, keep_extension);
    if (output.sink.fd < 0) fail(path, errno);
    ::fchmod(output.sink.fd, mode_for(exists ? &info : nullptr));
  }
  return outputs_.emplace_back(std::move(output)).sink;
}

void RunOutputs::stage(Output& output, bool keep_extension) {
  const int suffix = keep_extension ? static_cast<int>(extension_of(base_name_of(output.final_path)).size()) : 0;
  output.sink.fd = ::mkostemps(output.temporary.data(), suffix, O_CLOEXEC);
  if (output.sink.fd < 0) return;
  output.sink.open_by_name = output.temporary;
  output.pending_slot = remember_pending(output.temporary);
}

void RunOutputs::add_directory(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) == 0) {
    if (!S_ISDIR(info.st_mode))
      throw compare::OutputError(path + ": cannot make the directory: " + std::strerror(EEXIST));
    return;
  }
  if (::mkdir(path.c_str(), 0777) != 0)
    throw compare::OutputError(path + ": cannot make the directory: " + std::strerror(errno));
  made_directories_.push_back(path);
}

void RunOutputs::commit() {
  for (Output& output : outputs_) {
    if (!output.staged()) continue;
    if (::fsync(output.sink.fd) != 0) fail(output.final_path, errno);
    const int fd = output.sink.fd;
    output.sink.fd = -1;
    if (::close(fd) != 0) fail(output.final_path, errno);
  }
  HoldSignals held;
  for (Output& output : outputs_) {
    if (!output.staged()) continue;
    if (std::rename(output.temporary.c_str(), output.final_path.c_str()) != 0) fail(output.final_path, errno);
    forget_pending(output.pending_slot);
    output.pending_slot = -1;
    output.temporary.clear();
  }
  committed_ = true;
  for (Output& output : outputs_)
    if (output.sink.fd > 2) ::close(output.sink.fd);
}

void write_to(const Sink& sink, const std::function<void(std::ostream&)>& write) {
  if (sink.fd == STDOUT_FILENO) std::cout.flush();
  WritebackBuffer buffer(sink.fd);
  std::ostream out(&buffer);
  errno = 0;
  write(out);
  if (!out.flush() || buffer.pubsync() != 0) fail(sink.name, errno);
}

void write_file_atomically(const std::string& path, const std::function<void(std::ostream&)>& write) {
  RunOutputs outputs;
  write_to(outputs.add(path, path), write);
  outputs.commit();
}

}  // namespace outputs
