#pragma once
// The one application of the test process, on the offscreen platform so
// that the suite runs without a display.
class QApplication;

namespace console::qt::test {

QApplication& qt_application();

}  // namespace console::qt::test
