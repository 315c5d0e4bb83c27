#pragma once
// The program's I/O statements in the shapes it uses them: list-directed
// WRITE and READ, a list-directed WRITE with an implied loop, OPEN and
// CLOSE on a named file. With a status target (IOSTAT=) an error comes back
// as its number; without one it ends the run with the runtime's report.
#include <cstring>
#include <initializer_list>
#include <span>
#include <string_view>

#include "rio/format.h"
#include "rio/rio.h"

namespace compare::statements {

using Items = std::initializer_list<rio::ItemDescriptor>;

inline rio::ItemDescriptor integer_item(int& value) { return {rio::kItemScalar, rio::kInteger4, &value, 0}; }
inline rio::ItemDescriptor real_item(float& value) { return {rio::kItemScalar, rio::kReal4, &value, 0}; }
inline rio::ItemDescriptor text_item(const char* text) {
  return {rio::kItemScalar, rio::kCharacter, const_cast<char*>(text), static_cast<int>(std::strlen(text))};
}
inline rio::ItemDescriptor text_item(char* text, int length) {
  return {rio::kItemScalar, rio::kCharacter, text, length};
}

inline std::span<const rio::ItemDescriptor> span_of(Items items) { return {items.begin(), items.size()}; }

inline rio::ControlInfo list_directed(const int* unit, int* iostat = nullptr) {
  rio::ControlInfo control;
  control.unit = unit;
  control.iostat = iostat;
  return control;
}

inline rio::ControlInfo formatted(const int* unit, const rio::PrecompiledFormat& format) {
  rio::ControlInfo control;
  control.unit = unit;
  control.format = &format;
  control.format_text = format.source_text;
  control.format_length = std::strlen(format.source_text);
  return control;
}

// One list-directed WRITE statement (unit null: the console).
inline int write_list(const int* unit, Items items, int* iostat = nullptr) {
  rio::ControlInfo control = list_directed(unit, iostat);
  return rio::io_write(rio::kPhaseWhole, &control, span_of(items));
}

inline int read_list(const int* unit, Items items, int* iostat = nullptr) {
  rio::ControlInfo control = list_directed(unit, iostat);
  return rio::io_read(rio::kPhaseWhole, &control, span_of(items));
}

// A list-directed WRITE with an implied loop: begun with its first item,
// fed one item per call, then ended. After a failure the remaining items
// are not transferred and end() gives the status.
class ListWrite {
 public:
  ListWrite(const int* unit, rio::ItemDescriptor first, int* iostat = nullptr) {
    rio::ControlInfo control = list_directed(unit, iostat);
    status_ = rio::io_write(rio::kPhaseBegin, &control, span_of({first}));
  }
  void add(rio::ItemDescriptor item) {
    if (status_ == 0) status_ = rio::io_write(0, nullptr, span_of({item}));
  }
  int end() {
    if (!ended_) status_ = rio::io_write(rio::kPhaseEnd, nullptr, {}), ended_ = true;
    return status_;
  }
  ~ListWrite() { end(); }
  ListWrite(const ListWrite&) = delete;
  ListWrite& operator=(const ListWrite&) = delete;

 private:
  int status_ = 0;
  bool ended_ = false;
};

inline int open_unit(const int& unit, std::string_view name, int* iostat = nullptr) {
  rio::OpenSpec spec;
  spec.unit = &unit;
  spec.iostat = iostat;
  spec.file = {name.data(), name.size()};
  return rio::io_open(spec);
}

inline int close_unit(const int& unit, int* iostat = nullptr) {
  rio::CloseSpec spec;
  spec.unit = &unit;
  spec.iostat = iostat;
  return rio::io_close(spec);
}

}  // namespace compare::statements
