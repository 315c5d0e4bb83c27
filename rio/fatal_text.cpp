#include "rio/fatal_text.h"

#include "rio/hooks.h"
#include "rio/platform.h"
#include "rio/rio.h"
#include "rio/units.h"

namespace rio {

void report_fatal_text(std::span<const std::string> lines) {
  close_all_units();
  for (const std::string& line : lines) {
    std::string piece = "? " + line + "\n";
    call_write_hook(piece.data(), static_cast<int>(piece.size()), kErrorOutputHandle);
  }
  call_exit_hook(-1);
  platform::exit_process(-1);
}

}  // namespace rio
