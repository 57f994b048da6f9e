#include <gtest/gtest.h>

#include <QClipboard>

#include "tests/qt/QtFixture.h"

namespace xel::testing {
namespace {

using FindAndCopyTest = QtEditorFixture;

// Ctrl+F works from any box of the window; in the bar Delete edits the text, and only in the tree
// does it delete the selected entry.
TEST_F(FindAndCopyTest, CtrlFShowsTheBarWithTheFocusEnterSelectsTheMatchAndEscapeGoesBack) {
  ClickNode("K0");
  QWidget& bar = WidgetOf("txtBuscar");
  QWidget& clave = WidgetOf("txtClave");
  clave.setFocus();
  QTest::keyClick(&clave, Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(QApplication::focusWidget(), &bar);

  QTest::keyClicks(&bar, "xiva");
  QTest::keyClick(&bar, Qt::Key_Home);
  QTest::keyClick(&bar, Qt::Key_Delete);
  QTest::keyClick(&bar, Qt::Key_Return);
  EXPECT_EQ(ControlOf<TextBox>(editor, "txtBuscar").Text(), "iva");
  EXPECT_EQ(Tree().currentIndex(), IndexOf("KIVA"));
  EXPECT_EQ(QApplication::focusWidget(), &bar);
  QTest::keyClick(&bar, Qt::Key_Escape);
  EXPECT_FALSE(bar.isVisible());
  EXPECT_EQ(QApplication::focusWidget(), &Tree());
  QTest::keyClick(&Tree(), Qt::Key_Delete);
  EXPECT_FALSE(Arbol().Nodes().Contains("KIVA"));
}

TEST_F(FindAndCopyTest, CtrlShiftCPutsThePathOfTheSelectedNodeOnTheClipboard) {
  ClickNode("KDESC_MAX");
  QTest::keyClick(&Tree(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "RAIZ/Ventas/Descuentos/DESC_MAX");
}

}  // namespace
}  // namespace xel::testing
