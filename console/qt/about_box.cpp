#include "console/qt/about_box.h"

#include <elf.h>
#include <unistd.h>

#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace console::qt {

namespace {

// Without /proc, the kernel's usual default for the lowest mappable address.
constexpr std::uint64_t kDefaultMinimumAddress = 0x10000;
// The top of x86-64 user space: the last byte below the guard page under
// 0x800000000000.
constexpr std::uint64_t kMaximumUserAddress = 0x7fffffffefffULL;

std::uint64_t lowest_mappable_address() {
  std::ifstream in("/proc/sys/vm/mmap_min_addr");
  std::uint64_t address = 0;
  if (in >> address) return address;
  return kDefaultMinimumAddress;
}

std::uint64_t sysconf_value(int name) {
  long value = sysconf(name);
  return value > 0 ? static_cast<std::uint64_t>(value) : 0;
}

constexpr std::uint64_t machine_number() {
#if defined(__x86_64__)
  return EM_X86_64;
#elif defined(__i386__)
  return EM_386;
#elif defined(__aarch64__)
  return EM_AARCH64;
#else
  return EM_NONE;
#endif
}

// Dialog units: a quarter of the font's average character width across,
// an eighth of its height down.
struct DialogUnits {
  explicit DialogUnits(const QFontMetrics& metrics)
      : x_unit(metrics.averageCharWidth()), y_unit(metrics.height()) {}
  QRect rect(int x, int y, int width, int height) const {
    return {x * x_unit / 4, y * y_unit / 8, width * x_unit / 4, height * y_unit / 8};
  }
  int x_unit;
  int y_unit;
};

void add_label(QDialog& dialog, const QString& text, QRect place, const char* name) {
  auto* label = new QLabel(text, &dialog);
  label->setGeometry(place);
  if (name != nullptr) label->setObjectName(QString::fromLatin1(name));
}

struct Field {
  const char* caption;
  const char* name;
  int y;
};

}  // namespace

SystemInformation read_system_information() {
  return {sysconf_value(_SC_PAGESIZE), lowest_mappable_address(), kMaximumUserAddress, machine_number(),
          sysconf_value(_SC_NPROCESSORS_ONLN)};
}

std::string hex_address_text(std::uint64_t address) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(static_cast<std::uint32_t>(address)));
  return text;
}

std::unique_ptr<QDialog> make_about_box(const SystemInformation& information, QWidget* owner) {
  auto dialog = std::make_unique<QDialog>(owner);
  dialog->setWindowTitle(QStringLiteral("About TOLM"));
  DialogUnits units(QFontMetrics(dialog->font()));
  dialog->setFixedSize(units.rect(0, 0, 160, 165).size());
  add_label(*dialog, QStringLiteral("TOLM Application Framework"), units.rect(27, 10, 100, 8), nullptr);
  const std::string values[] = {std::to_string(information.page_size), hex_address_text(information.minimum_address),
                                hex_address_text(information.maximum_address),
                                std::to_string(information.processor_type), std::to_string(information.processor_count)};
  const Field fields[] = {{"Page Size", "field_102", 65},
                          {"Minimum Address", "field_103", 80},
                          {"Maximum Address", "field_104", 95},
                          {"Processor Type", "field_105", 110},
                          {"Number of Processors", "field_106", 125}};
  for (std::size_t i = 0; i < std::size(fields); ++i) {
    add_label(*dialog, QString::fromLatin1(fields[i].caption), units.rect(10, fields[i].y, 75, 8), nullptr);
    add_label(*dialog, QString::fromStdString(values[i]), units.rect(95, fields[i].y, 65, 8), fields[i].name);
  }
  auto* button = new QPushButton(QStringLiteral("Continue"), dialog.get());
  button->setGeometry(units.rect(115, 145, 40, 14));
  button->setDefault(true);
  QObject::connect(button, &QPushButton::clicked, dialog.get(), &QDialog::accept);
  return dialog;
}

}  // namespace console::qt
