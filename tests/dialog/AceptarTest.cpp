#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <functional>
#include <iomanip>
#include <limits>
#include <sstream>
#include <utility>

#include "component/Avisos.h"
#include "platform/ConnectionDecorator.h"
#include "store/Historial.h"
#include "store/Sql.h"
#include "store/Statements.h"
#include "tests/editor/DialogoFixture.h"
#include "tests/support/FaultyConnection.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {
namespace {

using Texts = std::vector<std::string>;

struct AceptarTest : OnEveryBackend<DialogoFixture> {
  AceptarTest() {
    AddSmallStore();
    Open();
  }
  // Where the focus is, by control name; "" when no control has it.
  std::string Foco() {
    Control* active = Dialogo().ActiveControl();
    return active ? active->Name() : "";
  }
};

// One refusal: what the user filled in, where the focus was, and what the dialog said.
struct Rechazo {
  std::string caso;
  std::string nodo;  // where the add starts
  std::function<void(frmZULAddVariables&)> llena;
  std::string errorId, prompt;
  long code;
  std::string title, foco;
};

// The data go in one pass: a datum holding a placeholder is shown as typed.
TEST(RedactaTest, PutsEachDatumInPlaceOfItsNumberOnly) {
  EXPECT_EQ(Redacta("Pasar: %1, hijo de: %2", {"A", "B"}), "Pasar: A, hijo de: B");
  EXPECT_EQ(Redacta("%1 ¿Desea?", {"50%1 %2"}), "50%1 %2 ¿Desea?");
  EXPECT_EQ(Redacta("100% %2 %", {"x"}), "100% %2 %");
}

TEST_P(AceptarTest, EachCheckRefusesWithItsOwnMessageInOrderAndWritesNothing) {
  const std::vector<Rechazo> rechazos{
      {"variable without a type, before any key check", "K0001",
       [](frmZULAddVariables& d) { LlenaVariable(d, "", -1, "5"); }, "ERR-ID:7500008",
       "Debe escoger un tipo de variable", 48, "Advertencia", "cboTipo"},
      {"a type list the caller locked keeps the focus", "K0001",
       [](frmZULAddVariables& d) {
         LlenaVariable(d, "X", -1, "5");
         d.cboTipo.SetEnabled(false);
       },
       "ERR-ID:7500008", "Debe escoger un tipo de variable", 48, "Advertencia", "cmdAceptar"},
      {"a key of blanks", "K0001", [](frmZULAddVariables& d) { LlenaVariable(d, "   ", 0, "5"); },
       "ERR-ID:7500009", "Debe escpecificar una clave para el menu", 48, "Advertencia", "txtClave"},
      {"a variable under the root", "K0",
       [](frmZULAddVariables& d) { LlenaVariable(d, "RAIZVAR", 0, "5"); }, "ERR-ID:7500010",
       "La clave del padre es incorrecta", 48, "Advertencia", "cmdAceptar"},
      {"a numeric key, blanks around", "K0001",
       [](frmZULAddVariables& d) { LlenaVariable(d, " 25 ", 0, "5"); }, "ERR-ID:7500011",
       "La clave de la variable no puede ser númerica", 48, "Advertencia", "cmdAceptar"},
      {"neither option selected, no type", "K0001",
       [](frmZULAddVariables& d) {
         LlenaVariable(d, "X", -1, "5");
         d.opVariable.SetValue(false);
       },
       "ERR-ID:7500012", "Debe especificar un tipo de variable", 48, "Advertencia", "txtClave"},
      {"a class without a description", "K0001",
       [](frmZULAddVariables& d) {
         d.txtValor.SetText("   ");
         d.txtTexto.SetText("");
       },
       "ERR-ID:7500013", "Debe especificar un valor", 48, "Advertencia", "txtValor"},
      {"a variable key in use", "K0003",
       [](frmZULAddVariables& d) { LlenaVariable(d, "IVA", 0, "5"); }, "ERR-ID:7500014",
       "La clave especificada ya existe", 16, "ERROR", "cmdAceptar"},
      {"a class code in use", "K0001",
       [](frmZULAddVariables& d) {
         d.txtClave.SetText("0003");
         d.txtValor.SetText("Otra");
       },
       "ERR-ID:7500015", "La clave especificada ya existe", 16, "ERROR", "cmdAceptar"},
  };
  for (const Rechazo& r : rechazos) {
    session->ClearMessages();
    db.Clear();
    Agrega(r.nodo, [&](frmZULAddVariables& d) {
      r.llena(d);
      d.cmdAceptar.PerformClick();
      EXPECT_TRUE(d.Visible()) << r.caso;
      EXPECT_FALSE(d.Add) << r.caso;
      // Clicking gives the button the focus; a refusal moves it on or leaves it there.
      EXPECT_EQ(Foco(), r.foco) << r.caso;
      d.cmdCancelar.PerformClick();
    });
    ASSERT_EQ(session->Messages().size(), 1u) << r.caso;
    const Message& m = session->Messages()[0];
    EXPECT_EQ(Texts({m.errorId, m.prompt, m.title, m.source}),
              (Texts{r.errorId, r.prompt, r.title, "XEL02"}))
        << r.caso;
    EXPECT_EQ(m.code, r.code) << r.caso;
    EXPECT_EQ(m.owner, Dialogo().hWnd()) << r.caso;
    EXPECT_EQ(db.Calls().size(), 2u) << r.caso << ": the proposals, and no transaction";
  }
  EXPECT_EQ(Filas("XEL_Configuracion"), 3);
  EXPECT_EQ(Filas("XEL_Clase_Variable"), 4);
}

// The class 0003 sits at position 0003; codes go up to 0006 and positions up to 0011.
struct SentenciasTest : OnEveryBackend<DialogoFixture> {
  SentenciasTest() {
    AddClass("0003", "0003", "0000", "Compras");
    AddClass("0006", "0011", "0000", "Otros");
    AddClass("0005", "0005", "0003", "Viejas");
    AddVariable("0005", "IVA", "15", "T", "Antes");
    Open();
  }
  // The calls of the accept alone, which must succeed.
  Texts Escritura(const std::string& nodo, bool nuevo, const Usuario& llena) {
    AlMostrarse([&](frmZULAddVariables& d) {
      llena(d);
      db.Clear();
      d.cmdAceptar.PerformClick();
      EXPECT_TRUE(d.Add);
    });
    Click(nodo);
    if (nuevo) {
      editor.Controles.ClickAdd();
    } else {
      editor.Controles.ClickEdit();
    }
    EXPECT_TRUE(session->Messages().empty());
    return db.Calls();
  }
};

// How far from now a time the server wrote lies, in seconds, both as local time. Servers write the
// date and time alike and differ only in the fraction that follows (SQLite always three digits,
// PostgreSQL none for a whole second).
double SegundosDesde(const std::string& sello) {
  std::tm tiempo{};
  std::istringstream texto(sello);
  texto >> std::get_time(&tiempo, "%Y-%m-%d %H:%M:%S");
  if (texto.fail()) {
    return std::numeric_limits<double>::infinity();
  }
  tiempo.tm_isdst = -1;
  return std::difftime(std::time(nullptr), std::mktime(&tiempo));
}

// A history entry, whatever it holds (RowsByHistory checks what it holds).
constexpr char kEntrada[] = "INSERT INTO XEL_Historial";
Texts SinDetalleDeEntradas(Texts llamadas) {
  for (std::string& llamada : llamadas) {
    if (llamada.starts_with(kEntrada)) {
      llamada = kEntrada;
    }
  }
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
    return {
        lectura,
        "BeginTrans",
        sql::Bloqueando(lectura, clase ? sql::XEL_Clase_Variable : sql::XEL_Configuracion, dialect),
        sentencia,
        kEntrada,
        "CommitTrans"};
  }
};
std::vector<Caso> Escrituras() {
  return {
      {"K0003", true,
       [](frmZULAddVariables& d) {
         EXPECT_EQ(d.txtClave.Text() + " " + d.txtID.Text(), "0007 0012");
         d.txtValor.SetText("Ventas");
       },
       "INSERT INTO XEL_Clase_Variable (Cv_Cve_Clase_Variable, Cv_Padre, Cv_Id, Cv_Descripcion, "
       "Fecha_Ult_Modif) VALUES('0007', '0003', '0012', 'Ventas',getdate())",
       "0007", "0012 0003 Ventas"},
      {"K0005", false, [](frmZULAddVariables& d) { d.txtValor.SetText("Ventas"); },
       "UPDATE XEL_Clase_Variable SET    Cv_Descripcion = 'Ventas',   Fecha_Ult_Modif = getdate() "
       "WHERE Cv_Cve_Clase_Variable = '0005' ",
       "0005", "0005 0003 Ventas"},
      {"K0005", true,
       [](frmZULAddVariables& d) { DialogoFixture::LlenaVariable(d, "  ISR  ", 0, "16", "Tasa"); },
       "INSERT INTO XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable, Cf_Valor, "
       "Cf_Descripcion, Cf_Tipo,Fecha_Ult_Modif ) VALUES('0005', 'ISR', '16', "
       "'Tasa','N',getdate())",
       "ISR", "0005 16 Tasa N"},
      {"KIVA", false,
       [](frmZULAddVariables& d) {
         d.cboTipo.UserSelect(0);
         d.txtValor.SetText("16");
         d.txtTexto.SetText("Tasa");
       },
       "UPDATE XEL_Configuracion SET Cf_Valor = '16', Cf_Tipo = 'N', Cf_Descripcion = 'Tasa', "
       "Fecha_Ult_Modif = getdate() WHERE Cf_Variable = 'IVA' ",
       "IVA", "0005 16 Tasa N"},
  };
}

