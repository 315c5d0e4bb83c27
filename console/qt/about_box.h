#pragma once
// The About box: the framework's name and five facts about the machine.
#include <cstdint>
#include <memory>
#include <string>

class QDialog;
class QWidget;

namespace console::qt {

struct SystemInformation {
  std::uint64_t page_size = 0;
  std::uint64_t minimum_address = 0;  // lowest address a program may map
  std::uint64_t maximum_address = 0;  // highest address of user space
  std::uint64_t processor_type = 0;   // the ELF machine number of this build
  std::uint64_t processor_count = 0;
};

SystemInformation read_system_information();

// "0x" and exactly eight lowercase hexadecimal digits of the address taken
// as an unsigned 32-bit value.
std::string hex_address_text(std::uint64_t address);

// The dialog, filled with the information; its value fields are named
// "field_102" to "field_106" after their control ids. Continue, Enter or
// Escape ends it.
std::unique_ptr<QDialog> make_about_box(const SystemInformation& information, QWidget* owner);

}  // namespace console::qt
