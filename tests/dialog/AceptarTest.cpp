#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <iomanip>
#include <limits>
#include <sstream>

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

TEST_P(AceptarTest, TheKeyBoxShowsTheTrimmedKeyAndOnlyAWholeNumberIsRefused) {
  Agrega("K0001", [](frmZULAddVariables& d) {
    LlenaVariable(d, " 25 ", 0, "7");
    d.cmdAceptar.PerformClick();
    EXPECT_EQ(d.txtClave.Text(), "25");
    d.txtClave.SetText(" 25A ");
    d.cmdAceptar.PerformClick();
  });
  EXPECT_EQ(session->ErrorIds(), Texts{"ERR-ID:7500011"});
  EXPECT_EQ(VariableGuardada("25A"), "0001 7  N");
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

TEST_P(SentenciasTest, EachWriteSendsItsStatementInATransactionThroughTheSharedBuffer) {
  struct Caso {
    std::string nodo;
    bool nuevo;
    Usuario llena;
    std::string sentencia;
    std::function<std::string()> guardado;  // the row written, as it is stored
    std::string esperado;
  };
  const std::vector<Caso> casos{
      {"K0003", true,
       [](frmZULAddVariables& d) {
         EXPECT_EQ(d.txtClave.Text(), "0007");
         EXPECT_EQ(d.txtID.Text(), "0012");
         d.txtValor.SetText("Ventas");
       },
       "INSERT INTO XEL_Clase_Variable (Cv_Cve_Clase_Variable, Cv_Padre, Cv_Id, Cv_Descripcion, "
       "Fecha_Ult_Modif) VALUES('0007', '0003', '0012', 'Ventas',getdate())",
       [this] { return ClaseGuardada("0007"); }, "0012 0003 Ventas"},
      {"K0005", false, [](frmZULAddVariables& d) { d.txtValor.SetText("Ventas"); },
       "UPDATE XEL_Clase_Variable SET    Cv_Descripcion = 'Ventas',   Fecha_Ult_Modif = getdate() "
       "WHERE Cv_Cve_Clase_Variable = '0005' ",
       [this] { return ClaseGuardada("0005"); }, "0005 0003 Ventas"},
      {"K0005", true, [](frmZULAddVariables& d) { LlenaVariable(d, "  ISR  ", 0, "16", "Tasa"); },
       "INSERT INTO XEL_Configuracion (Cv_Cve_Clase_Variable, Cf_Variable, Cf_Valor, "
       "Cf_Descripcion, Cf_Tipo,Fecha_Ult_Modif ) VALUES('0005', 'ISR', '16', "
       "'Tasa','N',getdate())",
       [this] { return VariableGuardada("ISR"); }, "0005 16 Tasa N"},
      {"KIVA", false,
       [](frmZULAddVariables& d) {
         d.cboTipo.UserSelect(0);
         d.txtValor.SetText("16");
         d.txtTexto.SetText("Tasa");
       },
       "UPDATE XEL_Configuracion SET Cf_Valor = '16', Cf_Tipo = 'N', Cf_Descripcion = 'Tasa', "
       "Fecha_Ult_Modif = getdate() WHERE Cf_Variable = 'IVA' ",
       [this] { return VariableGuardada("IVA"); }, "0005 16 Tasa N"},
  };
  for (const Caso& c : casos) {
    EXPECT_EQ(Escritura(c.nodo, c.nuevo, c.llena),
              (Texts{"BeginTrans", c.sentencia, "CommitTrans"}));
    EXPECT_EQ(publico.sSQL, c.sentencia);
    EXPECT_EQ(c.guardado(), c.esperado);
  }
  EXPECT_EQ(NodeOf("K0005").Text(), "Ventas") << "an edited class shows its new description";
  EXPECT_EQ(NodeOf("KIVA").Text(), "IVA") << "an edited variable keeps its key";
  EXPECT_EQ(editor.txtDescripcion.Text(), "16") << "and the pane shows the new value";
}

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

// Every write stamps its row with the server's clock, rows changed as well as new ones.
TEST_P(SentenciasTest, EveryWriteStampsItsRowWithTheServersTime) {
  for (const char* tabla : {"XEL_Clase_Variable", "XEL_Configuracion"}) {
    store.Db().Execute(std::string("UPDATE ") + tabla +
                       " SET Fecha_Ult_Modif = '2001-02-03 04:05:06'");
  }
  auto sello = [this](const char* tabla, const char* columna, const std::string& clave) {
    auto fila = store.Db().Execute(
        std::string("SELECT * FROM ") + tabla + " WHERE " + columna + " = ?", {clave});
    return fila->Eof() ? "(none)" : fila->Field("Fecha_Ult_Modif").Text();
  };
  Escritura("K0003", true, [](frmZULAddVariables& d) { d.txtValor.SetText("Ventas"); });
  Escritura("K0005", false, [](frmZULAddVariables& d) { d.txtValor.SetText("Usadas"); });
  Escritura("K0005", true, [](frmZULAddVariables& d) { LlenaVariable(d, "ISR", 0, "16"); });
  Escritura("KIVA", false, [](frmZULAddVariables& d) { d.txtValor.SetText("16"); });
  for (const std::string& escrito : {sello("XEL_Clase_Variable", "Cv_Cve_Clase_Variable", "0007"),
                                     sello("XEL_Clase_Variable", "Cv_Cve_Clase_Variable", "0005"),
                                     sello("XEL_Configuracion", "Cf_Variable", "ISR"),
                                     sello("XEL_Configuracion", "Cf_Variable", "IVA")}) {
    EXPECT_LT(std::abs(SegundosDesde(escrito)), 60) << escrito;
  }
  const std::string intacto = sello("XEL_Clase_Variable", "Cv_Cve_Clase_Variable", "0003");
  EXPECT_TRUE(intacto.starts_with("2001-02-03 04:05:06")) << intacto;
}

TEST_P(SentenciasTest, QuotesInAnyValueAreStoredAsTypedAndChangeNoStatement) {
  Escritura("K0005", true, [](frmZULAddVariables& d) {
    LlenaVariable(d, "O'Brien", 2, "it's'); DROP TABLE XEL_Clase_Variable; --", "d'Artagnan");
  });
  EXPECT_EQ(VariableGuardada("O'Brien"),
            "0005 it's'); DROP TABLE XEL_Clase_Variable; -- d'Artagnan T");
  Texts calls =
      Escritura("K0003", true, [](frmZULAddVariables& d) { d.txtValor.SetText("O'Brien"); });
  EXPECT_NE(calls[1].find("'O''Brien'"), std::string::npos) << calls[1];
  EXPECT_EQ(ClaseGuardada("0007"), "0012 0003 O'Brien");
  Node node = NodeOf("K0007");
  EXPECT_EQ(node.Text(), "O'Brien");
}

// A change that reaches no row wrote nothing: the record went meanwhile, and saying so beats a
// success that did not happen.
TEST_P(SentenciasTest, AnUpdateOfARecordDeletedMeanwhileIsAFailure) {
  Click("KIVA");
  AlMostrarse([&](frmZULAddVariables& d) {
    store.Db().Execute("DELETE FROM XEL_Configuracion WHERE Cf_Variable = 'IVA'");
    d.txtValor.SetText("99");
    db.Clear();
    d.cmdAceptar.PerformClick();
    EXPECT_TRUE(d.Visible());
    EXPECT_FALSE(d.Add);
    d.cmdCancelar.PerformClick();
  });
  editor.Controles.ClickEdit();
  ASSERT_EQ(session->Messages().size(), 1u);
  const Message& m = session->Messages()[0];
  EXPECT_EQ(Texts({m.errorId, m.title}), (Texts{"ERR-ID:7500016", "Cmd_Aceptar()"}));
  EXPECT_EQ(m.code, 16);
  EXPECT_NE(m.prompt.find("IVA ya no existe"), std::string::npos) << m.prompt;
  EXPECT_EQ(db.Calls().front(), "BeginTrans");
  EXPECT_EQ(db.Calls().back(), "RollbackTrans");
  EXPECT_EQ(VariableGuardada("IVA"), "(none)");
  EXPECT_EQ(editor.txtDescripcion.Text(), "15") << "the pane keeps the old value";
}

TEST_P(SentenciasTest, ARowTheDatabaseRefusesIsRolledBackAndReportedWithItsOwnDescription) {
  AddClass("0009", "0009", "0000", "");  // no description: the look-up cannot see it
  Texts calls;
  Agrega("K0003", [&](frmZULAddVariables& d) {
    d.txtClave.SetText("0009");
    d.txtValor.SetText("Otra");
    db.Clear();
    d.cmdAceptar.PerformClick();
    calls = db.Calls();
    EXPECT_TRUE(d.Visible());
    d.txtClave.SetText("0010");
    d.cmdAceptar.PerformClick();  // corrected, the next try goes through
    EXPECT_TRUE(d.Add);
  });
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[2], "RollbackTrans");
  ASSERT_EQ(session->Messages().size(), 1u);
  EXPECT_EQ(session->Messages()[0].errorId, "ERR-ID:7500016");
  EXPECT_EQ(session->Messages()[0].prompt, NegativaDelStore(calls[1]));
  EXPECT_EQ(ClaseGuardada("0009"), "0009 0000 ");
  EXPECT_EQ(ClaseGuardada("0010"), "0012 0003 Otra");
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
  ASSERT_EQ(session->Messages().size(), 1u);
  const Message& m = session->Messages()[0];
  EXPECT_EQ(Texts({m.prompt, m.title, m.errorId}),
            (Texts{"look-up lost its connection", "Cmd_Aceptar()", "ERR-ID:7500016"}));
  EXPECT_EQ(m.code, 16);
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
  struct Caso {
    std::string escritura, nodo;
    bool nuevo;
    Usuario llena;
  };
  const std::vector<Caso> casos{
      {"class insert", "K0003", true, [](frmZULAddVariables& d) { d.txtValor.SetText("Ventas"); }},
      {"class update", "K0005", false, [](frmZULAddVariables& d) { d.txtValor.SetText("Ventas"); }},
      {"variable insert", "K0005", true,
       [](frmZULAddVariables& d) { LlenaVariable(d, "ISR", 0, "16"); }},
      {"variable update", "KIVA", false,
       [](frmZULAddVariables& d) {
         d.cboTipo.UserSelect(0);
         d.txtValor.SetText("16");
       }},
  };
  const Texts stored = DumpStore(store.Db());
  const Texts shown = TreeShown(Nodes());
  for (const Caso& c : casos) {
    for (int call = 1; call <= 3; ++call) {  // the begin, the statement, the commit
      const std::string caso = c.escritura + ", call " + std::to_string(call);
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
      EXPECT_EQ(trace.Calls().back() == "RollbackTrans", call > 1) << caso;
      EXPECT_FALSE(store.Db().InTransaction()) << caso;
      EXPECT_EQ(DumpStore(store.Db()), stored) << caso;
      EXPECT_EQ(TreeShown(Nodes()), shown) << caso;
      EXPECT_EQ(runtime.MousePointer(), MousePointer::Default) << caso;
      EXPECT_TRUE(ui.UnhandledErrors().empty()) << caso;
      PressF5();
      EXPECT_EQ(TreeShown(Nodes()), TreeOfStore(store.Db())) << caso;
    }
  }
}

XEL_ON_EVERY_BACKEND(AceptarTest);
XEL_ON_EVERY_BACKEND(SentenciasTest);

}  // namespace
}  // namespace xel::testing
