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

TEST_F(EscritorioTest, AnArrangementMarksTheWindowAndLeavingOrReloadingAsksWhatToDoWithIt) {
  const Texts guardado = TreeOfStore(store.Db());
  for (const Salida& salida : kSalidas) {
    editor.Show();
    session->ClearMessages();
    Click("K0005");
    salida.hace(*this);
    EXPECT_TRUE(session->Messages().empty())
        << salida.nombre << ": nothing arranged, nothing asked";
    EXPECT_EQ(editor.Loaded(), !salida.cierra) << salida.nombre;
    for (long respuesta : {MsgCode::Yes, MsgCode::No, MsgCode::Cancel}) {
      SCOPED_TRACE(salida.nombre + " answered " + std::to_string(respuesta));
      editor.Show();
      Arregla();
      const Texts arreglado = Shape();
      ASSERT_TRUE(editor.Modified());
      EXPECT_TRUE(Ctl<FlatButton>("cmdGrabar").Emphasized());
      session->ClearMessages();
      session->Answer(respuesta);
      salida.hace(*this);

      ASSERT_EQ(
          session->Avisos(),
          (std::vector<ScriptedSession::Aviso>{{"ERR-ID:7500050", MsgCode::YesNoCancelQuestion}}));
      const bool sigue = respuesta == MsgCode::Cancel;
      EXPECT_EQ(editor.Loaded(), sigue || !salida.cierra);
      EXPECT_EQ(editor.Modified(), sigue);
      EXPECT_EQ(Ctl<FlatButton>("cmdGrabar").Emphasized(), sigue);
      EXPECT_EQ(TreeOfStore(store.Db()) != guardado, respuesta == MsgCode::Yes);
      if (sigue) {
        EXPECT_EQ(Shape(), arreglado) << "cancel keeps the arrangement";
        session->Answer(MsgCode::No);
      }
      // Back to the stored order for the next round, without a question left behind.
      store.Db().Execute(
          "UPDATE XEL_Clase_Variable SET Cv_Id = Cv_Cve_Clase_Variable, Cv_Padre = CASE WHEN "
          "Cv_Cve_Clase_Variable IN ('0002', '0005') THEN '0001' ELSE '0000' END");
      PressF5();
      EXPECT_FALSE(editor.Modified());
    }
  }
}

// After a reload the open classes are open again and the selection is back, details shown; a
// selected entry the store no longer has gives way to its nearest ancestor still there.
TEST_F(EscritorioTest, AReloadKeepsTheOpenNodesAndTheSelectionOrItsNearestRemainingAncestor) {
  struct Caso {
    std::string nombre;
    std::string borra;  // run behind the editor's back before the reload
    std::function<void(Escritorio&)> recarga, repone;
    std::string seleccion, clave;
  };
  const auto f5 = [](Escritorio& e) { e.PressF5(); };
  const Caso casos[] = {
      {"the variable gone", "DELETE FROM XEL_Configuracion WHERE Cf_Variable = 'DESC_MAX'", f5,
       [](Escritorio& e) { e.AddVariable("0002", "DESC_MAX", "15", "N"); }, "K0002", "0002"},
      {"its class gone", "DELETE FROM XEL_Clase_Variable WHERE Cv_Cve_Clase_Variable = '0002'", f5,
       [](Escritorio& e) { e.AddClass("0002", "0002", "0001", "Descuentos"); }, "K0001", "0001"},
      {"Ctrl+S", "",
       [](Escritorio& e) {
         e.editor.UserWindowKey({'S', ShiftState::Control});
       },
       [](Escritorio&) {}, "KDESC_MAX", "DESC_MAX"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nombre);
    for (const char* key : {"K0", "K0001", "K0002", "K0004"}) {
      NodeOf(key).SetExpanded(true);
    }
    Click("KDESC_MAX");
    if (!c.borra.empty()) {
      store.Db().Execute(c.borra);
    }
    c.recarga(*this);
    for (const char* key : {"K0", "K0001", "K0004"}) {
      EXPECT_TRUE(NodeOf(key).Expanded()) << key;
    }
    EXPECT_FALSE(NodeOf("K0005").Expanded()) << "a class closed before stays closed";
    EXPECT_EQ(Arbol().SelectedItem().Key(), c.seleccion);
    EXPECT_EQ(Ctl("txtClave").Text(), c.clave);
    c.repone(*this);
    PressF5();
  }
}

// Insert, F2 and Delete pressed in the tree run the toolbar's commands.
TEST_F(EscritorioTest, InsertF2AndDeleteInTheTreeRunTheToolbarsCommands) {
  for (int key : {45, 113}) {
    Click("K0001");
    AlMostrarse([](frmZULAddVariables& d) { d.cmdCancelar.PerformClick(); });
    const int antes = ui.ModalShows();
    Arbol().UserKeyDown(key, 0);
    EXPECT_EQ(ui.ModalShows(), antes + 1) << key;
  }
  Click("KCUPON");
  Arbol().UserKeyDown(46, 0);
  EXPECT_FALSE(Nodes().Contains("KCUPON"));
}

// The title names the store: a SQLite file by its name, a server's database by server and name,
// and nothing else of its connection, its password least of all.
using TituloTest = OnEveryBackend<Escritorio>;

std::string Atributo(const std::string& conexion, const std::string& nombre) {
  const size_t desde = conexion.find(nombre + "=");
  if (desde == std::string::npos) {
    return "";
  }
  const std::string resto = conexion.substr(desde + nombre.size() + 1);
  return resto.substr(0, resto.find(';'));
}

TEST_P(TituloTest, TheTitleNamesTheOpenStoreAndNeverItsPassword) {
  const std::string conexion = store.ConnectionString();
  std::string almacen = store.Path().filename().string();
  if (GetParam() == Backend::PostgreSql) {
    almacen = Atributo(conexion, "Server") + "/" + Atributo(conexion, "Database");
  }
  EXPECT_EQ(editor.Caption(), "Variables del sistema — " + almacen);
  EXPECT_EQ(Barra().Caption(), "Variables del sistema");
}

XEL_ON_EVERY_BACKEND(TituloTest);

}  // namespace
}  // namespace xel::testing
