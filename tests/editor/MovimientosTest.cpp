#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/EditorFixture.h"

namespace xel::testing {
namespace {

using Lines = std::vector<std::string>;
using Avisos = std::vector<ScriptedSession::Aviso>;

// RAIZ > A (A1 (A11 (V11), V1), VA), B, C (VC)
struct MovimientosTest : EditorFixture {
  MovimientosTest() {
    AddClass("0001", "0001", "0000", "A");
    AddClass("0002", "0002", "0001", "A1");
    AddClass("0003", "0003", "0002", "A11");
    AddVariable("0003", "V11", "x");
    AddVariable("0002", "V1", "x");
    AddVariable("0001", "VA", "x");
    AddClass("0004", "0004", "0000", "B");
    AddClass("0005", "0005", "0000", "C");
    AddVariable("0005", "VC", "x");
    Open();
    original = Shape();
  }
  int Press(char key) { return Arbol().UserKeyPress(key); }
  // Everything a move must carry along, for the nodes in tree order: the copies arrive collapsed.
  Lines Details() {
    return TreeLines(Nodes(), [](const Node& n) {
      return n.Key() + "|" + n.Text() + "|" + n.Tag() + "|" + std::to_string(n.Image()) + "|" +
             std::to_string(n.SelectedImage()) + "|" + (n.Checked() ? "x" : "-");
    });
  }
  Lines original;
};

TEST_F(MovimientosTest, MinusMovesAThreeLevelSubTreeWholeAndCollapsedWithEverythingItCarries) {
  Arbol().UserSetExpanded(NodeOf("K0001"), true);
  Arbol().UserSetExpanded(NodeOf("K0002"), true);
  NodeOf("K0002").SetChecked(true);
  NodeOf("KV11").SetChecked(true);
  NodeOf("K0003").SetSelectedImage("STOP");
  Lines before = Details();
  std::rotate(before.begin() + 1, before.begin() + 7, before.begin() + 8);  // B, then A
  Click("K0001");

  EXPECT_EQ(Press('-'), 0);
  EXPECT_EQ(Shape(), (Lines{"K0", " K0004", " K0001", "  K0002", "   K0003", "    KV11", "   KV1",
                            "  KVA", " K0005", "  KVC"}));
  EXPECT_EQ(Details(), before);
  EXPECT_FALSE(NodeOf("K0001").Expanded() || NodeOf("K0002").Expanded());
  EXPECT_TRUE(NodeOf("K0001").Selected());
  EXPECT_TRUE(session->Messages().empty());
  EXPECT_TRUE(db.Calls().empty()) << "only the tree changes";
}

// "+" swaps a node with its previous sibling, whatever the kind, "-" with its next; a node that
// cannot move stays. Either way the key is consumed; other keys pass on.
TEST_F(MovimientosTest, PlusAndMinusSwapWithASiblingAndNodesThatCannotMoveStay) {
  const std::pair<const char*, char> presses[] = {{"K0001", '+'}, {"K0005", '-'}, {"K0", '+'},
                                                  {"K0", '-'},    {"", '-'},      {"K0005", '+'},
                                                  {"KVA", '+'}};
  for (auto [key, press] : presses) {
    Arbol().SetSelectedItem(*key ? NodeOf(key) : Node());
    EXPECT_EQ(Press(press), 0) << key << press;
  }
  Click("K0004");
  EXPECT_EQ(Press('a'), 'a') << "other keys pass on";
  EXPECT_EQ(Shape(), (Lines{"K0", " K0001", "  KVA", "  K0002", "   K0003", "    KV11", "   KV1",
                            " K0005", "  KVC", " K0004"}));
  EXPECT_TRUE(ui.UnhandledErrors().empty());
}

TEST_F(MovimientosTest, AConfirmedDropMakesTheNodeTheTargetsLastChild) {
  Drag("K0004", "K0005");
  EXPECT_EQ(session->Avisos(), (Avisos{{"ERR-ID:7500007", MsgCode::OkCancelQuestion}}));
  EXPECT_EQ(session->Messages()[0].prompt, "Pasar el menu: B, como hijo de: C");
  EXPECT_EQ(NodeOf("K0004").Parent(), NodeOf("K0005"));
  EXPECT_EQ(NodeOf("K0004"), NodeOf("K0004").LastSibling());
  EXPECT_FALSE(Arbol().DropHighlight());
  EXPECT_FALSE(Arrastrando());

  Drag("K0003", "K0");
  EXPECT_EQ(NodeOf("K0003").Parent(), NodeOf("K0"));
  EXPECT_EQ(Shape().back(), "  KV11") << "with its sub-tree, at the end of the root";
}

// A cancelled drop or one over empty space ends the drag; one onto a node of the same text is
// ignored and the drag goes on.
TEST_F(MovimientosTest, DropsThatMoveNothingEndOrKeepTheDrag) {
  session->Answer(MsgCode::Cancel);
  Drag("K0004", "K0005");
  EXPECT_EQ(session->ErrorIds(), (Lines{"ERR-ID:7500007"}));
  DragOver("K0004", Node());
  Arbol().UserDrop(0, 0);
  EXPECT_FALSE(Arbol().DropHighlight());
  EXPECT_FALSE(Arrastrando());

  NodeOf("K0005").SetText("B");
  for (const char* target : {"K0004", "K0005"}) {
    Drag("K0004", target);
    EXPECT_EQ(Arbol().DropHighlight(), NodeOf(target));
    EXPECT_TRUE(Arrastrando());
  }
  EXPECT_EQ(session->Messages().size(), 1u) << "no question without a target or another text";
  EXPECT_EQ(Shape(), original);
}

TEST_F(MovimientosTest, NoDropOntoAVariableOrIntoItsOwnSubTreeAndTheDragGoesOn) {
  Drag("K0004", "KVC");  // a variable: refused before the question
  EXPECT_EQ(session->Avisos(), (Avisos{{"ERR-ID:7500004", MsgCode::Critical}}));

  Drag("K0001", "K0003");  // into its own sub-tree, once confirmed
  DragOver("K0001", NodeOf("K0004"));
  Click("K0");  // the root is what the last mouse down remembered
  Arbol().UserDrop(0, 0);

  EXPECT_EQ(session->ErrorIds(), (Lines{"ERR-ID:7500004", "ERR-ID:7500007", "ERR-ID:7500004",
                                        "ERR-ID:7500007", "ERR-ID:7500004"}));
  EXPECT_EQ(session->Messages()[3].prompt, "Pasar el menu: RAIZ, como hijo de: B");
  EXPECT_EQ(session->Messages()[4].prompt, "La raíz no puede pasar a otro menu");
  EXPECT_EQ(Shape(), original);
  EXPECT_EQ(Arbol().DropHighlight(), NodeOf("K0004"));
  EXPECT_TRUE(Arrastrando());
}

}  // namespace
}  // namespace xel::testing