// Each write sends its statement in a transaction, keeps the statement in the shared buffer, and
// stamps its row, changed or new, with the server's clock.
TEST_P(SentenciasTest, EachWriteSendsItsStatementInATransactionAndStampsItsRow) {
  for (const char* tabla : {"XEL_Clase_Variable", "XEL_Configuracion"}) {
    store.Db().Execute(std::string("UPDATE ") + tabla +
                       " SET Fecha_Ult_Modif = '2001-02-03 04:05:06'");
  }
  const std::vector<Caso> casos = Escrituras();
  const Texts filas = StoreRows(store.Db());
  auto sello = [this](const std::string& clave) {
    const bool clase = clave.starts_with("00");
    auto fila = store.Db().Execute(
        clase ? "SELECT * FROM XEL_Clase_Variable WHERE Cv_Cve_Clase_Variable = ?"
              : "SELECT * FROM XEL_Configuracion WHERE Cf_Variable = ?",
        {clave});
    return fila->Field("Fecha_Ult_Modif").Text();
  };
  for (const Caso& c : casos) {
    EXPECT_EQ(SinDetalleDeEntradas(Escritura(c.nodo, c.nuevo, c.llena)),
              c.Llamadas(store.Db().Dialect()));
    EXPECT_EQ(publico.sSQL, c.sentencia);
    EXPECT_EQ(c.clave.starts_with("00") ? ClaseGuardada(c.clave) : VariableGuardada(c.clave),
              c.guardado);
    EXPECT_LT(std::abs(SegundosDesde(sello(c.clave))), 60) << sello(c.clave);
  }
  EXPECT_TRUE(sello("0003").starts_with("2001")) << "a row not written keeps its time";
  EXPECT_EQ(RowsByHistory(filas, store.Db()), StoreRows(store.Db())) << "each write has its entry";
  EXPECT_EQ(NodeOf("KIVA").Text(), "IVA") << "an edited variable keeps its key";
  EXPECT_EQ(editor.txtDescripcion.Text(), "16") << "and the pane shows the new value";
}

