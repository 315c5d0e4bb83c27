// The About box: its fixed texts, the five values and how they are written.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "console/qt/about_box.h"
#include "console/qt/frame_menu.h"
#include "console_qt/support/frame_fixture.h"
#include "console_qt/support/qt_application.h"

namespace console::qt {
namespace {

struct AddressCase {
  std::uint64_t address;
  const char* text;
};

void PrintTo(const AddressCase& c, std::ostream* out) { *out << c.text; }

class HexAddressTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(HexAddressTest, IsEightLowercaseDigitsOfTheLow32Bits) {
  EXPECT_EQ(hex_address_text(GetParam().address), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Addresses, HexAddressTest,
                         ::testing::Values(AddressCase{0, "0x00000000"}, AddressCase{0x10000, "0x00010000"},
                                           AddressCase{0xabcdef, "0x00abcdef"}, AddressCase{0xffffffff, "0xffffffff"},
                                           AddressCase{0x7fffffffefffULL, "0xffffefff"}));

QString field(const QDialog& box, const char* name) {
  auto* label = box.findChild<QLabel*>(QString::fromLatin1(name));
  return label != nullptr ? label->text() : QStringLiteral("<missing>");
}

TEST(AboutBoxTest, ShowsTheFiveValuesInTheirFields) {
  test::qt_application();
  auto box = make_about_box({4096, 0x10000, 0x7fffffffefffULL, 62, 2}, nullptr);
  EXPECT_EQ(field(*box, "field_102"), "4096");
  EXPECT_EQ(field(*box, "field_103"), "0x00010000");
  EXPECT_EQ(field(*box, "field_104"), "0xffffefff");
  EXPECT_EQ(field(*box, "field_105"), "62");
  EXPECT_EQ(field(*box, "field_106"), "2");
}

TEST(AboutBoxTest, CarriesItsCaptionCaptionsAndADefaultContinueButton) {
  test::qt_application();
  auto box = make_about_box({}, nullptr);
  EXPECT_EQ(box->windowTitle(), "About TOLM");
  QStringList texts;
  for (QLabel* label : box->findChildren<QLabel*>()) texts << label->text();
  for (const char* text : {"TOLM Application Framework", "Page Size", "Minimum Address", "Maximum Address",
                           "Processor Type", "Number of Processors"}) {
    EXPECT_TRUE(texts.contains(QString::fromLatin1(text))) << text;
  }
  auto* button = box->findChild<QPushButton*>();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(), "Continue");
  EXPECT_TRUE(button->isDefault());
}

TEST(AboutBoxTest, ContinueEndsTheDialog) {
  test::qt_application();
  auto box = make_about_box({}, nullptr);
  box->findChild<QPushButton*>()->click();
  EXPECT_EQ(box->result(), QDialog::Accepted);
}

// Fonts the box may meet: the platform's default, small and large sizes of
// a proportional face, and a wide fixed-pitch one.
struct FontCase {
  const char* name;
  const char* family;  // empty: the application's default
  int point_size;
};

void PrintTo(const FontCase& c, std::ostream* out) { *out << c.name; }

class AboutBoxFontTest : public ::testing::TestWithParam<FontCase> {
 protected:
  void SetUp() override {
    test::qt_application();
    saved_ = QApplication::font();
    QFont font = saved_;
    if (*GetParam().family != '\0') font.setFamily(QString::fromLatin1(GetParam().family));
    if (GetParam().point_size > 0) font.setPointSize(GetParam().point_size);
    QApplication::setFont(font);
  }
  void TearDown() override { QApplication::setFont(saved_); }

 private:
  QFont saved_;
};

TEST_P(AboutBoxFontTest, EveryLabelIsAtLeastAsWideAsItsTextAndInsideTheBox) {
  auto box = make_about_box({4096, 0x10000, 0x7fffffffefffULL, 62, 128}, nullptr);
  QRect inside(QPoint(0, 0), box->size());
  const QList<QLabel*> labels = box->findChildren<QLabel*>();
  ASSERT_EQ(labels.size(), 11);
  for (QLabel* label : labels) {
    QFontMetrics metrics(label->font());
    EXPECT_GE(label->width(), metrics.horizontalAdvance(label->text())) << label->text().toStdString();
    EXPECT_GE(label->height(), metrics.height()) << label->text().toStdString();
    EXPECT_TRUE(inside.contains(label->geometry())) << label->text().toStdString();
  }
  auto* button = box->findChild<QPushButton*>();
  EXPECT_GE(button->width(), button->sizeHint().width());
  EXPECT_TRUE(inside.contains(button->geometry()));
}

TEST_P(AboutBoxFontTest, TheValuesStandRightOfEveryCaption) {
  auto box = make_about_box({4096, 0x10000, 0x7fffffffefffULL, 62, 128}, nullptr);
  int values_left = box->width();
  for (const char* name : {"field_102", "field_103", "field_104", "field_105", "field_106"}) {
    values_left = std::min(values_left, box->findChild<QLabel*>(QString::fromLatin1(name))->x());
  }
  for (QLabel* label : box->findChildren<QLabel*>()) {
    bool caption = !label->objectName().startsWith(QStringLiteral("field_")) &&
                   label->text() != QStringLiteral("TOLM Application Framework");
    if (caption) {
      EXPECT_LT(label->geometry().right(), values_left) << label->text().toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Fonts, AboutBoxFontTest,
                         ::testing::Values(FontCase{"Default", "", 0}, FontCase{"Sans8", "DejaVu Sans", 8},
                                           FontCase{"Sans14", "DejaVu Sans", 14},
                                           FontCase{"Sans24", "DejaVu Sans", 24},
                                           FontCase{"Mono16", "DejaVu Sans Mono", 16}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SystemInformationTest, TakesThePageSizeAndProcessorCountOfThisMachine) {
  SystemInformation information = read_system_information();
  EXPECT_EQ(information.page_size, static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE)));
  EXPECT_EQ(information.processor_count, static_cast<std::uint64_t>(sysconf(_SC_NPROCESSORS_ONLN)));
  EXPECT_LT(information.minimum_address, information.maximum_address);
}

class AboutCommandTest : public test::FrameTest {};

TEST_F(AboutCommandTest, ShowsTheAboutBoxModally) {
  frame->dispatch_command(kAbout);
  EXPECT_EQ(modal.dialogs, (std::vector<QString>{"About TOLM"}));
  EXPECT_TRUE(services.calls.empty());
}

}  // namespace
}  // namespace console::qt
