#pragma once
// The one application of the test process, on the offscreen platform so
// that the suite runs without a display.
#include <functional>

class QApplication;

namespace console::qt::test {

QApplication& qt_application();

// Runs the action on the window thread as soon as ready() holds there,
// asking again on a zero timer meanwhile. After `attempts` asks without it
// runs give_up instead; without give_up it asks for ever.
void when(std::function<bool()> ready, std::function<void()> action, std::function<void()> give_up = {},
          int attempts = 1000000);

}  // namespace console::qt::test
