#pragma once
// A frame that has just finished the five-object example: the Plots menu
// installed as the results bring it, its modal questions answered by the
// test (the picture file, the printer, as a PDF file, with a copy count),
// and what it reports recorded.
#include <QString>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "console/qt/plots_menu.h"
#include "console_qt/support/frame_fixture.h"
#include "engine/engine.h"

class QMdiSubWindow;
class QMenu;

namespace console::qt::test {

compare::DendrogramFile example_file(const std::string& name);

// The pages of a PDF file; -1 when it cannot be read.
int pdf_pages(const QString& path);

class PlotsFixture : public FrameTest {
 protected:
  PlotsFixture();

  // The body hands over its results on its own thread and goes on; the
  // menu comes once the window thread has served its events.
  void finish_comparison();
  QMenu* plots_popup() const;
  QMdiSubWindow* graphics() const;
  QString printed_file() const { return directory.filePath("picture.pdf"); }

  compare::DendrogramFile first = example_file("five1.den");
  compare::DendrogramFile second = example_file("five2.den");
  PlotsHooks hooks;
  QTemporaryDir directory;
  QString picture_file;
  int copies = 1;  // what the print dialog is given
  std::vector<std::string> failures;
};

}  // namespace console::qt::test
