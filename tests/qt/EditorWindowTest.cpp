#include <gtest/gtest.h>

#include <QDragLeaveEvent>
#include <QToolButton>

#include "qt/Appearance.h"
#include "qt/ToolbarView.h"
#include "tests/qt/QtFixture.h"

namespace xel::testing {
namespace {

using EditorWindowTest = QtEditorFixture;

TEST_F(EditorWindowTest, EveryVisibleControlHasAWidgetNamedAfterIt) {
  for (Control* control : editor.AllControls()) {
    if (control == &ControlOf<ColorScheme>(editor, "colorZUL")) {
      EXPECT_EQ(Window().WidgetOf(control->Name()), nullptr);
      continue;
    }
    QWidget& widget = WidgetOf(control->Name());
    EXPECT_EQ(widget.objectName().toStdString(), control->Name());
    EXPECT_FALSE(widget.accessibleName().isEmpty()) << control->Name();
  }
  EXPECT_EQ(WidgetOf("Label1").accessibleName(), "Clave:");
  EXPECT_EQ(Window().accessibleName().toStdString(), editor.Caption());
}

// The value label is designed partly outside its frame: it is cut at the frame's edge, with its
// right edge where it was designed, and stays wide enough for its text. The toolbar strip spans the
// window at every size.
TEST_F(EditorWindowTest, TheLayoutReachesTheWindowOnShowAndResizeAndTheValueLabelStaysReadable) {
  QWidget& valor = WidgetOf("Label2");
  EXPECT_GE(valor.x(), 0);
  EXPECT_EQ(valor.geometry().right() + 1, TwipsToPixels(-840 + 1575));
  EXPECT_GE(valor.width(), valor.fontMetrics().horizontalAdvance("Valor:"));

  Window().resize(700, 500);
  QApplication::processEvents();
  EXPECT_EQ(WidgetOf("tvVariables").geometry(),
            QRect(8, 72, TwipsToPixels(10500 - 350), TwipsToPixels(7500 - 3255)));
  EXPECT_EQ(WidgetOf("frFrame").y(), TwipsToPixels(7500 - 2025));
  const QWidget& strip = *Window().ViewOf(Barra())->Widget();
  EXPECT_EQ(QPoint(strip.x(), strip.width()), QPoint(0, 700)) << "the strip's left and width";
}

// A click selects and fills the pane, and the toolbar's buttons show what the node allows. Qt moves
// the current row off a removed node by itself; the tree follows the control instead, which has no
// node selected any more, and raises no NodeClick.
TEST_F(EditorWindowTest, OnlyTheUsersSelectionRaisesNodeClickAndARemovalLeavesNoneSelected) {
  QToolButton& borrar =
      *dynamic_cast<ToolbarView&>(*Window().ViewOf(Barra())).ButtonOf(ToolbarZul::Command::Delete);
  NodeOf("K0").SetExpanded(true);
  ClickNode("K0");
  EXPECT_FALSE(borrar.isEnabled());
  Node below = NodeOf("K0").Child();
  QTest::keyClick(&Tree(), Qt::Key_Down);
  QString shown = QString::fromStdString(below.Tag());
  EXPECT_EQ(Shown("txtClave"), shown);
  EXPECT_TRUE(borrar.isEnabled()) << below.Key();

  Arbol().SetSelectedItem(NodeOf("K0004"));
  EXPECT_EQ(Tree().currentIndex(), IndexOf("K0004"));
  EXPECT_EQ(Shown("txtClave"), shown);
  Arbol().Nodes().Remove("K0004");
  EXPECT_FALSE(Tree().selectionModel()->hasSelection());
  EXPECT_EQ(Shown("txtClave"), shown);
}

// Expanding and checking by the user reach the nodes; what the program expands, the tree shows.
TEST_F(EditorWindowTest, TheUsersExpandAndCheckReachTheNodesAndTheProgramsTheTree) {
  Tree().expand(IndexOf("K0"));
  Tree().expand(IndexOf("K0001"));
  EXPECT_TRUE(NodeOf("K0001").Expanded());
  EXPECT_EQ(NodeOf("K0001").Image(), 2) << "the window's Expand handler ran";
  NodeOf("K0001").SetExpanded(false);
  EXPECT_FALSE(Tree().isExpanded(IndexOf("K0001")));
  ClickNode("K0001");
  QTest::keyClick(&Tree(), Qt::Key_Plus);
  EXPECT_FALSE(Tree().isExpanded(IndexOf("K0001")))
      << "'+' is the window's: the tree never sees it";
  ClickNode("K0003");
  QTest::keyClick(&Tree(), Qt::Key_Space);
  EXPECT_TRUE(NodeOf("K0003").Checked());
  EXPECT_EQ(IndexOf("K0003").data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
}

// A drag of a class starts from the mouse; it targets the row the user sees under it, and no node
// once it leaves the tree, as a cancelled one does. Its drop asks only once the drag is over.
TEST_F(EditorWindowTest, ADragFromTheMouseTargetsTheRowsTheUserSeesAndItsDropAsksAfterIt) {
  QPoint centre = RowCentre("KIVA");
  QPointF control = QPointF(centre + Tree().viewport()->pos()) * kTwipsPerPixel;
  EXPECT_EQ(Arbol().HitTest(control.x(), control.y()), NodeOf("KIVA"));
  EXPECT_FALSE(Arbol().HitTest(control.x(), 1e6f));

  ClickNode("K0003");  // the mouse-down comes after the selection: the class can be dragged
  QWidget* viewport = Tree().viewport();
  const QPoint start = RowCentre("K0003");
  QTest::mousePress(viewport, Qt::LeftButton, {}, start);
  // Where the screen runs the drag until the button comes up, it comes up.
  QTimer::singleShot(50, viewport,
                     [=] { QTest::mouseRelease(viewport, Qt::LeftButton, {}, start); });
  QMouseEvent move(QEvent::MouseMove, start + QPoint(0, 30), viewport->mapToGlobal(start),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
  EXPECT_TRUE(DragNodeTo(*viewport, centre));
  EXPECT_EQ(Arbol().DropHighlight(), NodeOf("KIVA"));
  EXPECT_TRUE(IndexOf("KIVA").data(Qt::BackgroundRole).isValid());
  QCursor::setPos(Window().mapToGlobal(QPoint(-50, -50)));
  QDragLeaveEvent leave;
  QApplication::sendEvent(viewport, &leave);
  EXPECT_FALSE(Arbol().DropHighlight());

  DragNodeTo(*viewport, RowCentre("K0001"), true);
  EXPECT_TRUE(session->Messages().empty()) << "not inside the drag";
  QApplication::processEvents();
  EXPECT_EQ(session->ErrorIds(), std::vector<std::string>{"ERR-ID:7500007"});
}

TEST_F(EditorWindowTest, AnErrorEscapingAHandlerShowsOneCriticalBoxInPlainText) {
  utility->SetFinder(
      [](const Lookup&) -> std::string { throw RuntimeError(3704, "<i>connection lost</i>"); });
  MessageBoxWatcher box(Qt::Key_Return);
  ClickNode("KIVA");
  EXPECT_EQ(box.icon, QMessageBox::Critical);
  EXPECT_TRUE(box.text.contains("3704"));
  EXPECT_TRUE(box.text.contains("<i>connection lost</i>"));
  EXPECT_EQ(box.format, Qt::PlainText);
}

TEST_F(EditorWindowTest, TheHourglassIsTheScreensPointerUntilTheDefaultReturns) {
  runtime.SetMousePointer(MousePointer::Hourglass);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  runtime.SetMousePointer(MousePointer::Default);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace xel::testing
