#pragma once
// The record I/O runtime as the program body sees it: data-transfer
// statements (a begin call with control information, item transfers, an end
// call), OPEN, CLOSE, the end of the program, array allocation, and the
// console hooks a window environment installs.
//
// Every call returns the statement status: 0 success, 1 an error taken by
// ERR= or absorbed by IOSTAT=, 2 end of file taken by END=, 3 end of record
// taken by EOR=. Without the matching specifier an error does not return:
// the run ends with a report on the console.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace rio {

struct PrecompiledFormat;

// Phase mask bits of io_write and io_read.
inline constexpr int kPhaseBegin = 1;
inline constexpr int kPhaseEnd = 2;
inline constexpr int kPhaseWhole = kPhaseBegin | kPhaseEnd;

// Item forms.
inline constexpr int kItemScalar = 1;
inline constexpr int kItemArray = 2;    // address is an ArrayDescriptor
inline constexpr int kItemBuilt = 3;    // accepted in a list, never transferred

// Type codes: low byte the type, bits 15 to 23 the size in bytes.
inline constexpr std::uint32_t kTypeInteger = 2;
inline constexpr std::uint32_t kTypeReal = 3;
inline constexpr std::uint32_t kTypeComplex = 4;
inline constexpr std::uint32_t kTypeLogical = 5;
inline constexpr std::uint32_t kTypeCharacter = 6;
constexpr std::uint32_t type_code(std::uint32_t type, std::uint32_t size) { return type | (size << 15); }
inline constexpr std::uint32_t kInteger4 = 0x20002;
inline constexpr std::uint32_t kReal4 = 0x20003;
inline constexpr std::uint32_t kCharacter = 0x8006;

struct ItemDescriptor {
  int form = kItemScalar;
  std::uint32_t type = 0;
  void* address = nullptr;
  int length = 0;  // CHARACTER only: length in characters
};

// Branch option bits of a data-transfer statement.
inline constexpr unsigned kErrPresent = 1;
inline constexpr unsigned kEndPresent = 2;
inline constexpr unsigned kEorPresent = 4;

// Option byte of a data-transfer statement.
inline constexpr unsigned kUnitIsInternalFile = 1;
inline constexpr unsigned kFormatIsCharacterVariable = 2;

// Control information of a data-transfer begin, in slot order.
struct ControlInfo {
  unsigned options = 0;            // kUnitIsInternalFile, kFormatIsCharacterVariable
  unsigned branches = 0;           // kErrPresent | kEndPresent | kEorPresent
  const int* unit = nullptr;       // null: the default unit
  char* internal_file = nullptr;   // with kUnitIsInternalFile
  std::size_t internal_length = 0;
  int* iostat = nullptr;
  const int* record_number = nullptr;  // REC=
  const PrecompiledFormat* format = nullptr;
  const char* format_text = nullptr;
  std::size_t format_length = 0;
  const char* advance = nullptr;   // ADVANCE=
  std::size_t advance_length = 0;
  int* size = nullptr;             // SIZE=
};

// A keyword or name specifier: text with its declared length; null = absent.
struct TextSpec {
  const char* text = nullptr;
  std::size_t length = 0;
};

struct OpenSpec {
  const int* unit = nullptr;
  int* iostat = nullptr;
  bool err = false;
  TextSpec file, status, access, form;
  const int* recl = nullptr;
  TextSpec blank, position, action, delim, pad, byte_order;
  const int* buffer_size = nullptr;
  TextSpec carriage_control;
};

struct CloseSpec {
  const int* unit = nullptr;
  int* iostat = nullptr;
  bool err = false;
  TextSpec status;  // "KEEP" or "DELETE"
};

int io_write(int phase, const ControlInfo* control, std::span<const ItemDescriptor> items);
int io_read(int phase, const ControlInfo* control, std::span<const ItemDescriptor> items);
int io_open(const OpenSpec& spec);
int io_close(const CloseSpec& spec);
// Flushes and closes every unit, calls the exit hook with 0, ends the process.
[[noreturn]] void io_finish();

// One dimension of an array: elements are visited with the first dimension
// varying fastest; stride is in elements (0: adjacent in storage).
struct ArrayDimension {
  long lower = 1;
  long extent = 0;
  long stride = 0;
};

inline constexpr int kMaxRank = 7;

struct ArrayDescriptor {
  void* base = nullptr;         // the zero-size mark kZeroSizeBase after an empty ALLOCATE
  std::size_t byte_size = 0;
  bool allocated = false;       // storage present: set it for arrays not made by io_allocate
  bool allocatable = true;
  std::uint32_t type = 0;       // element type code
  int length = 0;               // CHARACTER: length in characters
  int rank = 0;
  std::array<ArrayDimension, kMaxRank> dims{};
};

// The base of an array allocated with no elements: allocated, holds nothing.
inline void* const kZeroSizeBase = reinterpret_cast<void*>(~std::uintptr_t{0});

int io_allocate(std::span<ArrayDescriptor* const> arrays, int* stat);
int io_deallocate(std::span<ArrayDescriptor* const> arrays);

// The four console hooks. read: fills up to max bytes, returns the count
// (0 = end of file). write: bytes, their count, the handle (-11 console
// output, -12 error output) -> bytes written (0 = failure). exit: once,
// before the process ends, with its exit code. idle: at the start of WRITE,
// OPEN, CLOSE and non-console READ statements.
inline constexpr int kConsoleInputHandle = -10;
inline constexpr int kConsoleOutputHandle = -11;
inline constexpr int kErrorOutputHandle = -12;

struct ConsoleHooks {
  std::function<int(char* buffer, int max)> read;
  std::function<int(const char* bytes, int* count, int handle)> write;
  std::function<void(int code)> exit;
  std::function<void()> idle;
};

// Installs a window environment's hooks; an empty member keeps that hook's
// default (standard input, output and error; exit and idle do nothing).
void install_console_hooks(ConsoleHooks hooks);

}  // namespace rio
