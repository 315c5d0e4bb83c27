// The About box: its fixed texts, the five values and how they are written.
#include <gtest/gtest.h>

#include <ostream>

#include <unistd.h>

#include <QDialog>
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
