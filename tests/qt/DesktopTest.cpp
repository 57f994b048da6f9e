// The editor's window as a desktop user meets it: the title's mark for unsaved work and the place
// it was left in.

#include <gtest/gtest.h>

#include <QScreen>

#include "qt/WindowPlace.h"
#include "tests/qt/QtFixture.h"

namespace xel::testing {
namespace {

struct DesktopTest : QtEditorFixture {
  // MONEDA goes before IVA: an arrangement only the tree knows.
  void Arrange() {
    ClickNode("KMONEDA");
    QTest::keyClick(&Tree(), Qt::Key_Plus);
  }
  QRect Place() const { return {Window().pos(), Window().size()}; }
};

// The title carries Qt's mark for unsaved work while an arrangement waits; closing the window asks
// first, and only an answer that lets the arrangement go closes it.
TEST_F(DesktopTest, AnArrangementMarksTheTitleAndClosingAsksFirst) {
  EXPECT_FALSE(Window().isWindowModified());
  Arrange();
  EXPECT_TRUE(Window().isWindowModified());
  EXPECT_TRUE(Window().windowTitle().contains("[*]"));
  session->Answer(MsgCode::Cancel);
  Window().close();
  QApplication::processEvents();
  EXPECT_TRUE(editor.Loaded());
  EXPECT_TRUE(Window().isVisible());
  EXPECT_EQ(session->ErrorIds(), std::vector<std::string>{"ERR-ID:7500050"});

  session->Answer(MsgCode::No);
  Window().close();
  QApplication::processEvents();
  EXPECT_FALSE(editor.Loaded());
}

// The window comes back where it was left; a place off every screen is brought onto the screen.
TEST_F(DesktopTest, TheWindowComesBackWhereItWasLeftWithinTheScreen) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect left(screen.left() + 40, screen.top() + 30, 640, 480);
  Window().resize(left.size());
  Window().move(left.topLeft());
  QApplication::processEvents();
  editor.Unload();
  Open();
  EXPECT_EQ(Place(), left);

  editor.Unload();
  places.setValue("ventanas/frmXEL02/lugar",
                  QRect(screen.right() + 4000, screen.bottom() + 4000, 640, 480));
  Open();
  EXPECT_TRUE(screen.contains(Place())) << Place().x() << "," << Place().y();
}

// Moved onto the screen, or shrunk to it when larger.
TEST(WindowPlaceTest, APlaceIsBroughtWhollyOntoTheScreen) {
  const QRect screen(0, 0, 1000, 800);
  EXPECT_EQ(WithinScreen({-500, -50, 400, 300}, screen), QRect(0, 0, 400, 300));
  EXPECT_EQ(WithinScreen({900, 700, 400, 300}, screen), QRect(600, 500, 400, 300));
  EXPECT_EQ(WithinScreen({50, 50, 1400, 900}, screen), screen);
}

}  // namespace
}  // namespace xel::testing
