#include <gtest/gtest.h>

#include <QTimer>

#include "qt/Screenshot.h"
#include "store/ContenidoDelStore.h"
#include "store/Historial.h"
#include "tests/qt/QtFixture.h"

namespace xel::testing {
namespace {

struct HistoryWindowTest : QtEditorFixture {
  HistoryWindowTest() {
    AddSmallStore();
    Historial history = Historial::De(store.Db(), "ana");
    CambiaValor(history, "IVA", "17");
    CambiaValor(history, "IVA", "18");
    Open();
  }
};

// Ctrl+H on a variable shows its window listing its changes; Escape closes it. XEL02_HISTORY_PNG
// names a file to draw it in.
TEST_F(HistoryWindowTest, CtrlHOpensTheListOfChangesAndEscapeClosesIt) {
  ClickNode("KIVA");
  frmHistorial& history = editor.VentanaHistorial();
  int rows = -1;
  bool closedByEscape = false;
  QTimer::singleShot(0, [&] {
    auto& list = testing::WidgetOf<NodeTreeWidget>(ui, history, "tvCambios");
    rows = list.model()->rowCount();
    if (const char* png = std::getenv("XEL02_HISTORY_PNG")) {
      SaveScreenshot(ui, history, png);
    }
    QApplication::setActiveWindow(&WindowOf(ui, history));
    QTest::keyClick(&WindowOf(ui, history), Qt::Key_Escape);
    QApplication::processEvents();
    closedByEscape = !history.Visible();
    history.Hide();  // should Escape not reach it, the test still ends
  });
  QTest::keyClick(&Tree(), Qt::Key_H, Qt::ControlModifier);
  EXPECT_EQ(rows, 2);
  EXPECT_TRUE(closedByEscape);
}

}  // namespace
}  // namespace xel::testing
