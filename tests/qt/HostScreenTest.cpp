#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>

#include "component/HostServices.h"
#include "qt/Appearance.h"
#include "qt/HostScreen.h"
#include "tests/qt/QtFixture.h"

namespace xel::testing {
namespace {

// Enter presses the default button: Cancel on a confirmation, so that no change is made by
// accident, and Ok on a warning. The button pressed comes back as its number. A message's text
// may hold the store's texts: markup in it is shown as written.
TEST(MessageBoxTest, EnterAnswersAConfirmationWithCancelAndAWarningWithOk) {
  MessageBoxWatcher confirmation(Qt::Key_Return);
  EXPECT_EQ(ShowMensaje(nullptr, "¿Borrar <b>x</b>?", MsgCode::OkCancelQuestion, "Velmora"),
            MsgCode::Cancel);
  EXPECT_EQ(confirmation.text, "¿Borrar <b>x</b>?");
  EXPECT_EQ(confirmation.format, Qt::PlainText);
  EXPECT_EQ(confirmation.icon, QMessageBox::Question);
  MessageBoxWatcher warning(Qt::Key_Return);
  EXPECT_EQ(ShowMensaje(nullptr, "Falta la clave", MsgCode::Exclamation, "Advertencia"),
            MsgCode::Ok);
  EXPECT_EQ(warning.icon, QMessageBox::Warning);
  EXPECT_EQ(MessageBoxKindFor(4 + 512).defaultButton, QMessageBox::Yes)
      << "a default beyond the buttons falls back to the first";
}

TEST(AppearanceTest, DesignedColoursAreBlueGreenRedAndSystemColoursComeFromThePalette) {
  EXPECT_EQ(ToQColor(0x8A5300), QColor(0x00, 0x53, 0x8A));
  EXPECT_EQ(ToQColor(0x80000005), QApplication::palette().color(QPalette::Base));
  EXPECT_EQ(ToQColor(0x80000012), QApplication::palette().color(QPalette::ButtonText));
  EXPECT_FALSE(ToQColor(0x800000FF).isValid());
}

TEST(AppearanceTest, MissingDesignedFontsAreReplacedByOnesOfTheSameKind) {
  QFont boxes = ToQFont({"Fixedsys", 9, false});
  EXPECT_TRUE(QFontInfo(boxes).fixedPitch());
  EXPECT_DOUBLE_EQ(boxes.pointSizeF(), 9);
  QFont labels = ToQFont({"Calibri", 8.25f, true});
  EXPECT_TRUE(labels.bold());
  EXPECT_TRUE(QFontDatabase::hasFamily(labels.family())) << labels.family().toStdString();
}

}  // namespace
}  // namespace xel::testing
