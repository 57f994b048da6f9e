#include <gtest/gtest.h>

#include "tests/editor/EditorFixture.h"

namespace xel::testing {
namespace {

struct Seleccion : EditorFixture {
  explicit Seleccion(Backend backend = Backend::Sqlite) : EditorFixture(backend) {
    AddSmallStore();
    AddClass("0007", "0012", "0000", "0007");  // a class whose description equals its code
    Open();
  }
  std::vector<bool> Commands() {
    return {editor.Controles.AddAvailable(), editor.Controles.EditAvailable(),
            editor.Controles.DeleteAvailable()};
  }
  std::vector<std::string> Pane() {
    return {editor.txtID.Text(), editor.txtClave.Text(), editor.txtDescripcion.Text()};
  }
};

// What a click shows and allows, read from the store on each backend.
struct SeleccionTest : OnEveryBackend<Seleccion> {};
// Expanding and dragging, which only the tree sees.
struct SeleccionEnArbolTest : Seleccion {};

using Texts = std::vector<std::string>;
using Flags = std::vector<bool>;

TEST_P(SeleccionTest, TheRootShowsFixedValuesAndAllowsOnlyAdding) {
  Click("K0");
  EXPECT_EQ(Pane(), (Texts{"0001", "0001", "RAIZ"}));
  EXPECT_EQ(Commands(), (Flags{true, false, false}));
  EXPECT_TRUE(utility->Lookups().empty());
}

TEST_P(SeleccionTest, AVariableShowsItsKeyAndStoredValueAndCannotReceiveChildren) {
  Click("KIVA");
  EXPECT_EQ(Pane(), (Texts{"", "IVA", "16"}));
  EXPECT_EQ(Commands(), (Flags{false, true, true}));
  ASSERT_EQ(utility->Lookups().size(), 1u);
  const Lookup& lookup = utility->Lookups()[0];
  EXPECT_EQ(Texts({lookup.table, lookup.searchColumn, lookup.searchValue, lookup.resultColumn,
                   lookup.extra1, lookup.extra2, lookup.extra3}),
            (Texts{"XEL_Configuracion", "Cf_Variable", "IVA", "Cf_Valor", "", "", ""}));
  EXPECT_EQ(lookup.number, 0);
}

TEST_P(SeleccionTest, AClassShowsItsCodeDescriptionAndStoredPosition) {
  AddClass("0020", "0033", "0000", "Tesoreria");
  PressF5();
  Click("K0020");
  EXPECT_EQ(Pane(), (Texts{"0033", "0020", "Tesoreria"}));
  EXPECT_EQ(Commands(), (Flags{true, true, true}));
  EXPECT_EQ(utility->Lookups().back().resultColumn, "Cv_id");
}

TEST_P(SeleccionTest, AClassWhoseDescriptionEqualsItsCodeIsTakenForAVariable) {
  Click("K0007");
  EXPECT_EQ(Pane(), (Texts{"", "0007", ""}));
  EXPECT_EQ(Commands(), (Flags{false, true, true}));
  EXPECT_EQ(utility->Lookups().back().table, "XEL_Configuracion");
}

TEST_P(SeleccionTest, AVariableDeletedMeanwhileShowsAnEmptyValue) {
  store.Db().Execute("DELETE FROM XEL_Configuracion WHERE Cf_Variable = 'IVA'");
  Click("KIVA");
  EXPECT_EQ(editor.txtDescripcion.Text(), "");
  EXPECT_TRUE(session->Messages().empty());
}

TEST_P(SeleccionTest, AFailingLookUpIsReportedByTheRunTimeAndTheWindowGoesOn) {
  utility->SetFinder([](const Lookup&) -> std::string {
    throw RuntimeError(err::DatabaseError, "connection lost");
  });
  Click("KIVA");
  ASSERT_EQ(ui.UnhandledErrors().size(), 1u);
  EXPECT_EQ(ui.UnhandledErrors()[0].description, "connection lost");
  EXPECT_EQ(runtime.MousePointer(), MousePointer::Default);
  Click("K0");
  EXPECT_EQ(editor.txtDescripcion.Text(), "RAIZ");
}

TEST_F(SeleccionEnArbolTest, ExpandAndCollapseSwitchTheImageOfAnyNode) {
  Node variable = NodeOf("KIVA");
  editor.tvVariables.UserSetExpanded(variable, true);
  EXPECT_EQ(variable.Image(), editor.ilIconos.IndexOf("SEGURIDAD"));
  editor.tvVariables.UserSetExpanded(variable, false);
  EXPECT_EQ(variable.Image(), editor.ilIconos.IndexOf("General"));
  Node root = NodeOf("K0");
  editor.tvVariables.UserSetExpanded(root, true);
  editor.tvVariables.UserSetExpanded(root, false);
  EXPECT_EQ(root.Image(), editor.ilIconos.IndexOf("General"));
  EXPECT_EQ(root.SelectedImage(), 0) << "the selected image is not touched";
}

TEST_F(SeleccionEnArbolTest, ADragStartsOnlyOnAClassAndTheHighlightFollowsThePointer) {
  TreeView& tree = editor.tvVariables;
  tree.SetHitTester([this](float, float y) { return y < 100 ? NodeOf("K0003") : Node(); });

  Click("KIVA");
  tree.UserStartDrag(NodeOf("KIVA"));
  tree.UserDragOver(0, 50);
  EXPECT_FALSE(editor.bArrastrando) << "a variable cannot be dragged";
  EXPECT_FALSE(tree.DropHighlight());

  Click("K0");
  tree.UserStartDrag(NodeOf("K0"));
  EXPECT_FALSE(editor.bArrastrando) << "nor the root";

  Click("K0001");
  EXPECT_EQ(editor.nodArrastrado, NodeOf("K0001"));
  tree.UserStartDrag(NodeOf("K0001"));
  ASSERT_TRUE(editor.bArrastrando);
  tree.UserDragOver(0, 50);
  EXPECT_EQ(tree.DropHighlight(), NodeOf("K0003"));
  tree.UserDragOver(0, 500);
  EXPECT_FALSE(tree.DropHighlight()) << "over empty space the highlight goes";
}

TEST_F(SeleccionEnArbolTest, MouseDownRemembersTheNodeSelectedAtThatMomentWhateverTheButton) {
  Click("K0001");
  editor.tvVariables.UserMouseDown(MouseButton::Right, 1, 500, 500);
  EXPECT_EQ(editor.nodArrastrado, NodeOf("K0001"));
  editor.tvVariables.SetSelectedItem(Node());
  editor.tvVariables.UserMouseDown(MouseButton::Left, 0, 0, 0);
  EXPECT_FALSE(editor.nodArrastrado);
}

XEL_ON_EVERY_BACKEND(SeleccionTest);

}  // namespace
}  // namespace xel::testing
