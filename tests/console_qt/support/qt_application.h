#pragma once
// The one application of the test process, on the offscreen platform so
// that the suite runs without a display. Any warning Qt gives fails the
// test it comes in, and ends a child process of a death test with
// kQtWarningExit, so that its parent sees it.
#include <functional>

class QApplication;

namespace console::qt::test {

inline constexpr int kQtWarningExit = 86;

QApplication& qt_application();

// Runs the action on the window thread as soon as ready() holds there,
// asking again on a zero timer meanwhile. After `attempts` asks without it
// runs give_up instead; without give_up it asks for ever.
void when(std::function<bool()> ready, std::function<void()> action, std::function<void()> give_up = {},
          int attempts = 1000000);

}  // namespace console::qt::test