TEST_P(SentenciasTest, AFailingLookUpIsReportedAndNothingIsWritten) {
  Agrega("K0003", [&](frmZULAddVariables& d) {
    utility->SetFinder([](const Lookup&) -> std::string {
      throw RuntimeError(err::DatabaseError, "look-up lost its connection");
    });
    d.txtValor.SetText("Ventas");
    db.Clear();
    AceptaOCancela(d);
  });
  ASSERT_EQ(session->ErrorIds(), Texts{"ERR-ID:7500016"});
  EXPECT_EQ(session->Messages()[0].prompt, "look-up lost its connection");
  EXPECT_TRUE(db.Calls().empty());
  EXPECT_TRUE(ui.UnhandledErrors().empty());
  EXPECT_EQ(ClaseGuardada("0007"), "(none)");
}

// Each call of each of the four writes fails in turn: the store keeps every row, no transaction
// stays open, the failure is told once, the tree shows nothing new and a reload shows the store.
TEST_P(SentenciasTest, AFailureAtAnyCallOfEachWriteLeavesStoreTreeAndTransactionAsTheyWere) {
  FaultyConnection faulty{store.Db()};
  RecordingConnection trace{faulty};
  session->SetConnection(trace);
  const std::vector<Caso> casos = Escrituras();
  const Texts stored = DumpStore(store.Db());
  const Texts shown = TreeShown(Nodes());
  for (const Caso& c : casos) {
    const Texts llamadas = c.Llamadas();
    const long begin = std::ranges::find(llamadas, "BeginTrans") - llamadas.begin() + 1;
    for (int call = 1; call <= std::ssize(llamadas); ++call) {
      const std::string caso = c.sentencia.substr(0, 30) + ", call " + std::to_string(call);
      session->ClearMessages();
      auto usuario = [&](frmZULAddVariables& d) {
        c.llena(d);
        trace.Clear();
        faulty.FailCall(call, RuntimeError(err::DatabaseError, "disk gone"));
        AceptaOCancela(d);
      };
      if (c.nuevo) {
        Agrega(c.nodo, usuario);
      } else {
        Edita(c.nodo, usuario);
      }
      EXPECT_TRUE(faulty.Failed()) << caso;
      ASSERT_EQ(session->ErrorIds(), Texts{"ERR-ID:7500016"}) << caso;
      EXPECT_EQ(session->Messages()[0].prompt, "disk gone") << caso;
      EXPECT_EQ(trace.Calls().back() == "RollbackTrans", call > begin) << caso;
      EXPECT_FALSE(store.Db().InTransaction()) << caso;
      EXPECT_EQ(DumpStore(store.Db()), stored) << caso;
      EXPECT_EQ(TreeShown(Nodes()), shown) << caso;
      EXPECT_TRUE(ui.UnhandledErrors().empty()) << caso;
      PressF5();
      EXPECT_EQ(TreeShown(Nodes()), TreeOfStore(store.Db())) << caso;
    }
  }
}

