#include <gtest/gtest.h>

#include <algorithm>

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
  // Adds under the node what the user fills in, and accepts.
  void AgregaYAcepta(const std::string& nodo, const Usuario& llena) {
    Agrega(nodo, [=](frmZULAddVariables& d) {
      llena(d);
      d.cmdAceptar.PerformClick();
    });
  }
};

// --- Add -----------------------------------------------------------------------------------------

// Under the root, whose pane shows "0001", a new class goes to the top level. Each new entry is
// shown last under its parent.
TEST_P(ComandosTest, AnAddedEntryIsStoredUnderItsParentAndShownLastThere) {
  AgregaYAcepta("K0", [](frmZULAddVariables& d) {
    EXPECT_EQ(Texts({d.txtPadre.Text(), d.txtNPadre.Text()}), (Texts{"", "RAIZ"}));
    d.txtValor.SetText("Nueva");
  });
  AgregaYAcepta("K0001", [](frmZULAddVariables& d) { LlenaVariable(d, "TOPE", 0, "30", "Tope"); });
  EXPECT_EQ(Texts({ClaseGuardada("0005"), VariableGuardada("TOPE")}),
            (Texts{"0005 0000 Nueva", "0001 30 Tope N"}));
  for (const auto& [key, parent, text] :
       {std::tuple{"K0005", "K0", "Nueva"}, {"KTOPE", "K0001", "TOPE"}}) {
    EXPECT_EQ(NodeOf(key).Parent(), NodeOf(parent)) << key;
    EXPECT_EQ(NodeOf(key), NodeOf(key).LastSibling()) << key << " is the last child";
    EXPECT_EQ(NodeOf(key).Text() + "|K" + NodeOf(key).Tag(), std::string(text) + "|" + key);
  }
  EXPECT_EQ(NodeOf("KTOPE").Image(), Imagen("Variable"));
  EXPECT_TRUE(NodeOf("K0001").Expanded() && NodeOf("K0").Expanded());
  EXPECT_EQ(Arbol().SelectedItem(), NodeOf("K0001")) << "the selection stays";
}

// The row is saved; the tree cannot show a second node with its key, and says how to catch up.
TEST_P(ComandosTest, AKeyTheTreeAlreadyShowsIsReportedAfterTheWrite) {
  AddClass("ABC", "0009", "0000", "Letras");
  AddVariable("0003", "0005", "x");  // a numeric key the dialog would refuse, stored by hand
  Recarga();
  AgregaYAcepta("K0001", [](frmZULAddVariables& d) { LlenaVariable(d, "ABC", 2, "x"); });
  AgregaYAcepta("K0", [](frmZULAddVariables& d) { d.txtValor.SetText("Nueva"); });
  EXPECT_EQ(VariableGuardada("ABC") + "|" + ClaseGuardada("0005"), "0001 x  T|0010 0000 Nueva");
  ASSERT_EQ(session->ErrorIds(), (Texts{"ERR-ID:7500014", "ERR-ID:7500015"}));
  for (const Message& m : session->Messages()) {
    EXPECT_NE(m.prompt.find("F5"), std::string::npos) << m.prompt;
  }
  EXPECT_EQ(NodeOf("KABC").Text() + "|" + NodeOf("K0005").Text(), "Letras|0005");
}

// --- Edit ----------------------------------------------------------------------------------------

// A stored type the list lacks, in another case or none at all, selects no entry.
TEST_P(ComandosTest, EditingAVariableOpensWithItsStoredTypeAndDescription) {
  const std::pair<std::string, int> casos[] = {{"N", 0}, {"B", 1}, {"T", 2}, {"n", -1}, {"", -1}};
  for (const auto& [tipo, indice] : casos) {
    AddVariable("0003", "V" + std::to_string(indice) + tipo, "1", tipo, "Desc " + tipo);
    Recarga();
    Edita("KV" + std::to_string(indice) + tipo, [&](frmZULAddVariables& d) {
      EXPECT_EQ(Texts({std::to_string(d.cboTipo.ListIndex()), d.txtPadre.Text(), d.txtNPadre.Text(),
                       d.txtValor.Text(), d.txtTexto.Text()}),
                (Texts{std::to_string(indice), "0003", "Compras", "1", "Desc " + tipo}));
      EXPECT_TRUE(d.opVariable.Value() && d.txtTexto.Enabled() && d.cboTipo.Enabled() &&
                  !d.txtClave.Enabled())
          << tipo;
      d.cmdCancelar.PerformClick();
    });
  }
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
// time the failure is told once, no transaction is left open, and the store, the tree and an
// arrangement waiting to be saved stay as they were. What the store holds after each call, and its
// history, the lost-connection sweep checks on the server.
TEST_P(ComandosTest, AFailureAtAnyCallOfADeleteOrASaveLeavesStoreAndTreeAsTheyWere) {
  FaultyConnection faulty{store.Db()};
  session->SetConnection(faulty);
  for (const bool graba : {false, true}) {
    if (graba) {
      Click("K0004");
      Arbol().UserKeyPress('-');  // Almacen goes after Compras
    }
    const Texts stored = DumpStore(store.Db());
    const Texts shape = Shape();
    const bool arreglado = editor.Modified();
    for (int call = 1; DumpStore(store.Db()) == stored; ++call) {
      SCOPED_TRACE("call " + std::to_string(call));
      ASSERT_LT(call, 20) << "the command never gets through";
      session->ClearMessages();
      faulty.FailCall(call, RuntimeError(err::DatabaseError, "disk gone"));
      graba ? Graba() : Borra("K0001");
      if (DumpStore(store.Db()) != stored) {
        break;  // committed: what failed, if anything, was the reload
      }
      EXPECT_EQ(std::ranges::count(session->Messages(), MsgCode::Critical, &Message::code), 1);
      EXPECT_FALSE(store.Db().InTransaction());
      EXPECT_EQ(Shape(), shape);
      EXPECT_EQ(editor.Modified(), arreglado);
    }
  }
}

XEL_ON_EVERY_BACKEND(ComandosTest);

}  // namespace
}  // namespace xel::testing
