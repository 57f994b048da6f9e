#include <gtest/gtest.h>

#include <QClipboard>
#include <QLabel>

#include "tests/qt/QtFixture.h"

namespace xel::testing {
namespace {

struct FindAndCopyTest : QtEditorFixture {
  FindAndCopyTest() {
    AddSmallStore();
    Open();
  }
};

TEST_F(FindAndCopyTest, CtrlFShowsTheBarWithTheFocusEnterSelectsTheMatchAndEscapeGoesBack) {
  ClickNode("K0");
  QWidget& bar = WidgetOf("txtBuscar");
  ASSERT_FALSE(bar.isVisible());
  QTest::keyClick(&Tree(), Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(bar.isVisible());
  EXPECT_TRUE(WidgetOf("lblResultado").isVisible());
  EXPECT_EQ(QApplication::focusWidget(), &bar);

  QTest::keyClicks(&bar, "iva");
  QTest::keyClick(&bar, Qt::Key_Return);
  EXPECT_EQ(Tree().currentIndex(), IndexOf("KIVA"));
  EXPECT_TRUE(Tree().isExpanded(IndexOf("K0001")));
  EXPECT_EQ(Shown("txtClave"), "IVA");
  EXPECT_EQ(QApplication::focusWidget(), &bar);

  QTest::keyClicks(&bar, "x");
  QTest::keyClick(&bar, Qt::Key_F3);
  EXPECT_EQ(testing::WidgetOf<QLabel>(ui, editor, "lblResultado").text(), "Sin coincidencias");
  EXPECT_EQ(Tree().currentIndex(), IndexOf("KIVA"));

  QTest::keyClick(&bar, Qt::Key_Escape);
  EXPECT_FALSE(bar.isVisible());
  EXPECT_EQ(QApplication::focusWidget(), &Tree());
}

TEST_F(FindAndCopyTest, CtrlShiftCPutsThePathOfTheSelectedNodeOnTheClipboard) {
  ClickNode("KDESC_MAX");
  QTest::keyClick(&Tree(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "RAIZ/Ventas/Descuentos/DESC_MAX");
}

}  // namespace
}  // namespace xel::testing