// Runs another administrator's write just before the dialog's own write, once.
class OtroEscribeAntes : public ConnectionDecorator {
 public:
  OtroEscribeAntes(Connection& inner, std::function<void()> otro)
      : ConnectionDecorator(inner), otro_(std::move(otro)) {}

 protected:
  void Before(Call call, const std::string& text, const Parameters&) override {
    if (call == Call::Execute && text.starts_with("UPDATE") && otro_) {
      std::exchange(otro_, {})();
    }
  }

 private:
  std::function<void()> otro_;
};

// The row is locked from the stamp check on: a write of another administrator that would land
// between the check and the change waits, and times out here, instead of being overwritten
// unseen; the history keeps the value the change overwrote.
TEST_P(SentenciasTest, AnotherWriteBetweenTheStampCheckAndTheChangeWaitsForTheChange) {
  std::unique_ptr<Connection> otra = store.OpenAnother();
  otra->Execute(store.Db().Dialect() == SqlDialect::Sqlite ? "PRAGMA busy_timeout = 100"
                                                           : "SET lock_timeout = '100ms'");
  RuntimeError otraEscritura(0, "");
  OtroEscribeAntes intercalada(store.Db(), [&] {
    otraEscritura = FailureOf([&] {
      otra->Execute("UPDATE XEL_Configuracion SET Cf_Valor = '99' WHERE Cf_Variable = 'IVA'");
    });
  });
  session->SetConnection(intercalada);
  Edita("KIVA", [](frmZULAddVariables& d) {
    d.txtValor.SetText("16");
    AceptaOCancela(d);
  });
  EXPECT_NE(otraEscritura.Number(), 0) << "the other write did not wait for the lock";
  EXPECT_TRUE(session->Messages().empty());
  EXPECT_EQ(VariableGuardada("IVA"), "0005 16 Antes T");
  EXPECT_EQ(LeeHistorial(store.Db(), {.variable = "IVA"}).front().antes->valor, "15");
}

XEL_ON_EVERY_BACKEND(AceptarTest);
XEL_ON_EVERY_BACKEND(SentenciasTest);

}  // namespace
}  // namespace xel::testing
