// The editor as a desktop user expects it: an unsaved arrangement is never lost without a question,
// a reload keeps what was open and selected, the keyboard reaches everything, the title names the
// store, and the tree follows the window's size.

#include <gtest/gtest.h>

#include <functional>

#include "platform/forms/KeyCodes.h"
#include "tests/support/EditorFixture.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {
namespace {

using Texts = std::vector<std::string>;

// Ventas holds Descuentos (with DESC_MAX) and Promociones (with CUPON), in that order.
struct Escritorio : EditorFixture {
  explicit Escritorio(Backend backend = Backend::Sqlite) : EditorFixture(backend) {
    AddSmallStore();
    AddClass("0005", "0005", "0001", "Promociones");
    AddVariable("0005", "CUPON", "X1");
    Open();
  }
  // Promociones goes before Descuentos: an arrangement only the tree knows.
  void Arregla() {
    Click("K0005");
    Arbol().UserKeyPress('+');
  }
};

struct Salida {
  std::string nombre;
  std::function<void(Escritorio&)> hace;
  bool cierra;  // leaving the window, rather than reloading the tree
};

const Salida kSalidas[] = {
    {"Salir", [](Escritorio& e) { e.Barra().ClickExit(); }, true},
    {"closing the window", [](Escritorio& e) { e.editor.RequestClose(); }, true},
    {"the host unloading it", [](Escritorio& e) { e.editor.Unload(); }, true},
    {"F5", [](Escritorio& e) { e.PressF5(); }, false},
};

using EscritorioTest = Escritorio;

// Nothing arranged (answer 0), nothing is asked; an arrangement is asked about, kept on Cancel.
TEST_F(EscritorioTest, AnArrangementMarksTheWindowAndLeavingOrReloadingAsksWhatToDoWithIt) {
  const Texts guardado = TreeOfStore(store.Db());
  for (const Salida& salida : kSalidas) {
    for (long respuesta : {0L, MsgCode::Yes, MsgCode::No, MsgCode::Cancel}) {
      SCOPED_TRACE(salida.nombre + " answered " + std::to_string(respuesta));
      editor.Show();
      session->ClearMessages();
      if (respuesta != 0) {
        Arregla();
        session->Answer(respuesta);
      }
      const Texts arreglado = Shape();
      EXPECT_EQ(Ctl<FlatButton>("cmdGrabar").Emphasized(), respuesta != 0);
      salida.hace(*this);

      using Avisos = std::vector<ScriptedSession::Aviso>;
      const Avisos pregunta{{"ERR-ID:7500050", MsgCode::YesNoCancelQuestion}};
      EXPECT_EQ(session->Avisos(), respuesta == 0 ? Avisos{} : pregunta);
      const bool sigue = respuesta == MsgCode::Cancel;
      EXPECT_EQ(editor.Loaded(), sigue || !salida.cierra);
      EXPECT_EQ(editor.Modified(), sigue);
      EXPECT_EQ(TreeOfStore(store.Db()) != guardado, respuesta == MsgCode::Yes);
      if (sigue) {
        EXPECT_EQ(Shape(), arreglado);
        session->Answer(MsgCode::No);
      }
      // Back to the stored order for the next round.
      store.Db().Execute(
          "UPDATE XEL_Clase_Variable SET Cv_Id = Cv_Cve_Clase_Variable, Cv_Padre = CASE WHEN "
          "Cv_Cve_Clase_Variable IN ('0002', '0005') THEN '0001' ELSE '0000' END");
      PressF5();
    }
  }
}

// A save (Ctrl+S) and a reload keep the open classes open and the selection, details shown; a
// selected entry the store no longer has gives way to its nearest ancestor still there.
TEST_F(EscritorioTest, AReloadKeepsTheOpenNodesAndTheSelectionOrItsNearestRemainingAncestor) {
  for (const char* key : {"K0", "K0001", "K0002", "K0004"}) {
    NodeOf(key).SetExpanded(true);
  }
  Click("KDESC_MAX");
  editor.UserWindowKey({'S', ShiftState::Control});
  EXPECT_EQ(Arbol().SelectedItem().Key() + "|" + Ctl("txtClave").Text(), "KDESC_MAX|DESC_MAX");
  store.Db().Execute("DELETE FROM XEL_Clase_Variable WHERE Cv_Cve_Clase_Variable = '0002'");
  PressF5();
  for (const char* key : {"K0", "K0001", "K0004"}) {
    EXPECT_TRUE(NodeOf(key).Expanded()) << key;
  }
  EXPECT_FALSE(NodeOf("K0005").Expanded()) << "a class closed before stays closed";
  EXPECT_EQ(Arbol().SelectedItem().Key() + "|" + Ctl("txtClave").Text(), "K0001|0001");
}

// Insert, F2 and Delete pressed in the tree run the toolbar's add, edit and delete.
TEST_F(EscritorioTest, InsertF2AndDeleteInTheTreeRunTheToolbarsCommands) {
  for (auto [key, nuevo] : {std::pair{KeyCode::Insert, true}, {KeyCode::F2, false}}) {
    Click("K0001");
    AlMostrarse([&](frmZULAddVariables& d) {
      EXPECT_EQ(d.EsNuevo, nuevo) << key;
      d.cmdCancelar.PerformClick();
    });
    Arbol().UserKeyDown(key, 0);
  }
  EXPECT_EQ(ui.ModalShows(), 2);
  Click("KCUPON");
  Arbol().UserKeyDown(KeyCode::Delete, 0);
  EXPECT_FALSE(Nodes().Contains("KCUPON"));
}

// The title names the store: a SQLite file by its name, a server's database by server and name,
// and nothing else of its connection, its password least of all.
using TituloTest = OnEveryBackend<Escritorio>;

TEST_P(TituloTest, TheTitleNamesTheOpenStoreAndNeverItsPassword) {
  const auto atributo = [conexion = store.ConnectionString()](const std::string& nombre) {
    const size_t desde = conexion.find(nombre + "=") + nombre.size() + 1;
    return conexion.substr(desde, conexion.find(';', desde) - desde);
  };
  const std::string almacen = GetParam() == Backend::Sqlite
                                  ? store.Path().filename().string()
                                  : atributo("Server") + "/" + atributo("Database");
  EXPECT_EQ(editor.Caption(), "Variables del sistema — " + almacen);
  EXPECT_EQ(Barra().Caption(), "Variables del sistema");
}

XEL_ON_EVERY_BACKEND(TituloTest);

}  // namespace
}  // namespace xel::testing
