#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QKeyEvent>

#include "component/HostServices.h"
#include "qt/Appearance.h"
#include "qt/HostScreen.h"
#include "qt/KeyCodes.h"
#include "tests/qt/QtFixture.h"

namespace xel::testing {
namespace {

TEST(MessageBoxKindTest, TheWindowsCodesShowTheirIconsButtonsAndDefaults) {
  EXPECT_EQ(MessageBoxKindFor(MsgCode::Critical),
            (MessageBoxKind{QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok}));
  EXPECT_EQ(MessageBoxKindFor(MsgCode::Exclamation),
            (MessageBoxKind{QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok}));
  EXPECT_EQ(MessageBoxKindFor(MsgCode::OkCancelQuestion),
            (MessageBoxKind{QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel,
                            QMessageBox::Cancel}));
  EXPECT_EQ(MessageBoxKindFor(4 + 512).defaultButton, QMessageBox::Yes)
      << "a default beyond the buttons falls back to the first";
}

TEST(MessageBoxKindTest, TheButtonPressedIsAnsweredWithItsNumber) {
  EXPECT_EQ(AnswerFor(QMessageBox::Ok), MsgCode::Ok);
  EXPECT_EQ(AnswerFor(QMessageBox::Cancel), MsgCode::Cancel);
  EXPECT_EQ(AnswerFor(QMessageBox::No), 7);
}

TEST(MessageBoxKindTest, EnterOnAConfirmationAnswersCancelAndOnAWarningOk) {
  MessageBoxWatcher confirmation(Qt::Key_Return);
  EXPECT_EQ(ShowMensaje(nullptr, "¿Borrar?", MsgCode::OkCancelQuestion, "Velmora"),
            MsgCode::Cancel);
  EXPECT_EQ(confirmation.Text(), "¿Borrar?");
  EXPECT_EQ(confirmation.Icon(), QMessageBox::Question);
  MessageBoxWatcher warning(Qt::Key_Return);
  EXPECT_EQ(ShowMensaje(nullptr, "Falta la clave", MsgCode::Exclamation, "Advertencia"),
            MsgCode::Ok);
  EXPECT_EQ(warning.Icon(), QMessageBox::Warning);
}

TEST(AppearanceTest, DesignedColoursAreBlueGreenRedAndSystemColoursComeFromThePalette) {
  EXPECT_EQ(ToQColor(0x8A5300), QColor(0x00, 0x53, 0x8A));
  EXPECT_EQ(ToQColor(0xF5F5F5), QColor(0xF5, 0xF5, 0xF5));
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
  EXPECT_EQ(TwipsToPixels(-840), -56);
  EXPECT_FLOAT_EQ(PixelsToTwips(617), 9255);
}

TEST(KeyCodesTest, KeysAreReportedWithTheCodesTheHandlersExpect) {
  EXPECT_EQ(KeyCodeOf(Qt::Key_F5), 116);
  EXPECT_EQ(KeyCodeOf(Qt::Key_Delete), 46);
  EXPECT_EQ(KeyCodeOf(Qt::Key_A), 65);
  QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier, "+");
  EXPECT_EQ(CharacterCodeOf(plus), 43);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
  EXPECT_EQ(CharacterCodeOf(enter), 13);
  QKeyEvent arrow(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  EXPECT_EQ(CharacterCodeOf(arrow), 0);
  EXPECT_EQ(ShiftStateOf(Qt::ShiftModifier | Qt::AltModifier), 5);
}

}  // namespace
}  // namespace xel::testing
