#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/forms/TreeNodes.h"
#include "tests/support/FailureOf.h"

namespace xel::testing {
namespace {

// The sub-trees from `first` on as their links show them, e.g. "K0(KA(KA1) KB)"; each node is
// checked against what its index, its key, its row and its siblings say of it.
std::string Outline(const TreeNodes& nodes, Node first) {
  std::string text;
  for (Node node = first; node; node = node.Next()) {
    EXPECT_EQ(nodes.Item(node.Index()), node) << node.Key();
    EXPECT_EQ(nodes.Item(node.Key()), node);
    EXPECT_EQ(nodes.ChildAt(node.Parent(), nodes.RowOf(node)), node) << node.Key();
    EXPECT_EQ(node.Next() ? node.Next().Previous() : node.LastSibling(), node) << node.Key();
    EXPECT_EQ(node.FirstSibling(), first) << node.Key();
    text += (node == first ? "" : " ") + node.Key();
    if (Node child = node.Child()) {
      EXPECT_EQ(child.Parent(), node);
      EXPECT_EQ(node.Children(), nodes.RowOf(child.LastSibling()) + 1) << node.Key();
      text += "(" + Outline(nodes, child) + ")";
    }
  }
  return text;
}

// The keys in the order of the indexes.
std::string ByIndex(const TreeNodes& nodes) {
  std::string keys;
  for (long i = 1; i <= nodes.Count(); ++i) {
    keys += (i == 1 ? "" : " ") + nodes.Item(i).Key();
  }
  return keys;
}

struct TreeNodesTest : ::testing::Test {
  ImageList images{"General", "SEGURIDAD", "Variable", "STOP"};
  TreeNodes nodes;

  // RAIZ with A (A1, A2 (A21)), B
  TreeNodesTest() {
    nodes.SetImageList(&images);
    nodes.Add({}, tvw::Last, "K0", "RAIZ", 2);
    nodes.Add("K0", tvw::Child, "KA", "A", "General");
    nodes.Add("KA", tvw::Child, "KA1", "A1");
    nodes.Add("KA", tvw::Child, "KA2", "A2");
    nodes.Add("KA2", tvw::Child, "KA21", "A21");
    nodes.Add("K0", tvw::Child, "KB", "B");
  }
  std::string Shown() { return Outline(nodes, nodes.FirstRoot()); }
};

// Indexes follow the order of addition, whatever moves; a removal renumbers those after it, and
// frees its keys.
TEST_F(TreeNodesTest, AddsMovesKeyChangesAndRemovalsKeepLinksIndexesAndKeysInStep) {
  const std::pair<std::function<void()>, std::string> steps[] = {
      {[&] { nodes.Add(NodeLocator(4L), tvw::Previous, "KP", "p"); },
       "K0(KA(KA1 KP KA2(KA21)) KB)"},
      {[&] { nodes.Add("KA1", tvw::Next, "KN", "n"); }, "K0(KA(KA1 KN KP KA2(KA21)) KB)"},
      {[&] { nodes.Add("KA21", tvw::Last, "KL", "l"); }, "K0(KA(KA1 KN KP KA2(KA21 KL)) KB)"},
      {[&] { nodes.Add("KB", tvw::Child, "KC", "c"); }, "K0(KA(KA1 KN KP KA2(KA21 KL)) KB(KC))"},
      {[&] {
         nodes.Item("KA1").SetKey("KX");
         nodes.Add("KA", tvw::Child, "KA1", "a1");
       },
       "K0(KA(KX KN KP KA2(KA21 KL) KA1) KB(KC))"},
      {[&] { nodes.Item("KA2").SetParent(nodes.Item("KC")); },
       "K0(KA(KX KN KP KA1) KB(KC(KA2(KA21 KL))))"},
  };
  for (const auto& [change, shown] : steps) {
    change();
    EXPECT_EQ(Shown(), shown);
  }
  EXPECT_EQ(ByIndex(nodes), "K0 KA KX KA2 KA21 KB KP KN KL KC KA1");
  nodes.Remove(3L);
  EXPECT_EQ(ByIndex(nodes), "K0 KA KA2 KA21 KB KP KN KL KC KA1");
  nodes.Remove("KC");
  nodes.Add({}, tvw::Last, "KA21", "again");
  nodes.Item("KA").SetParent(nodes.Item("KA21"));
  EXPECT_EQ(Shown(), "K0(KB) KA21(KA(KN KP KA1))");
  EXPECT_EQ(ByIndex(nodes), "K0 KA KB KP KN KA1 KA21");
  EXPECT_EQ(nodes.RootCount(), 2);
}

TEST_F(TreeNodesTest, RefusedCallsNameTheirFaultAndChangeNothing) {
  const std::vector<std::pair<std::function<void()>, long>> refused = {
      {[&] { nodes.Item("nope"); }, err::ElementNotFound},
      {[&] { nodes.Item(0L); }, err::IndexOutOfBounds},
      {[&] { nodes.Item(7L); }, err::IndexOutOfBounds},
      {[&] { nodes.Add("nope", tvw::Child, "KZ", "z"); }, err::ElementNotFound},
      {[&] { nodes.Add("KA", 7, "KZ", "z"); }, err::InvalidProcedureCall},
      {[&] { nodes.Add("KA", tvw::Child, "KZ", "z", "Unknown"); }, err::ElementNotFound},
      {[&] { nodes.Add("KA", tvw::Child, "KZ", "z", 5); }, err::IndexOutOfBounds},
      {[&] { nodes.Add("KA", tvw::Child, "KB", "b"); }, err::KeyNotUnique},
      {[&] { nodes.Item("KA1").SetKey("KB"); }, err::KeyNotUnique},
      {[&] { nodes.Item("KA").SetParent(nodes.Item("KA21")); }, err::IntroducesCycle},
      {[&] { nodes.Item("KB").SetParent(Node()); }, err::ObjectVariableNotSet},
      {[&] { nodes.Item("K0").Parent().Text(); }, err::ObjectVariableNotSet},
  };
  for (size_t i = 0; i < refused.size(); ++i) {
    EXPECT_EQ(FailureOf(refused[i].first).Number(), refused[i].second) << "case " << i;
  }
  nodes.Item("KA1").SetKey("KA1");
  EXPECT_EQ(Shown(), "K0(KA(KA1 KA2(KA21)) KB)");
  EXPECT_FALSE(nodes.ChildAt(nodes.Item("K0"), 2)) << "a row past the last child is nothing";
}

// A handle from before a Clear never reaches the new node with its key and index.
TEST_F(TreeNodesTest, ARemovedNodeLeavesNoHandleSelectionOrHighlightBehind) {
  Node a1 = nodes.Item("KA1");
  Node b = nodes.Item("KB");
  nodes.Item("KA21").SetSelected(true);
  nodes.SetDropHighlight(a1);
  nodes.Remove("KA");
  EXPECT_FALSE(nodes.SelectedItem());
  EXPECT_FALSE(nodes.DropHighlight());
  EXPECT_EQ(FailureOf([&] { a1.Text(); }).Number(), err::NodeRemoved);
  nodes.Clear();
  nodes.Add({}, tvw::Last, "KB", "new");
  EXPECT_EQ(FailureOf([&] { b.Text(); }).Number(), err::NodeRemoved);
}

}  // namespace
}  // namespace xel::testing
