#include "console/qt/about_box.h"

#include <elf.h>
#include <unistd.h>

#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <algorithm>
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
  int x(int units) const { return units * x_unit / 4; }
  int y(int units) const { return units * y_unit / 8; }
  int x_unit;
  int y_unit;
};

struct Field {
  const char* caption;
  const char* name;
  int y;  // dialog units
};

const Field kFields[] = {{"Page Size", "field_102", 65},
                         {"Minimum Address", "field_103", 80},
                         {"Maximum Address", "field_104", 95},
                         {"Processor Type", "field_105", 110},
                         {"Number of Processors", "field_106", 125}};

// The places in dialog units are the least each piece gets; a text wider
// than its place in the font at hand widens the place, and the columns
// and the dialog move and grow with it, so that nothing is cut.
class AboutLayout {
 public:
  explicit AboutLayout(const QFontMetrics& metrics) : metrics_(metrics), units_(metrics) {}

  int text_width(const QString& text) const { return metrics_.horizontalAdvance(text); }
  int line_height() const { return std::max(units_.y(8), metrics_.height()); }

  QRect title(const QString& text) const {
    return {units_.x(27), units_.y(10), std::max(units_.x(100), text_width(text)), line_height()};
  }
  QRect caption(int y, int caption_width) const {
    return {units_.x(10), units_.y(y), caption_width, line_height()};
  }
  int caption_width(const QStringList& captions) const { return widest(captions, units_.x(75)); }
  // The values keep their distance from the captions' right edge.
  int value_x(int caption_width) const { return std::max(units_.x(95), units_.x(10 + 10) + caption_width); }
  int value_width(const QStringList& values) const { return widest(values, units_.x(65)); }
  QRect value(int y, int x, int width) const { return {x, units_.y(y), width, line_height()}; }
  int margin() const { return units_.x(5); }
  QSize least_size() const { return {units_.x(160), units_.y(165)}; }
  QRect button(int dialog_width, const QSize& hint) const {
    int width = std::max(units_.x(40), hint.width());
    int height = std::max(units_.y(14), hint.height());
    return {dialog_width - margin() - width, units_.y(145), width, height};
  }

 private:
  int widest(const QStringList& texts, int least) const {
    int width = least;
    for (const QString& text : texts) width = std::max(width, text_width(text));
    return width;
  }

  QFontMetrics metrics_;
  DialogUnits units_;
};

QLabel* add_label(QDialog& dialog, const QString& text, QRect place, const char* name) {
  auto* label = new QLabel(text, &dialog);
  label->setGeometry(place);
  if (name != nullptr) label->setObjectName(QString::fromLatin1(name));
  return label;
}

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
  AboutLayout layout{QFontMetrics(dialog->font())};
  const QString title = QStringLiteral("TOLM Application Framework");
  QRect title_place = layout.title(title);
  add_label(*dialog, title, title_place, nullptr);
  const QStringList values = {QString::number(information.page_size),
                              QString::fromStdString(hex_address_text(information.minimum_address)),
                              QString::fromStdString(hex_address_text(information.maximum_address)),
                              QString::number(information.processor_type),
                              QString::number(information.processor_count)};
  QStringList captions;
  for (const Field& field : kFields) captions << QString::fromLatin1(field.caption);
  int caption_width = layout.caption_width(captions);
  int value_x = layout.value_x(caption_width);
  int value_width = layout.value_width(values);
  for (qsizetype i = 0; i < captions.size(); ++i) {
    add_label(*dialog, captions[i], layout.caption(kFields[i].y, caption_width), nullptr);
    add_label(*dialog, values[i], layout.value(kFields[i].y, value_x, value_width), kFields[i].name);
  }
  auto* button = new QPushButton(QStringLiteral("Continue"), dialog.get());
  QSize size = layout.least_size();
  size.setWidth(std::max({size.width(), value_x + value_width + layout.margin(),
                          title_place.right() + 1 + layout.margin()}));
  QRect button_place = layout.button(size.width(), button->sizeHint());
  size.setHeight(std::max(size.height(), button_place.bottom() + 1 + layout.margin()));
  button->setGeometry(button_place);
  button->setDefault(true);
  QObject::connect(button, &QPushButton::clicked, dialog.get(), &QDialog::accept);
  dialog->setFixedSize(size);
  return dialog;
}

}  // namespace console::qt
