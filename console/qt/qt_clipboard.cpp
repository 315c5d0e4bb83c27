#include "console/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>

namespace console::qt {

namespace {

QClipboard* system_clipboard() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return nullptr;
  return QGuiApplication::clipboard();
}

}  // namespace

bool QtClipboard::open() { return system_clipboard() != nullptr; }

bool QtClipboard::empty() {
  QClipboard* clipboard = system_clipboard();
  if (clipboard == nullptr) return false;
  clipboard->clear();
  return true;
}

bool QtClipboard::set_text(const std::string& block) {
  QClipboard* clipboard = system_clipboard();
  if (clipboard == nullptr) return false;
  std::string_view text(block);
  text = text.substr(0, text.find('\0'));
  clipboard->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
  return true;
}

bool QtClipboard::has_text() {
  QClipboard* clipboard = system_clipboard();
  if (clipboard == nullptr) return false;
  const QMimeData* data = clipboard->mimeData();
  return data != nullptr && data->hasText();
}

std::optional<std::string> QtClipboard::get_text() {
  if (!has_text()) return std::nullopt;
  QByteArray bytes = system_clipboard()->text().toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace console::qt
