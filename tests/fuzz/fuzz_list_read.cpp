// List-directed READ statements over a file of fuzzed records: the record
// cutting of the unit (line ends, carriage returns, tabs under TABSIZE),
// the value scanner (separators, nulls, repeat counts, quotes, complex
// parentheses, slashes) and the conversion of every item class.
//
// Input: one byte choosing TABSIZE, one byte the statement count, one byte
// per statement its item count, one byte per item its kind; the rest is the
// file.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "rio/rio.h"

namespace {

constexpr const char* kTabSizes[] = {nullptr, "4", "1", "1024", "2147483647", "0", "-8", "99999999999"};

struct Item {
  std::uint32_t type;
  int length;
};

// Integers and logicals of 1, 2, 4 and 8 bytes, reals of 4 and 8,
// complex of 8 and 16, and characters of a few lengths.
Item item_of(std::uint8_t code) {
  static const Item kItems[] = {
      {rio::type_code(rio::kTypeInteger, 1), 0}, {rio::type_code(rio::kTypeInteger, 2), 0},
      {rio::kInteger4, 0},                       {rio::type_code(rio::kTypeInteger, 8), 0},
      {rio::kReal4, 0},                          {rio::type_code(rio::kTypeReal, 8), 0},
      {rio::type_code(rio::kTypeComplex, 8), 0}, {rio::type_code(rio::kTypeComplex, 16), 0},
      {rio::type_code(rio::kTypeLogical, 1), 0}, {rio::type_code(rio::kTypeLogical, 4), 0},
      {rio::kCharacter, 1},                      {rio::kCharacter, 6},
      {rio::kCharacter, 100},                    {rio::kInteger4, 0},
      {rio::kReal4, 0},                          {rio::kInteger4, 0},
  };
  return kItems[code % std::size(kItems)];
}

void set_tabsize(std::uint8_t code) {
  const char* value = kTabSizes[code % std::size(kTabSizes)];
  if (value) ::setenv("TABSIZE", value, 1);
  else ::unsetenv("TABSIZE");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzedBytes in(data, size);
  set_tabsize(in.byte());
  int statements = in.byte() % 4 + 1;
  std::vector<std::vector<Item>> lists(statements);
  for (auto& list : lists) list.resize(in.byte() % 8 + 1);
  for (auto& list : lists)
    for (Item& item : list) item = item_of(in.byte());
  fuzz::install_memory_console("");
  fuzz::write_scratch(in.rest());

  int unit = 7, iostat = fuzz::open_scratch(unit, "READ");

  alignas(16) char storage[8][128];
  for (const auto& list : lists) {
    std::vector<rio::ItemDescriptor> items;
    for (std::size_t i = 0; i < list.size(); ++i)
      items.push_back({rio::kItemScalar, list[i].type, storage[i], list[i].length});
    rio::ControlInfo control;
    control.unit = &unit;
    control.iostat = &iostat;
    control.branches = rio::kEndPresent;
    int status = rio::io_read(rio::kPhaseWhole, &control, items);
    fuzz::check_status(iostat);
    if (status != 0) break;
  }
  fuzz::reset_runtime();
  return 0;
}
