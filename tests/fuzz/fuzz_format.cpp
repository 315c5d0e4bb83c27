// Formatted WRITE and READ statements under fuzzed formats: the compilation
// of the format text, the walk over groups, repeats and reversion, the
// control descriptors, and the editing of every item class on output and
// its fields on input.
//
// Input: a mode byte (bit 0: READ instead of WRITE; bit 1: an internal file
// instead of the console), an item count byte, one byte per item its kind,
// the format text up to a line feed, then for a WRITE the bytes of the item
// values, for a READ the console's input.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "rio/format.h"
#include "rio/rio.h"

namespace {

struct Item {
  std::uint32_t type;
  int length;  // CHARACTER length
  std::size_t bytes;
};

Item item_of(std::uint8_t code) {
  static const Item kItems[] = {
      {rio::type_code(rio::kTypeInteger, 1), 0, 1}, {rio::type_code(rio::kTypeInteger, 2), 0, 2},
      {rio::kInteger4, 0, 4},                       {rio::type_code(rio::kTypeInteger, 8), 0, 8},
      {rio::kReal4, 0, 4},                          {rio::type_code(rio::kTypeReal, 8), 0, 8},
      {rio::type_code(rio::kTypeComplex, 8), 0, 8}, {rio::type_code(rio::kTypeComplex, 16), 0, 16},
      {rio::type_code(rio::kTypeLogical, 1), 0, 1}, {rio::type_code(rio::kTypeLogical, 4), 0, 4},
      {rio::kCharacter, 1, 1},                      {rio::kCharacter, 7, 7},
      {rio::kCharacter, 40, 40},                    {rio::kInteger4, 0, 4},
      {rio::kReal4, 0, 4},                          {rio::type_code(rio::kTypeReal, 8), 0, 8},
  };
  return kItems[code % std::size(kItems)];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzedBytes in(data, size);
  std::uint8_t mode = in.byte();
  bool reading = mode & 1;
  bool internal = mode & 2;
  std::vector<Item> list(in.byte() % 9);
  for (Item& item : list) item = item_of(in.byte());
  std::string format(in.until('\n'));

  // The compiler alone, on the text as given.
  std::vector<std::uint8_t> compiled;
  fuzz::check_status(rio::compile_format(format.data(), format.size(), compiled));

  alignas(16) char storage[8][48] = {};
  std::vector<rio::ItemDescriptor> items;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (!reading) {
      std::string_view value = in.take(list[i].bytes);
      std::memcpy(storage[i], value.data(), value.size());
    }
    items.push_back({rio::kItemScalar, list[i].type, storage[i], list[i].length});
  }
  std::string_view rest = in.rest();
  fuzz::install_memory_console(reading ? rest : std::string_view());

  char variable[80];
  std::memset(variable, ' ', sizeof variable);
  std::size_t internal_length = std::min(rest.size(), sizeof variable);
  if (internal && reading) std::memcpy(variable, rest.data(), internal_length);

  int iostat = 0;
  rio::ControlInfo control;
  control.iostat = &iostat;
  control.branches = rio::kEndPresent | rio::kEorPresent;
  control.format_text = format.data();
  control.format_length = format.size();
  if (internal) {
    control.options = rio::kUnitIsInternalFile;
    control.internal_file = variable;
    control.internal_length = reading ? internal_length : sizeof variable;
  }
  if (reading) rio::io_read(rio::kPhaseWhole, &control, items);
  else rio::io_write(rio::kPhaseWhole, &control, items);
  fuzz::check_status(iostat);
  fuzz::reset_runtime();
  return 0;
}
