#include <gtest/gtest.h>

#include "tests/editor/EditorFixture.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {
namespace {

using Lines = std::vector<std::string>;

struct CargaArbolTest : OnEveryBackend<EditorFixture> {};

TEST_P(CargaArbolTest, BuildsTheTreeByTheNodeConventions) {
  AddSmallStore();
  editor.Show();

  EXPECT_EQ(Outline(),
            (Lines{"- > K0 RAIZ", "K0 > K0004 Almacen", "K0 > K0003 Compras", "K0 > K0001 Ventas",
                   "K0001 > K0002 Descuentos", "K0002 > KDESC_MAX DESC_MAX", "K0001 > KIVA IVA",
                   "K0001 > KMONEDA MONEDA"}))
      << "top level by description; sub-classes before variables; variables by key";
  Node root = NodeOf("K0");
  EXPECT_EQ(root.Index(), 1);
  EXPECT_EQ(root.Image(), 2);
  EXPECT_EQ(root.Tag(), "");
  EXPECT_EQ(NodeOf("K0001").Tag(), "0001");
  EXPECT_EQ(NodeOf("K0001").Image(), editor.ilIconos.IndexOf("General"));
  EXPECT_EQ(NodeOf("KIVA").Tag(), "IVA");
  EXPECT_EQ(NodeOf("KIVA").Image(), editor.ilIconos.IndexOf("Variable"));
  for (long i = 1; i <= Nodes().Count(); ++i) {
    EXPECT_EQ(Nodes().Item(i).Checked(), i == 1) << Nodes().Item(i).Key();
  }
}

TEST_P(CargaArbolTest, SendsOneQueryPerLevelAndPerClassExactlyAsWritten) {
  AddClass("0001", "0001", "0000", "Ventas");
  AddClass("0002", "0002", "0001", "Descuentos");
  editor.Show();
  EXPECT_EQ(db.Statements(),
            (Lines{"SELECT * FROM XEL_Clase_Variable WHERE Cv_Padre = '0000' ORDER BY "
                   "Cv_Descripcion ",
                   "SELECT * FROM XEL_Clase_Variable WHERE Cv_Padre = '0001' ORDER BY Cv_id ",
                   "SELECT * FROM XEL_Clase_Variable WHERE Cv_Padre = '0002' ORDER BY Cv_id ",
                   "SELECT * FROM XEL_Configuracion WHERE Cv_Cve_Clase_Variable = '0002' ORDER "
                   "BY Cf_Variable ",
                   "SELECT * FROM XEL_Configuracion WHERE Cv_Cve_Clase_Variable = '0001' ORDER "
                   "BY Cf_Variable "}));
}

TEST_P(CargaArbolTest, AnEmptyStoreGivesTheCheckedRootAlone) {
  editor.Show();
  ASSERT_EQ(Nodes().Count(), 1);
  EXPECT_EQ(NodeOf("K0").Text(), "RAIZ");
  EXPECT_TRUE(NodeOf("K0").Checked());
  EXPECT_TRUE(session->Messages().empty());
}

TEST_P(CargaArbolTest, TheLoadShowsTheHourglassLetsTheWindowRepaintAndDisablesCommands) {
  AddSmallStore();
  editor.Show();  // the load makes add available, the tree load takes it back
  EXPECT_EQ(ui.Pointers(), (std::vector<int>{MousePointer::Hourglass, MousePointer::Default}));
  EXPECT_EQ(ui.DoEventsCount(), 1);
  EXPECT_FALSE(editor.Controles.AddAvailable());
  EXPECT_FALSE(editor.Controles.EditAvailable());
  EXPECT_FALSE(editor.Controles.DeleteAvailable());
  EXPECT_EQ(editor.colorZUL.TimesApplied(), 1);
}

TEST_P(CargaArbolTest, ActivationLoadsOnlyAnEmptyTree) {
  AddSmallStore();
  Open();
  editor.Activate();
  EXPECT_TRUE(db.Statements().empty());
}

TEST_P(CargaArbolTest, ReleasingF5ReloadsWhateverTheShiftStateAndEmptiesTheDetails) {
  AddSmallStore();
  Open();
  editor.txtClave.SetText("0001");
  editor.txtID.SetText("0001");
  editor.txtDescripcion.SetText("Ventas");
  editor.txtURL.SetText("http://intranet");
  AddClass("0005", "0005", "0000", "Nueva");

  editor.tvVariables.UserKeyDown(KeyCode::F5, 0);
  EXPECT_FALSE(Nodes().Contains("K0005")) << "pressing alone does nothing";
  editor.tvVariables.UserKeyUp(KeyCode::F5, 1);
  EXPECT_TRUE(Nodes().Contains("K0005"));
  EXPECT_EQ(editor.txtClave.Text(), "");
  EXPECT_EQ(editor.txtID.Text(), "");
  EXPECT_EQ(editor.txtDescripcion.Text(), "");
  EXPECT_EQ(editor.txtURL.Text(), "http://intranet");

  db.Clear();
  editor.tvVariables.UserKeyUp(KeyCode::F5 + 1, 0);
  EXPECT_TRUE(db.Statements().empty());
}

TEST_P(CargaArbolTest, AClassWhoseParentIsMissingIsNotShown) {
  AddSmallStore();
  AddClass("0009", "0009", "0077", "Huerfana");
  editor.Show();
  EXPECT_FALSE(Nodes().Contains("K0009"));
  EXPECT_TRUE(session->Messages().empty());
}

TEST_P(CargaArbolTest, ADuplicatePositionStopsOnlyThatLevelUnderItsSecondHolder) {
  AddClass("0001", "0001", "0000", "A");
  AddClass("0002", "0001", "0000", "B");  // the same position as A
  AddClass("0003", "0002", "0001", "Hija");
  AddClass("0004", "0004", "0000", "C");
  AddVariable("0002", "VB", "x");
  editor.Show();

  EXPECT_EQ(session->ErrorIds(), (Lines{"ERR-ID:7500002"}));
  const Message& message = session->Messages()[0];
  EXPECT_EQ(message.prompt, "Key is not unique in collection");
  EXPECT_EQ(message.code, 16);
  EXPECT_EQ(message.title, "ERROR");
  EXPECT_EQ(message.source, "XEL02");
  EXPECT_EQ(message.owner, editor.hWnd());
  EXPECT_EQ(NodeOf("K0003").Parent().Key(), "K0001");
  EXPECT_EQ(NodeOf("KVB").Parent().Key(), "K0002") << "the parent's variables still load";
  EXPECT_TRUE(Nodes().Contains("K0004")) << "the rest of the tree loads";
  EXPECT_EQ(ui.Pointers().back(), MousePointer::Default);
}

TEST_P(CargaArbolTest, AVariableKeyEqualToAClassCodeEndsTheLoadAtTheTopLevel) {
  AddClass("0001", "0001", "0000", "A");
  AddClass("0002", "0002", "0000", "B");
  AddVariable("0001", "0001", "x");
  editor.Show();
  EXPECT_EQ(session->ErrorIds(), (Lines{"ERR-ID:7500001"}));
  EXPECT_FALSE(Nodes().Contains("K0002")) << "the load ended";
  EXPECT_TRUE(Nodes().Contains("K0001")) << "the nodes added so far stay";
  EXPECT_EQ(ui.Pointers().back(), MousePointer::Default);
  EXPECT_FALSE(editor.Controles.AddAvailable());
}

TEST_P(CargaArbolTest, AVariableKeyEqualToAClassCodeDeeperStopsOnlyThatLevel) {
  AddClass("0001", "0001", "0000", "A");
  AddClass("0002", "0002", "0001", "A1");
  AddClass("0003", "0003", "0001", "A2");
  AddClass("0004", "0004", "0000", "B");
  AddVariable("0002", "0001", "x");
  editor.Show();
  EXPECT_EQ(session->ErrorIds(), (Lines{"ERR-ID:7500002"}));
  EXPECT_FALSE(Nodes().Contains("K0003")) << "A's remaining sub-classes are skipped";
  EXPECT_TRUE(Nodes().Contains("K0004"));
}

TEST_P(CargaArbolTest, AStoreWithoutTheTablesIsReportedWithTheDatabasesMessage) {
  store.Db().Execute("DROP TABLE XEL_Clase_Variable");
  editor.Show();
  ASSERT_EQ(session->ErrorIds(), (Lines{"ERR-ID:7500001"}));
  EXPECT_TRUE(MentionsIgnoringCase(session->Messages()[0].prompt, "XEL_Clase_Variable"))
      << session->Messages()[0].prompt;
  EXPECT_EQ(Nodes().Count(), 1);
  EXPECT_EQ(runtime.MousePointer(), MousePointer::Default);
}

// Where accented letters fall is the server's own collation (SQLite puts them after every ASCII
// letter, PostgreSQL's ICU with their base letters); the tree keeps whatever order the store gives
// and neither server lets letter case decide.
TEST_P(CargaArbolTest, TheTopLevelFollowsTheStoresOrderOfDescriptionsWithoutRegardToCase) {
  const Lines descripciones{"beta", "Ñandú", "Alfa", "ábaco", "Zeta", "nube"};
  for (size_t i = 0; i < descripciones.size(); ++i) {
    const std::string code = "00" + std::to_string(10 + i);
    AddClass(code, code, "0000", descripciones[i]);
  }
  editor.Show();
  EXPECT_EQ(TreeShown(Nodes()), TreeOfStore(store.Db()));
  Lines ascii;
  for (Node node = NodeOf("K0").Child(); node; node = node.Next()) {
    if (static_cast<unsigned char>(node.Text()[0]) < 0x80) {
      ascii.push_back(node.Text());
    }
  }
  EXPECT_EQ(ascii, (Lines{"Alfa", "beta", "nube", "Zeta"}));
  EXPECT_EQ(NodeOf("K0").Children(), 6);
}

TEST_P(CargaArbolTest, NullTextsReadAsEmpty) {
  store.Db().Execute(
      "INSERT INTO XEL_Clase_Variable (Cv_Cve_Clase_Variable, Cv_Id, Cv_Padre) "
      "VALUES ('0001', '0001', '0000')");
  editor.Show();
  EXPECT_EQ(NodeOf("K0001").Text(), "");
  EXPECT_TRUE(session->Messages().empty());
}

XEL_ON_EVERY_BACKEND(CargaArbolTest);

}  // namespace
}  // namespace xel::testing
