// Two administrators at work on one store at the same time, each in an editor window of their own
// through a connection of their own. Neither loses what the other wrote: the store's keys refuse
// the write that slips between the other's check and write, a change of what the other deleted
// says the record is gone, a change or a save over what the other changed since asks first, and
// after F5 both windows show everything both did.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

#include "store/Statements.h"
#include "tests/editor/DialogoFixture.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {
namespace {

using Texts = std::vector<std::string>;

// A record both can change: where the tree shows it, and the column the dialog's value box shows.
struct Registro {
  std::string nodo, clave;
  const char *tabla, *columnaClave, *columnaValor;
  std::string errorId, rotulo;
  std::string (*lectura)(const std::string&);
};
const Registro kRegistros[] = {
    {"KIVA", "IVA", "XEL_Configuracion", "Cf_Variable", "Cf_Valor", "ERR-ID:7500020",
     "Valor guardado", &sql::VariablePorClave},
    {"K0003", "0003", "XEL_Clase_Variable", "Cv_Cve_Clase_Variable", "Cv_Descripcion",
     "ERR-ID:7500021", "Descripción guardada", &sql::ClasePorClave},
};

// RAIZ > Almacen, Compras, Ventas (Descuentos (DESC_MAX), IVA, MONEDA), open in both windows: the
// fixture's own is the first administrator's, `otra` the second's.
struct DosAdministradoresTest : OnEveryBackend<DialogoFixture> {
  std::unique_ptr<Connection> otraConexion = store.OpenAnother();
  VentanaEditor otra{*otraConexion};

  DosAdministradoresTest() {
    AddSmallStore();
    Open();
    otra.Open();
  }

  // The first administrator's next look-up reads the store as it is; the other then does
  // `entretanto` before the first one goes on to write.
  void EntreBusquedaYEscritura(std::function<void()> entretanto) {
    utility->SetFinder([this, entretanto = std::move(entretanto)](const Lookup& l) mutable {
      std::string encontrado =
          BuscarCampoEnStore(store.Db(), l.table, l.searchColumn, l.searchValue, l.resultColumn);
      if (entretanto) {
        std::exchange(entretanto, nullptr)();
      }
      return encontrado;
    });
  }

