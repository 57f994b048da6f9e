#include <gtest/gtest.h>

#include <functional>

#include "component/Avisos.h"
#include "store/Statements.h"
#include "tests/support/DialogoFixture.h"
#include "tests/support/FaultyConnection.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {
namespace {

using Texts = std::vector<std::string>;
using Avisos = std::vector<ScriptedSession::Aviso>;

struct ComandosTest : OnEveryBackend<DialogoFixture> {
  ComandosTest() {
    AddSmallStore();
    Open();
  }
  void Recarga() {
    PressF5();
    db.Clear();
  }
};

// --- Add -----------------------------------------------------------------------------------------

// Under the root, whose pane shows "0001", a new class goes to the top level. Each new entry is
// shown last under its parent.
TEST_P(ComandosTest, AnAddedEntryIsStoredUnderItsParentAndShownLastThere) {
  Agrega("K0", [](frmZULAddVariables& d) {
    EXPECT_EQ(Texts({d.txtPadre.Text(), d.txtNPadre.Text()}), (Texts{"", "RAIZ"}));
    d.txtValor.SetText("Nueva");
    d.cmdAceptar.PerformClick();
  });
  Agrega("K0001", [](frmZULAddVariables& d) {
    LlenaVariable(d, "TOPE", 0, "30", "Tope");
    d.cmdAceptar.PerformClick();
  });
  EXPECT_EQ(Texts({ClaseGuardada("0005"), VariableGuardada("TOPE")}),
            (Texts{"0005 0000 Nueva", "0001 30 Tope N"}));
  for (const auto& [key, parent, text] :
       {std::tuple{"K0005", "K0", "Nueva"}, {"KTOPE", "K0001", "TOPE"}}) {
    const Node node = NodeOf(key);
    EXPECT_EQ(node.Parent(), NodeOf(parent)) << key;
    EXPECT_FALSE(node.Next()) << key << " is the last child";
    EXPECT_EQ(Texts({node.Text(), "K" + node.Tag()}), (Texts{text, key}));
  }
  EXPECT_EQ(NodeOf("KTOPE").Image(), Imagen("Variable"));
  EXPECT_TRUE(NodeOf("K0001").Expanded() && NodeOf("K0").Expanded());
  EXPECT_EQ(Arbol().SelectedItem(), NodeOf("K0001")) << "the selection stays";
  EXPECT_EQ(runtime.MousePointer(), MousePointer::Default);
  EXPECT_FALSE(Dialogo().Loaded());
  PressF5();
  EXPECT_EQ(TreeShown(Nodes()), TreeOfStore(store.Db())) << "still there after a reload";
}

// The row is saved; the tree cannot show a second node with its key, and says how to catch up.
TEST_P(ComandosTest, AKeyTheTreeAlreadyShowsIsReportedAfterTheWrite) {
  AddClass("ABC", "0009", "0000", "Letras");
  AddVariable("0003", "0005", "x");  // a numeric key the dialog would refuse, stored by hand
  Recarga();
  Agrega("K0001", [](frmZULAddVariables& d) {
    LlenaVariable(d, "ABC", 2, "x");
    d.cmdAceptar.PerformClick();
  });
  Agrega("K0", [](frmZULAddVariables& d) {
    d.txtValor.SetText("Nueva");
    d.cmdAceptar.PerformClick();
  });
  EXPECT_EQ(VariableGuardada("ABC") + "|" + ClaseGuardada("0005"), "0001 x  T|0010 0000 Nueva");
  ASSERT_EQ(session->ErrorIds(), (Texts{"ERR-ID:7500014", "ERR-ID:7500015"}));
  for (const Message& m : session->Messages()) {
    EXPECT_NE(m.prompt.find("F5"), std::string::npos) << m.prompt;
  }
  EXPECT_EQ(NodeOf("KABC").Text() + "|" + NodeOf("K0005").Text(), "Letras|0005");
  EXPECT_FALSE(Dialogo().Loaded());
  EXPECT_TRUE(ui.UnhandledErrors().empty());
}

// --- Edit ----------------------------------------------------------------------------------------

TEST_P(ComandosTest, EditingAVariableOpensWithItsStoredTypeAndDescription) {
  struct Caso {
    std::string tipo;
    int indice;
  };
  const std::vector<Caso> casos{{"N", 0}, {"B", 1}, {"T", 2}, {"n", -1}, {"", -1}};
  for (size_t i = 0; i < casos.size(); ++i) {
    AddVariable("0003", "V" + std::to_string(i), "1", casos[i].tipo, "Desc " + casos[i].tipo);
  }
  Recarga();
  Texts lecturas;
  for (size_t i = 0; i < casos.size(); ++i) {
    lecturas.push_back(sql::VariablePorClave("V" + std::to_string(i)));
    Edita("KV" + std::to_string(i), [&](frmZULAddVariables& d) {
      const Caso& c = casos[i];
      EXPECT_TRUE(d.opVariable.Value()) << c.tipo;
      EXPECT_EQ(d.cboTipo.ListIndex(), c.indice) << c.tipo;
      EXPECT_EQ(
          Texts({d.txtPadre.Text(), d.txtNPadre.Text(), d.txtValor.Text(), d.txtTexto.Text()}),
          (Texts{"0003", "Compras", "1", "Desc " + c.tipo}))
          << c.tipo;
      EXPECT_TRUE(d.txtTexto.Enabled() && d.cboTipo.Enabled() && !d.txtClave.Enabled());
      d.cmdCancelar.PerformClick();
    });
  }
  EXPECT_EQ(db.Calls(), lecturas) << "one read of the record per opening; cancelled edits write "
                                     "nothing";
}

// --- Delete --------------------------------------------------------------------------------------

// A variable goes at once, without a question; so does a class whose description equals its
// code, taken for a variable, which leaves its class row behind.
TEST_P(ComandosTest, AVariableIsDeletedAtOnceWithoutAQuestion) {
  AddVariable("0003", "O'Brien", "x");
  AddClass("0007", "0012", "0000", "0007");
  Recarga();
  for (const std::string key : {"O'Brien", "0007"}) {
    db.Clear();
    Click("K" + key);
    int resets = Barra().ResetCount();
    Barra().ClickDelete();
    EXPECT_EQ(WithoutHistory(db.Calls()),
              (Texts{"BeginTrans",
                     "DELETE FROM XEL_Configuracion WHERE Cf_Variable = '" +
                         (key == "0007" ? key : "O''Brien") + "' ",
                     "CommitTrans"}));
    EXPECT_FALSE(Nodes().Contains("K" + key));
    EXPECT_EQ(Barra().ResetCount(), resets);
  }
  EXPECT_TRUE(session->Messages().empty());
  EXPECT_EQ(VariableGuardada("O'Brien") + "|" + ClaseGuardada("0007"), "(none)|0012 0000 0007");
}

// A class goes after the question, with every class of its sub-tree, deepest first, and their
// variables: no sub-class stays behind, unreachable. A class described by its own code is one too
// once it holds entries. Cancelled, nothing changes.
TEST_P(ComandosTest, AClassIsDeletedAfterTheQuestionWithItsWholeSubTree) {
  AddClass("0005", "0005", "0002", "Sub");
  AddVariable("0005", "SUBVAR", "1");
  AddClass("0006", "0006", "0001", "0006");
  AddClass("0008", "0013", "0006", "Hija");
  Recarga();
  const Texts filas = StoreRows(store.Db());
  Click("K0001");
  session->Answer(MsgCode::Cancel);
  Barra().ClickDelete();
  EXPECT_EQ(session->Avisos(), (Avisos{{"ERR-ID:7500006", MsgCode::OkCancelQuestion}}));
  EXPECT_EQ(session->Messages()[0].owner, editor.hWnd());
  EXPECT_TRUE(db.Calls().empty());
  EXPECT_TRUE(Nodes().Contains("K0001"));

  Barra().ClickDelete();
  Texts expected{"BeginTrans"};
  for (const std::string code : {"0005", "0008", "0002", "0006", "0001"}) {
    expected.push_back("DELETE FROM XEL_Configuracion WHERE Cv_Cve_Clase_Variable = '" + code +
                       "' ");
    expected.push_back("DELETE FROM XEL_Clase_Variable WHERE Cv_Cve_Clase_Variable = '" + code +
                       "' ");
  }
  expected.push_back("CommitTrans");
  EXPECT_EQ(WithoutHistory(db.Calls()), expected);
  EXPECT_EQ(session->ErrorIds(), (Texts{"ERR-ID:7500006", "ERR-ID:7500006"}));
  EXPECT_EQ(std::pair(Filas("XEL_Clase_Variable"), Filas("XEL_Configuracion")), std::pair(2L, 0L));
  EXPECT_EQ(RowsByHistory(filas, store.Db()), StoreRows(store.Db())) << "one entry per row";
  const Texts shown{"K0|RAIZ|", " K0004|Almacen|0004", " K0003|Compras|0003"};
  EXPECT_EQ(TreeShown(Nodes()), shown);
  PressF5();
  EXPECT_EQ(TreeShown(Nodes()), shown);
}

// Each call of a class delete, then of a save, fails in turn until the command gets through: each
// time the failure is told once, no transaction is left open, the store and the tree stay as they
// were, an arrangement still waiting to be saved, and a reload shows what the store holds.
TEST_P(ComandosTest, AFailureAtAnyCallOfADeleteOrASaveLeavesStoreAndTreeAsTheyWere) {
  FaultyConnection faulty{store.Db()};
  RecordingConnection trace{faulty};
  session->SetConnection(trace);
  struct Orden {
    std::string nombre;
    std::function<void()> prepara, hace;
    Avisos avisos;
    int dentro;      // the first call inside the transaction
    int pasa;        // the first call the command gets through
    Texts guardado;  // then, the rows of Almacen, Compras and Ventas
  };
  const Orden ordenes[] = {
      // Begin, two classes with two deletes each and their four entries, commit.
      {"delete",
       [&] { Click("K0001"); },
       [&] { Barra().ClickDelete(); },
       {{"ERR-ID:7500006", MsgCode::OkCancelQuestion}, {"ERR-ID:7500003", MsgCode::Critical}},
       2,
       11,
       {"0004 0000 Almacen", "0003 0000 Compras", "(none)"}},
      // Almacen goes after Compras. The read, begin, check, two renumbered classes, their
      // descriptions, their two entries, commit.
      {"save",
       [&] {
         Click("K0004");
         Arbol().UserKeyPress('-');
       },
       [&] { Graba(); },
       {{"ERR-ID:7500005", MsgCode::Critical}},
       3,
       10,
       {"0002 0000 Almacen", "0001 0000 Compras", "(none)"}},
  };
  for (const Orden& o : ordenes) {
    const Texts stored = DumpStore(store.Db());
    const Texts filas = StoreRows(store.Db());
    int call = 1;
    for (;; ++call) {
      SCOPED_TRACE(o.nombre + ", call " + std::to_string(call));
      o.prepara();
      const Texts shape = Shape();
      session->ClearMessages();
      trace.Clear();
      faulty.FailCall(call, RuntimeError(err::DatabaseError, "disk gone"));
      o.hace();
      if (DumpStore(store.Db()) != stored) {
        break;  // committed: what failed, if anything, was the reload
      }
      ASSERT_EQ(session->Avisos(), o.avisos);
      EXPECT_NE(session->Messages().back().prompt.find("disk gone"), std::string::npos);
      EXPECT_EQ(trace.Calls().back() == "RollbackTrans", call >= o.dentro);
      EXPECT_FALSE(store.Db().InTransaction());
      EXPECT_EQ(Shape(), shape);
      if (editor.Modified()) {
        session->Answer(MsgCode::No);  // to the question before the reload
      }
      PressF5();
      EXPECT_EQ(TreeShown(Nodes()), TreeOfStore(store.Db()));
    }
    EXPECT_EQ(call, o.pasa) << o.nombre << " makes exactly " << o.pasa - 1 << " calls";
    EXPECT_EQ(Texts({ClaseGuardada("0004"), ClaseGuardada("0003"), ClaseGuardada("0001")}),
              o.guardado);
    EXPECT_EQ(RowsByHistory(filas, store.Db()), StoreRows(store.Db())) << "one entry per row";
  }
}

XEL_ON_EVERY_BACKEND(ComandosTest);

}  // namespace
}  // namespace xel::testing
