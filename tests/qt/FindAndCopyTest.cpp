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

// Ctrl+F works from any box of the window; in the bar Delete edits the text, and only in the tree
// does it delete the selected entry.
TEST_F(FindAndCopyTest, CtrlFShowsTheBarWithTheFocusEnterSelectsTheMatchAndEscapeGoesBack) {
  ClickNode("K0");
  QWidget& bar = WidgetOf("txtBuscar");
  ASSERT_FALSE(bar.isVisible());
  QWidget& clave = WidgetOf("txtClave");
  clave.setFocus();
  QTest::keyClick(&clave, Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(bar.isVisible());
  EXPECT_TRUE(WidgetOf("lblResultado").isVisible());
  EXPECT_EQ(QApplication::focusWidget(), &bar);

  QTest::keyClicks(&bar, "ivaa");
  QTest::keyClick(&bar, Qt::Key_Delete);
  QTest::keyClick(&bar, Qt::Key_Backspace);
  QTest::keyClick(&bar, Qt::Key_Return);
  EXPECT_EQ(Tree().currentIndex(), IndexOf("KIVA"));
  EXPECT_TRUE(Tree().isExpanded(IndexOf("K0001")));
  EXPECT_EQ(Shown("txtClave"), "IVA");
  EXPECT_EQ(QApplication::focusWidget(), &bar);

  QTest::keyClicks(&bar, "x");
  QTest::keyClick(&bar, Qt::Key_Home);
  QTest::keyClick(&bar, Qt::Key_Delete);
  EXPECT_EQ(Ctl<TextBox>("txtBuscar").Text(), "vax");
  QTest::keyClick(&bar, Qt::Key_F3);
  EXPECT_EQ(testing::WidgetOf<QLabel>(ui, editor, "lblResultado").text(), "Sin coincidencias");
  EXPECT_EQ(Tree().currentIndex(), IndexOf("KIVA"));

  QTest::keyClick(&bar, Qt::Key_Escape);
  EXPECT_FALSE(bar.isVisible());
  EXPECT_EQ(QApplication::focusWidget(), &Tree());
  QTest::keyClick(&Tree(), Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(dynamic_cast<QLineEdit&>(bar).selectedText(), "vax") << "the last search is selected";
  QTest::keyClick(&bar, Qt::Key_Escape);
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
