#include <gtest/gtest.h>

#include <algorithm>

#include "component/Avisos.h"
#include "store/Sql.h"
#include "store/Statements.h"
#include "tests/support/DialogoFixture.h"
#include "tests/support/FaultyConnection.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {
namespace {

using Texts = std::vector<std::string>;

// What the user fills in: variable mode with a key, a type (-1: none), a value and a description;
// or a class's code and description.
VentanaEditor::Usuario Variable(const std::string& clave, int tipo, const std::string& valor = "5",
                                const std::string& descripcion = "") {
  return [=](frmZULAddVariables& d) {
    DialogoFixture::LlenaVariable(d, clave, tipo, valor, descripcion);
  };
}
VentanaEditor::Usuario Clase(const std::string& codigo, const std::string& descripcion) {
  return [=](frmZULAddVariables& d) {
    d.txtClave.SetText(codigo);
    d.txtValor.SetText(descripcion);
  };
}

// The data go in one pass: a datum holding a placeholder is shown as typed.
TEST(RedactaTest, PutsEachDatumInPlaceOfItsNumberOnly) {
  EXPECT_EQ(Redacta("Pasar: %1, hijo de: %2", {"A", "B"}), "Pasar: A, hijo de: B");
  EXPECT_EQ(Redacta("%1 ¿Desea?", {"50%1 %2"}), "50%1 %2 ¿Desea?");
  EXPECT_EQ(Redacta("100% %2 %", {"x"}), "100% %2 %");
}

// The class 0003 sits at position 0003; codes go up to 0006 and positions up to 0011.
struct AceptarTest : OnEveryBackend<DialogoFixture> {
  AceptarTest() {
    AddClass("0003", "0003", "0000", "Compras");
    AddClass("0006", "0011", "0000", "Otros");
    AddClass("0005", "0005", "0003", "Viejas");
    AddVariable("0005", "IVA", "15", "T", "Antes");
    Open();
  }
  void Escribe(const std::string& nodo, bool nuevo, const Usuario& usuario) {
    nuevo ? Agrega(nodo, usuario) : Edita(nodo, usuario);
  }
};

// Each check refuses with its own message, in order, keeps the dialog open with the focus where the
// user is to correct, and writes nothing.
TEST_P(AceptarTest, EachCheckRefusesWithItsOwnMessageInOrderAndWritesNothing) {
  const struct {
    std::string nodo;  // where the add starts
    VentanaEditor::Usuario llena;
    std::string errorId;
    std::string foco;  // a refusal moves the focus on from the button, or leaves it there
  } rechazos[] = {
      {"K0005", Variable("X", -1), "ERR-ID:7500008", "cboTipo"},
      {"K0", Variable("RAIZVAR", 0), "ERR-ID:7500010", "cmdAceptar"},
      {"K0005",
       [](frmZULAddVariables& d) {
         LlenaVariable(d, "X", -1, "5");
         d.opVariable.SetValue(false);
       },
       "ERR-ID:7500012", "txtClave"},
      {"K0005", Clase("0007", "   "), "ERR-ID:7500013", "txtValor"},
      {"K0003", Variable("IVA", 0), "ERR-ID:7500014", "cmdAceptar"},
  };
  for (const auto& r : rechazos) {
    session->ClearMessages();
    db.Clear();
    Agrega(r.nodo, [&](frmZULAddVariables& d) {
      r.llena(d);
      d.cmdAceptar.PerformClick();
      EXPECT_TRUE(d.Visible() && !d.Add) << r.errorId;
      EXPECT_EQ(Dialogo().ActiveControl()->Name(), r.foco) << r.errorId;
      d.cmdCancelar.PerformClick();
    });
    EXPECT_EQ(session->ErrorIds(), Texts{r.errorId});
    EXPECT_EQ(session->Messages()[0].owner, Dialogo().hWnd()) << r.errorId;
    EXPECT_EQ(db.Calls().size(), 2u) << r.errorId << ": the proposals, and no transaction";
  }
}

// A history entry, whatever it holds (RowsByHistory checks what it holds).
constexpr char kEntrada[] = "INSERT INTO XEL_Historial";
Texts SinDetalleDeEntradas(Texts llamadas) {
  std::ranges::replace_if(
      llamadas, [](const std::string& l) { return l.starts_with(kEntrada); }, kEntrada);
  return llamadas;
}

// The four writes: a class and a variable, each added and changed.
struct Caso {
  std::string nodo;
  bool nuevo;
  VentanaEditor::Usuario llena;
  std::string sentencia, clave, guardado;  // the row written, as it is stored

