#include "console/qt/save_dialog.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

namespace console::qt {

namespace {

QString from_latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// File names are kept as the file system spells them.
std::string encoded(const QString& name) { return QFile::encodeName(name).toStdString(); }

}  // namespace

bool choose_save_file(std::string& file_name, std::string& file_title) {
  QFileDialog dialog(nullptr);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  const QStringList filters = {QStringLiteral("Text Files (*.txt)"), QStringLiteral("All Files (*.*)")};
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.front());
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  if (!file_name.empty()) dialog.selectFile(QFile::decodeName(file_name.c_str()));
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  file_name = encoded(chosen.front());
  file_title = encoded(QFileInfo(chosen.front()).fileName());
  return true;
}

void MessageBoxes::warn(std::string_view text, std::string_view caption) {
  QMessageBox box(QMessageBox::Warning, from_latin1(caption), from_latin1(text), QMessageBox::Ok, nullptr);
  box.exec();
}

}  // namespace console::qt
