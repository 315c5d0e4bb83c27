#pragma once
// Every operating-system service the runtime uses, in one place, so that the
// rest of the runtime stays free of system headers. Failures are returned as
// the system error codes the error report shows (2 file not found, 3 path not
// found, 5 access denied, ...), never as raw errno values.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace rio::platform {

// System error codes the report knows texts for.
inline constexpr int kSysFileNotFound = 2;
inline constexpr int kSysPathNotFound = 3;
inline constexpr int kSysTooManyOpenFiles = 4;
inline constexpr int kSysAccessDenied = 5;
inline constexpr int kSysInvalidHandle = 6;
inline constexpr int kSysNotEnoughMemory = 8;
inline constexpr int kSysSharingViolation = 32;
inline constexpr int kSysHandleEof = 38;
inline constexpr int kSysFileExists = 80;
inline constexpr int kSysInvalidParameter = 87;
inline constexpr int kSysDiskFull = 112;
inline constexpr int kSysInvalidName = 123;
inline constexpr int kSysNegativeSeek = 131;
inline constexpr int kSysAlreadyExists = 183;
inline constexpr int kSysFilenameTooLong = 206;
inline constexpr int kSysIoDevice = 1117;

// Maps an errno value to a system error code. For "no such file" the parent
// directory of path (when given) decides between file and path not found.
int map_errno(int error_number, const char* path = nullptr);

enum class Access { kRead, kWrite, kReadWrite };
enum class Disposition { kOpenExisting, kOpenOrCreate, kCreateNew };

struct OpenResult {
  int handle = -1;
  int error = 0;  // system error code, 0 on success
};

// Opens a regular file. A directory, or a file of 4 GB or more, is refused
// with access denied, whatever the process's privileges.
OpenResult open_file(const std::string& name, Access access, Disposition disposition);

// Each returns the byte count (>= 0) or -(system error code).
long long read_bytes(int handle, void* buffer, std::size_t count);
long long write_bytes(int handle, const void* buffer, std::size_t count);
// Returns the new position or -(system error code).
long long seek_to(int handle, long long offset);
long long seek_to_end(int handle);
// Returns 0 or a system error code.
int truncate_at(int handle, long long size);
int close_handle(int handle);
int remove_file(const std::string& name);
bool file_exists(const std::string& name);
bool is_character_device(int handle);
// True when name leads to a pipe: a named FIFO, or a pipe a shell hands over
// as /dev/fd/N. Such a stream has one direction only.
bool names_pipe(const std::string& name);
long long file_size(int handle);  // -(system error code) on failure

std::optional<std::string> environment_value(const char* name);

// A fresh name in the temporary-files directory (TMPDIR, else /tmp, else
// "."), starting with prefix. The file the name service created is removed
// again, so the caller creates it by opening. Returns 0 or a system error.
int temporary_name(const char* prefix, std::string& name);

// The system error code of the last failed operation, and its reset before
// a call whose failure is judged by it.
int last_error();
void clear_last_error();

[[noreturn]] void exit_process(int code);

}  // namespace rio::platform