  // The accept's calls: a change reads its record before the transaction and again inside it;
  // the write's history entry follows it. Inside, the read locks the row.
  Texts Llamadas(SqlDialect dialect = SqlDialect::Sqlite) const {
    if (nuevo) {
      return {"BeginTrans", sentencia, kEntrada, "CommitTrans"};
    }
    const bool clase = clave.starts_with("00");
    const std::string lectura = clase ? sql::ClasePorClave(clave) : sql::VariablePorClave(clave);
    const std::string bloqueo =
        sql::Bloqueando(lectura, clase ? sql::XEL_Clase_Variable : sql::XEL_Configuracion, dialect);
    return {lectura, "BeginTrans", bloqueo, sentencia, kEntrada, "CommitTrans"};
  }
};
std::vector<Caso> Escrituras() {
  return {
      {"K0003", true, Clase("0007", "Ventas"),
       "INSERT INTO XEL_Clase_Variable (Cv_Cve_Clase_Variable, Cv_Padre, Cv_Id, Cv_Descripcion, "
       "Fecha_Ult_Modif) VALUES('0007', '0003', '0012', 'Ventas',getdate())",
       "0007", "0012 0003 Ventas"},
      {"K0005", false, Clase("0005", "Ventas"),
       "UPDATE XEL_Clase_Variable SET    Cv_Descripcion = 'Ventas',   Fecha_Ult_Modif = getdate() "
       "WHERE Cv_Cve_Clase_Variable = '0005' ",
       "0005", "0005 0003 Ventas"},
      {"K0005", true, Variable("  ISR  ", 0, "16", "Tasa"),
       "INSERT INTO XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable, Cf_Valor, "
       "Cf_Descripcion, Cf_Tipo,Fecha_Ult_Modif ) VALUES('0005', 'ISR', '16', "
       "'Tasa','N',getdate())",
       "ISR", "0005 16 Tasa N"},
      {"KIVA", false, Variable("IVA", 0, "16", "Tasa"),
       "UPDATE XEL_Configuracion SET Cf_Valor = '16', Cf_Tipo = 'N', Cf_Descripcion = 'Tasa', "
       "Fecha_Ult_Modif = getdate() WHERE Cf_Variable = 'IVA' ",
       "IVA", "0005 16 Tasa N"},
  };
}

// Each write sends its statement, which stamps its row with the server's clock, in a transaction
// with its history entry, and keeps the statement in the shared buffer.
TEST_P(AceptarTest, EachWriteSendsItsStatementInATransactionAndStampsItsRow) {
  const Texts filas = StoreRows(store.Db());
  for (const Caso& c : Escrituras()) {
    Escribe(c.nodo, c.nuevo, [&](frmZULAddVariables& d) {
      c.llena(d);
      db.Clear();
      d.cmdAceptar.PerformClick();
      EXPECT_TRUE(d.Add);
    });
    EXPECT_TRUE(session->Messages().empty());
    EXPECT_EQ(SinDetalleDeEntradas(db.Calls()), c.Llamadas(store.Db().Dialect()));
    EXPECT_EQ(publico.sSQL, c.sentencia);
    EXPECT_EQ(c.clave.starts_with("00") ? ClaseGuardada(c.clave) : VariableGuardada(c.clave),
              c.guardado);
  }
  EXPECT_EQ(RowsByHistory(filas, store.Db()), StoreRows(store.Db())) << "each write has its entry";
}

// Each call of each of the four writes fails in turn: the store keeps every row, no transaction
// stays open, the failure is told once and the tree shows nothing new.
TEST_P(AceptarTest, AFailureAtAnyCallOfEachWriteLeavesStoreTreeAndTransactionAsTheyWere) {
  FaultyConnection faulty{store.Db()};
  session->SetConnection(faulty);
  const Texts stored = DumpStore(store.Db());
  const Texts shown = TreeShown(Nodes());
  for (const Caso& c : Escrituras()) {
    for (int call = 1; call <= std::ssize(c.Llamadas()); ++call) {
      const std::string caso = c.sentencia.substr(0, 30) + ", call " + std::to_string(call);
      session->ClearMessages();
      Escribe(c.nodo, c.nuevo, [&](frmZULAddVariables& d) {
        c.llena(d);
        faulty.FailCall(call, RuntimeError(err::DatabaseError, "disk gone"));
        AceptaOCancela(d);
      });
      EXPECT_TRUE(faulty.Failed()) << caso;
      EXPECT_EQ(session->ErrorIds(), Texts{"ERR-ID:7500016"}) << caso;
      EXPECT_FALSE(store.Db().InTransaction()) << caso;
      EXPECT_EQ(DumpStore(store.Db()), stored) << caso;
      EXPECT_EQ(TreeShown(Nodes()), shown) << caso;
    }
  }
}

XEL_ON_EVERY_BACKEND(AceptarTest);

}  // namespace
}  // namespace xel::testing
