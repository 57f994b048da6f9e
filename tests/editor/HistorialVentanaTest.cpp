#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/KeyCodes.h"
#include "store/Historial.h"
#include "tests/support/DialogoFixture.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {
namespace {

using Texts = std::vector<std::string>;

struct HistorialVentanaTest : OnEveryBackend<DialogoFixture> {
  HistorialVentanaTest() {
    AddSmallStore();
    store.Db().Execute("DELETE FROM XEL_Historial");  // the rows written straight in, on a server
    Open();
  }
  frmHistorial& Ventana() { return editor.VentanaHistorial(); }
  // The changes the window lists, each without its number and time: "user kind key: what".
  Texts Lista() {
    Texts lineas;
    for (Node n = Ventana().tvCambios.Nodes().FirstRoot(); n; n = n.Next()) {
      lineas.push_back(n.Text().substr(n.Text().find("  ", n.Text().find("  ") + 2) + 2));
    }
    return lineas;
  }
  void CambiaValor(const std::string& valor) {
    Edita("KIVA", [&](frmZULAddVariables& d) {
      d.txtValor.SetText(valor);
      AceptaOCancela(d);
    });
  }
};

// Ctrl+H on a variable lists its changes newest first, filtered by the box; "Restaurar" asks
// first: Cancel keeps the store, OK brings the old value back and the tree shows it.
TEST_P(HistorialVentanaTest, ListsAVariablesChangesAndRestoresOneAfterAsking) {
  CambiaValor("17");
  CambiaValor("18");
  const Texts filas = StoreRows(store.Db());
  Click("KIVA");
  ui.WhenModal([&](Form&) {
    EXPECT_EQ(Lista(),
              (Texts{"ana  variable IVA: valor 17 → 18", "ana  variable IVA: valor 16 → 17"}));
    Ventana().txtFiltro.SetText("VALOR 16");
    Ventana().txtFiltro.UserKeyDown(KeyCode::Enter, 0);
    EXPECT_EQ(Lista(), (Texts{"ana  variable IVA: valor 16 → 17"}));
    session->Answer(MsgCode::Cancel);
    Ventana().tvCambios.UserKeyDown(KeyCode::Enter, 0);
    EXPECT_EQ(StoreRows(store.Db()), filas) << "Cancel restores nothing";
    session->Answer(MsgCode::Ok);
    Ventana().cmdRestaurar.PerformClick();
    Ventana().cmdCerrar.PerformClick();
  });
  editor.UserWindowKey({'H', ShiftState::Control});
  EXPECT_EQ(session->ErrorIds(), (Texts{"ERR-ID:7500041", "ERR-ID:7500041"}));
  EXPECT_EQ(VariableGuardada("IVA"), "0001 16  N");
  Click("KIVA");
  EXPECT_EQ(Ctl("txtDescripcion").Text(), "16") << "the tree was loaded again";
  EXPECT_FALSE(Ventana().Visible());
}

// A store without the history says how to add it, with its own identifier, and opens nothing.
TEST_P(HistorialVentanaTest, AStoreWithoutHistorySaysHowToAddIt) {
  store.Db().Execute("DROP TABLE XEL_Historial");
  Click("KIVA");
  Ctl<FlatButton>("cmdHistorial").PerformClick();
  EXPECT_EQ(session->ErrorIds(), Texts{"ERR-ID:7500040"});
  EXPECT_EQ(ui.ModalShows(), 0);
}

XEL_ON_EVERY_BACKEND(HistorialVentanaTest);

}  // namespace
}  // namespace xel::testing
