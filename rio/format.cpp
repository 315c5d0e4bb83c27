#include "rio/format.h"

#include <new>

#include "rio/format_interpret.h"
#include "rio/status.h"

namespace rio {

FormatSession::FormatSession() : interpreter_(nullptr) {}

FormatSession::~FormatSession() { release(); }

int FormatSession::begin(const PrecompiledFormat* table, const char* text, std::size_t length) {
  release();
  std::vector<FormatEntry> entries;
  try {
    if (table != nullptr) {
      if (int rc = decode_table(*table, entries)) return rc;
    } else {
      std::vector<std::uint8_t> compiled;
      if (int rc = compile_format(text, length, compiled)) return rc;
      if (int rc = decode_compiled(compiled, entries)) return rc;
    }
    interpreter_ = new FormatInterpreter(std::move(entries));
  } catch (const std::bad_alloc&) {
    return kBufferAllocationFailed;
  }
  return kOk;
}

int FormatSession::write_element(RecordBuffer& record, RecordPort& port, const UnitTraits& unit,
                                 const Element& element) {
  if (interpreter_ == nullptr) return kInternalError;
  return interpreter_->write_element(record, port, unit, element);
}

int FormatSession::read_element(RecordBuffer& record, RecordPort& port, const UnitTraits& unit,
                                const Element& element) {
  if (interpreter_ == nullptr) return kInternalError;
  return interpreter_->read_element(record, port, unit, element);
}

int FormatSession::finish_write(RecordBuffer& record, RecordPort& port, const UnitTraits& unit) {
  if (interpreter_ == nullptr) return kInternalError;
  return interpreter_->finish(record, port, unit, true);
}

int FormatSession::finish_read(RecordBuffer& record, RecordPort& port, const UnitTraits& unit) {
  if (interpreter_ == nullptr) return kInternalError;
  return interpreter_->finish(record, port, unit, false);
}

bool FormatSession::suppress_line_end() const {
  return interpreter_ != nullptr && interpreter_->suppress_line_end();
}

void FormatSession::release() {
  delete interpreter_;
  interpreter_ = nullptr;
}

}  // namespace rio
