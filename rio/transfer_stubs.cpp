// Placeholder definitions so that the statement layer links while the
// editing, scanning and format layers are being written. Each is replaced by
// its real implementation; none of these is reachable in a finished build.
#include "rio/format.h"
#include "rio/list_input.h"
#include "rio/list_output.h"
#include "rio/status.h"

namespace rio {

int compile_format(const char*, std::size_t, std::vector<std::uint8_t>&) { return kInternalError; }

class FormatInterpreter {};
FormatSession::FormatSession() : interpreter_(nullptr) {}
FormatSession::~FormatSession() = default;
int FormatSession::begin(const PrecompiledFormat*, const char*, std::size_t) { return kInternalError; }
int FormatSession::write_element(RecordBuffer&, RecordPort&, const UnitTraits&, const Element&) {
  return kInternalError;
}
int FormatSession::read_element(RecordBuffer&, RecordPort&, const UnitTraits&, const Element&) {
  return kInternalError;
}
int FormatSession::finish_write(RecordBuffer&, RecordPort&, const UnitTraits&) { return kInternalError; }
int FormatSession::finish_read(RecordBuffer&, RecordPort&, const UnitTraits&) { return kInternalError; }
bool FormatSession::suppress_line_end() const { return false; }
void FormatSession::release() {}

}  // namespace rio
