// Two administrators at work on one store at the same time, each in an editor window of their own
// through a connection of their own. Neither loses what the other wrote: the store's keys refuse
// the write that slips between the other's check and write, a change of what the other deleted
// says the record is gone, and after F5 both windows show everything both did.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>

#include "tests/editor/DialogoFixture.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {
namespace {

using Texts = std::vector<std::string>;

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

XEL_ON_EVERY_BACKEND(DosAdministradoresTest);

}  // namespace
}  // namespace xel::testing
