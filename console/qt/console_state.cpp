#include "console/qt/console_state.h"

namespace console::qt {

ConsoleState& console_state() {
  static ConsoleState* const state = new ConsoleState;
  return *state;
}

}  // namespace console::qt
