// Texts of the operating-system error codes a report can show. The table is
// indexed directly by the code over 0..2405; codes without a text of their
// own show an empty message.
#include <array>
#include <utility>

#include "rio/errors.h"

namespace rio {
namespace {

constexpr std::pair<int, const char*> kKnownTexts[] = {
    {0, "NO_ERROR"},
    {1, "Incorrect function."},
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {4, "The system cannot open the file: too many files are open."},
    {5, "Access Denied."},
    {6, "The handle is invalid."},
    {8, "Not enough storage is available to process this command."},
    {15, "The system cannot find the drive specified."},
    {19, "The media is write protected."},
    {21, "The device is not ready."},
    {23, "Data error (cyclic redundancy check)."},
    {25, "The drive cannot locate a specific area or track on the disk."},
    {29, "The system cannot write to the specified device."},
    {30, "The system cannot read from the specified device."},
    {32, "The process cannot access the file because it is being used by another process."},
    {33, "The process cannot access the file because another process has locked a portion of the file."},
    {38, "Reached End of File."},
    {39, "The disk is full."},
    {50, "The request is not supported."},
    {53, "The network path was not found."},
    {80, "The file exists."},
    {82, "The directory or file cannot be created."},
    {87, "The parameter is incorrect."},
    {110, "The system cannot open the device or file specified."},
    {112, "There is not enough space on the disk."},
    {123, "The filename, directory name, or volume label syntax is incorrect."},
    {131, "An attempt was made to move the file pointer before the beginning of the file."},
    {145, "The directory is not empty."},
    {183, "Attempt to create file that already exists."},
    {206, "The filename or extension is too long."},
    {1117, "The request could not be performed because of an I/O device error."},
};

constexpr std::array<const char*, kSystemErrorTableSize> build_table() {
  std::array<const char*, kSystemErrorTableSize> table{};
  for (const char*& text : table) text = "";
  for (const auto& [code, text] : kKnownTexts) table[static_cast<std::size_t>(code)] = text;
  return table;
}

constexpr std::array<const char*, kSystemErrorTableSize> kTable = build_table();

}  // namespace

const char* system_error_text(int code) {
  if (code < 0 || code >= kSystemErrorTableSize) return nullptr;
  return kTable[static_cast<std::size_t>(code)];
}

}  // namespace rio
