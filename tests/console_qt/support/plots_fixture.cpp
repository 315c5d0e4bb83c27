#include "console_qt/support/plots_fixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QRegularExpression>

#include "formats/den_reader.h"

namespace console::qt::test {

compare::DendrogramFile example_file(const std::string& name) {
  return compare::read_den_file(std::string(DENDRO_SOURCE_DIR) + "/examples/" + name);
}

int pdf_pages(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  return static_cast<int>(
      QString::fromLatin1(file.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

PlotsFixture::PlotsFixture() {
  hooks.choose_picture_file = [this](QWidget*) { return picture_file; };
  hooks.report_failure = [this](QWidget*, const QString& text) { failures.push_back(text.toStdString()); };
  hooks.choose_printer = [this](QPrinter& printer, QWidget*) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printed_file());
    printer.setCopyCount(copies);
    return true;
  };
}

void PlotsFixture::finish_comparison() {
  compare::Comparison results = compare::run_comparison(first, second);
  plots_results_observer(state, hooks)({results.tables, results.heights1, results.heights2, first, second});
  QApplication::processEvents();
}

QMenu* PlotsFixture::plots_popup() const {
  for (QAction* entry : state.main_menu->actions()) {
    if (entry->text() == "&Plots") return entry->menu();
  }
  return nullptr;
}

QMdiSubWindow* PlotsFixture::graphics() const { return qobject_cast<QMdiSubWindow*>(state.graphics_window); }

}  // namespace console::qt::test