  // What the first administrator must see once the store refused the write: the store's own words
  // under the dialog's failure title, the transaction rolled back, the dialog still open with
  // nothing accepted, and the store as the other left it, through either connection.
  void CompruebaNegativa(const frmZULAddVariables& dialogo, const Texts& guardado) {
    EXPECT_TRUE(dialogo.Visible());
    EXPECT_FALSE(dialogo.Add);
    ASSERT_EQ(session->ErrorIds(), Texts{"ERR-ID:7500016"});
    EXPECT_EQ(session->Messages()[0].title, "Cmd_Aceptar()");
    ASSERT_EQ(db.Calls().size(), 3u);
    EXPECT_EQ(db.Calls()[2], "RollbackTrans");
    EXPECT_FALSE(store.Db().InTransaction());
    EXPECT_EQ(session->Messages()[0].prompt, NegativaDelStore(db.Calls()[1]));
    EXPECT_EQ(DumpStore(store.Db()), guardado);
    EXPECT_EQ(DumpStore(*otraConexion), guardado);
    EXPECT_TRUE(otra.session->Messages().empty());
  }
  // The other changes the record's shown value, stamping it with a time of its own: two writes of
  // a fast test may fall in one millisecond of the server's clock.
  void OtraEscribe(const Registro& r, const std::string& valor, const std::string& fecha) {
    otraConexion->Execute(std::string("UPDATE ") + r.tabla + " SET " + r.columnaValor + " = '" +
                          valor + "', Fecha_Ult_Modif = '" + fecha + "' WHERE " + r.columnaClave +
                          " = '" + r.clave + "'");
  }
  std::string Guardado(const Registro& r) {
    return Guardada(std::string(r.tabla) + " WHERE " + r.columnaClave, r.clave, {r.columnaValor});
  }
  std::string Aviso(const Registro& r, const std::string& fecha, const std::string& cuando,
                    const std::string& valor) {
    return "El registro " + r.clave + " fue modificado por otro usuario el " + fecha + " " +
           cuando + ". " + r.rotulo + ": " + valor + ".";
  }
  void Graba() { editor.cmdGrabar.PerformClick(); }
  bool PosicionesUnicas() {
    return Filas("(SELECT DISTINCT Cv_Id FROM XEL_Clase_Variable) AS d") ==
           Filas("XEL_Clase_Variable");
  }
  // After F5 both windows show the whole store.
  void AmbosRecargan() {
    PressF5();
    otra.PressF5();
    EXPECT_EQ(TreeShown(Nodes()), TreeOfStore(store.Db()));
    EXPECT_EQ(TreeShown(otra.Nodes()), TreeShown(Nodes()));
  }
};

TEST_P(DosAdministradoresTest, EachAddsAndDeletesAndAfterF5BothSeeEverythingBothDid) {
  Agrega("K0001", [](frmZULAddVariables& d) {
    LlenaVariable(d, "TOPE", 0, "30");
    d.cmdAceptar.PerformClick();
  });
  otra.Agrega("K0", [](frmZULAddVariables& d) {
    EXPECT_EQ(d.txtClave.Text(), "0005");
    d.txtValor.SetText("Tesoreria");
    d.cmdAceptar.PerformClick();
  });
  Agrega("K0", [](frmZULAddVariables& d) {
    EXPECT_EQ(d.txtClave.Text(), "0006") << "the other's new class is counted";
    EXPECT_EQ(d.txtID.Text(), "0006");
    d.txtValor.SetText("Nomina");
    d.cmdAceptar.PerformClick();
  });
  otra.Borra("KIVA");

  EXPECT_TRUE(session->Messages().empty()) << session->Messages()[0].prompt;
  EXPECT_TRUE(otra.session->Messages().empty()) << otra.session->Messages()[0].prompt;
  EXPECT_EQ(Texts({VariableGuardada("TOPE"), VariableGuardada("IVA"), ClaseGuardada("0005"),
                   ClaseGuardada("0006")}),
            (Texts{"0001 30  N", "(none)", "0005 0000 Tesoreria", "0006 0000 Nomina"}));
  EXPECT_TRUE(Nodes().Contains("KIVA")) << "a window shows another's work only after F5";
  AmbosRecargan();
  EXPECT_FALSE(Nodes().Contains("KIVA"));
}

// The other writes the same key in another letter case while the first administrator's dialog has
// found it free: the store's key refuses the second row, and a corrected key then goes through.
TEST_P(DosAdministradoresTest, AVariableKeyWrittenBetweenTheCheckAndTheWriteIsRefusedByTheStore) {
  Texts trasLaOtra;
  Agrega("K0001", [&](frmZULAddVariables& d) {
    LlenaVariable(d, "TOPE", 0, "30");
    EntreBusquedaYEscritura([&] {
      otra.Agrega("K0003", [](frmZULAddVariables& b) {
        LlenaVariable(b, "tope", 2, "de la otra");
        b.cmdAceptar.PerformClick();
      });
      trasLaOtra = DumpStore(*otraConexion);
    });
    db.Clear();
    d.cmdAceptar.PerformClick();
    CompruebaNegativa(d, trasLaOtra);

    d.txtClave.SetText("TOPE2");
    d.cmdAceptar.PerformClick();
    EXPECT_TRUE(d.Add);
  });
  EXPECT_EQ(VariableGuardada("tope"), "0003 de la otra  T") << "the other's row is intact";
  EXPECT_EQ(VariableGuardada("TOPE2"), "0001 30  N");
  AmbosRecargan();
  EXPECT_EQ(NodeOf("Ktope").Parent().Key(), "K0003");
}

// Both add a class under the root and are offered the same code; the other accepts in between the
// first one's check and write. The code cannot be typed over, so the first gives up, and the next
// add is offered a free code.
TEST_P(DosAdministradoresTest, AClassCodeBothWereOfferedIsKeptByTheFirstToWrite) {
  Texts trasLaOtra;
  Agrega("K0", [&](frmZULAddVariables& d) {
    EXPECT_EQ(d.txtClave.Text(), "0005");
    d.txtValor.SetText("De una");
    EntreBusquedaYEscritura([&] {
      otra.Agrega("K0", [](frmZULAddVariables& b) {
        EXPECT_EQ(b.txtClave.Text(), "0005");
        b.txtValor.SetText("De la otra");
        b.cmdAceptar.PerformClick();
      });
      trasLaOtra = DumpStore(*otraConexion);
    });
    db.Clear();
    d.cmdAceptar.PerformClick();
    CompruebaNegativa(d, trasLaOtra);
    d.cmdCancelar.PerformClick();
  });
  EXPECT_EQ(ClaseGuardada("0005"), "0005 0000 De la otra");
  EXPECT_FALSE(Nodes().Contains("K0005"));
  Agrega("K0", [](frmZULAddVariables& d) {
    EXPECT_EQ(d.txtClave.Text(), "0006");
    d.cmdCancelar.PerformClick();
  });
  AmbosRecargan();
}

// The first administrator deletes what the other has open in the dialog; the other's change reaches
// no row, is rolled back and says so, and neither recreates nor loses anything.
TEST_P(DosAdministradoresTest, AChangeOfWhatTheOtherDeletedMeanwhileSaysTheRecordIsGone) {
  struct Caso {
    std::string nodo, clave;
    Usuario cambia;
  };
  const std::vector<Caso> casos{
      {"KIVA", "IVA", [](frmZULAddVariables& d) { d.txtValor.SetText("17"); }},
      {"K0003", "0003", [](frmZULAddVariables& d) { d.txtValor.SetText("Compras nacionales"); }},
  };
  for (const Caso& c : casos) {
    otra.session->ClearMessages();
    Texts trasBorrar;
    otra.Edita(c.nodo, [&](frmZULAddVariables& d) {
      Borra(c.nodo);
      trasBorrar = DumpStore(store.Db());
      c.cambia(d);
      otra.db.Clear();
      d.cmdAceptar.PerformClick();
      EXPECT_TRUE(d.Visible()) << c.clave;
      EXPECT_FALSE(d.Add) << c.clave;
      d.cmdCancelar.PerformClick();
    });
    EXPECT_FALSE(Nodes().Contains(c.nodo)) << c.clave;
    ASSERT_EQ(otra.session->ErrorIds(), Texts{"ERR-ID:7500016"}) << c.clave;
    const std::string& prompt = otra.session->Messages()[0].prompt;
    EXPECT_NE(prompt.find("El registro " + c.clave + " ya no existe"), std::string::npos) << prompt;
    EXPECT_EQ(otra.db.Calls().back(), "RollbackTrans") << c.clave;
    EXPECT_FALSE(otraConexion->InTransaction()) << c.clave;
    EXPECT_EQ(DumpStore(*otraConexion), trasBorrar) << c.clave;
    EXPECT_TRUE(otra.Nodes().Contains(c.nodo)) << "gone from the other's tree only after F5";
  }
  AmbosRecargan();
  EXPECT_FALSE(otra.Nodes().Contains("K0003"));
}

// The dialog shows the record as stored when it opens; whatever the other writes after that is
// shown, with its time, before it is overwritten, and checked once more inside the write.
TEST_P(DosAdministradoresTest, AChangeOverWhatTheOtherWroteSinceTheOpeningIsAskedForFirst) {
  for (const Registro& r : kRegistros) {
    session->ClearMessages();
    Click(r.nodo);
    OtraEscribe(r, "17", "2031-05-06 07:08:09");
    AlMostrarse([&](frmZULAddVariables& d) {
      EXPECT_EQ(d.txtValor.Text(), "17") << "what is stored at the opening, not the pane's";
      OtraEscribe(r, "18", "2031-05-06 07:08:10");
      const Texts trasLaOtra = DumpStore(store.Db());
      d.txtValor.SetText("20");
      db.Clear();
      session->Answer(MsgCode::Cancel);
      d.cmdAceptar.PerformClick();
      ASSERT_EQ(session->ErrorIds(), Texts{r.errorId});
      EXPECT_EQ(
          session->Messages()[0].prompt,
          Aviso(r, "2031-05-06 07:08:10", "después de abrirlo", "18") + " ¿Desea sobrescribirlo?");
      EXPECT_EQ(session->Messages()[0].code, MsgCode::OkCancelQuestion);
      EXPECT_EQ(db.Calls(), Texts{r.lectura(r.clave)}) << "no transaction waits on the user";
      EXPECT_EQ(DumpStore(store.Db()), trasLaOtra);
      EXPECT_TRUE(d.Visible() && !d.Add && d.txtValor.Text() == "20") << r.clave;

      // Agreed to, but the other writes once more before the transaction begins.
      Texts trasOtraVez;
      session->Answer(MsgCode::Ok, [&] {
        OtraEscribe(r, "19", "2031-05-06 07:08:11");
        trasOtraVez = DumpStore(*otraConexion);
      });
      db.Clear();
      d.cmdAceptar.PerformClick();
      ASSERT_EQ(session->ErrorIds(), (Texts{r.errorId, r.errorId, "ERR-ID:7500016"}));
      EXPECT_EQ(session->Messages()[2].prompt,
                Aviso(r, "2031-05-06 07:08:11", "mientras se grababa", "19") +
                    " No se grabó el cambio; pulse Aceptar de nuevo para decidir si lo "
                    "sobrescribe.");
      EXPECT_EQ(db.Calls(),
                (Texts{r.lectura(r.clave), "BeginTrans",
                       sql::Bloqueando(r.lectura(r.clave), r.tabla, store.Db().Dialect()),
                       "RollbackTrans"}))
          << "inside the transaction the row is read locked";
      EXPECT_EQ(DumpStore(store.Db()), trasOtraVez);
      EXPECT_TRUE(d.Visible() && !d.Add) << r.clave;

      d.cmdAceptar.PerformClick();
      ASSERT_EQ(session->Messages().size(), 4u);
      EXPECT_NE(session->Messages()[3].prompt.find(r.rotulo + ": 19."), std::string::npos);
      EXPECT_TRUE(d.Add) << r.clave;
    });
    editor.Controles.ClickEdit();
    EXPECT_EQ(Guardado(r), "20") << r.clave;
  }
}

// What the other does to the classes while the first administrator's tree stays as loaded; each
// through the other's window, in turn.
struct CambioDeClases {
  std::string caso;
  std::function<void(VentanaEditor&)> hace;
  std::string clave, padreTrasGrabar;  // where the first one's save leaves a class ("": gone)
};
std::vector<CambioDeClases> CambiosDeClases() {
  return {
      {"adds a sub-class",
       [](VentanaEditor& otra) {
         otra.Agrega("K0002", [](frmZULAddVariables& d) {
           d.txtValor.SetText("De la otra");
           d.cmdAceptar.PerformClick();
         });
       },
       "K0005", "K0002"},
      {"deletes a class", [](VentanaEditor& otra) { otra.Borra("K0004"); }, "K0004", ""},
      {"moves a class and saves",
       [](VentanaEditor& otra) {
         otra.Drag("K0003", "K0001");
         otra.editor.cmdGrabar.PerformClick();
       },
       "K0003", "K0"},
  };
}

TEST_P(DosAdministradoresTest, ASaveAfterTheOtherChangedTheClassesAsksAndDeclinedShowsTheirWork) {
  for (const CambioDeClases& c : CambiosDeClases()) {
    otra.PressF5();
    c.hace(otra);
    const Texts trasLaOtra = DumpStore(store.Db());
    session->ClearMessages();
    db.Clear();
    session->Answer(MsgCode::Cancel);
    Graba();
    ASSERT_EQ(session->ErrorIds(), Texts{"ERR-ID:7500022"}) << c.caso;
    EXPECT_TRUE(session->Messages()[0].prompt.starts_with(
        "El almacén cambió desde que se cargó el árbol: otro usuario agregó, eliminó o movió "
        "clases."));
    EXPECT_EQ(DumpStore(store.Db()), trasLaOtra) << c.caso;
    EXPECT_EQ(std::ranges::count(db.Calls(), "BeginTrans"), 0) << c.caso;
    EXPECT_EQ(TreeShown(Nodes()), TreeOfStore(store.Db())) << c.caso << ": reloaded";
  }
}

// Agreed to, the first one's tree is written: a class the other added keeps its parent and takes a
// position of its own, a class the other deleted stays deleted. A change in between fails the save.
TEST_P(DosAdministradoresTest, ASaveAgreedToKeepsTheOthersClassesWhereTheyBelong) {
  for (const CambioDeClases& c : CambiosDeClases()) {
    otra.PressF5();
    c.hace(otra);
    session->ClearMessages();
    Graba();
    ASSERT_EQ(session->ErrorIds(), Texts{"ERR-ID:7500022"}) << c.caso;
    EXPECT_TRUE(PosicionesUnicas()) << c.caso;
    EXPECT_EQ(TreeShown(Nodes()), TreeOfStore(store.Db())) << c.caso;
    EXPECT_EQ(Nodes().Contains(c.clave) ? NodeOf(c.clave).Parent().Key() : "", c.padreTrasGrabar)
        << c.caso;
  }

  Click("K0003");
  editor.tvVariables.UserKeyPress('-');
  const Texts arreglado = Shape();
  Texts trasLaOtra;
  session->ClearMessages();
  otra.Borra("K0005");
  session->Answer(MsgCode::Ok, [&] {
    otra.Borra("K0002");
    trasLaOtra = DumpStore(*otraConexion);
  });
  Graba();
  ASSERT_EQ(session->ErrorIds(), (Texts{"ERR-ID:7500022", "ERR-ID:7500005"}));
  EXPECT_TRUE(session->Messages()[1].prompt.starts_with(
      "Otro usuario agregó, eliminó o movió clases mientras se grababa el árbol"));
  EXPECT_EQ(DumpStore(store.Db()), trasLaOtra);
  EXPECT_FALSE(store.Db().InTransaction());
  EXPECT_EQ(Shape(), arreglado) << "the arrangement stays to be saved again";
}

// Descriptions, classes no reload can show and the window's own writes are no news to its save.
TEST_P(DosAdministradoresTest, NeitherDescriptionsNorHiddenClassesNorOwnWritesRaiseAQuestion) {
  otra.Edita("K0003", [](frmZULAddVariables& d) {
    d.txtValor.SetText("Compras nacionales");
    d.cmdAceptar.PerformClick();
  });
  otraConexion->Execute(
      "INSERT INTO XEL_Clase_Variable (Cv_Cve_Clase_Variable, Cv_Id, Cv_Padre, Cv_Descripcion) "
      "VALUES ('0009', '0002', '0099', 'Huerfana')");  // its link names no class
  Agrega("K0002", [](frmZULAddVariables& d) {
    d.txtValor.SetText("Propia");
    d.cmdAceptar.PerformClick();
  });
  Borra("K0004");
  for (const std::string valor : {"17", "18"}) {
    Edita("KIVA", [&](frmZULAddVariables& d) {
      d.txtValor.SetText(valor);
      d.cmdAceptar.PerformClick();
    });
  }
  Graba();
  EXPECT_EQ(session->ErrorIds(), Texts{"ERR-ID:7500006"}) << "only the delete's confirmation";
  EXPECT_TRUE(PosicionesUnicas());
  EXPECT_EQ(TreeShown(Nodes()), TreeOfStore(store.Db()));
  EXPECT_EQ(NodeOf("K0010").Parent().Key(), "K0002");
  EXPECT_EQ(NodeOf("K0009").Parent().Key(), "K0") << "a class whose parent is gone goes to the top";
}

XEL_ON_EVERY_BACKEND(DosAdministradoresTest);

}  // namespace
}  // namespace xel::testing
