#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/TreeNodes.h"

namespace xel {
namespace {

// Keys of a node's children, in order.
std::vector<std::string> ChildKeys(const Node& parent) {
  std::vector<std::string> keys;
  for (Node child = parent.Child(); child; child = child.Next()) {
    keys.push_back(child.Key());
  }
  return keys;
}

// Keys in index order.
std::vector<std::string> KeysByIndex(const TreeNodes& nodes) {
  std::vector<std::string> keys;
  for (long i = 1; i <= nodes.Count(); ++i) {
    keys.push_back(nodes.Item(i).Key());
  }
  return keys;
}

long ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

struct TreeNodesTest : ::testing::Test {
  ImageList images{"General", "SEGURIDAD", "Variable", "STOP"};
  TreeNodes nodes;
  TreeNodesTest() { nodes.SetImageList(&images); }

  // RAIZ with A (A1, A2 (A21)), B, C
  void Sample() {
    nodes.Add({}, tvw::Last, "K0", "RAIZ", 2);
    nodes.Add("K0", tvw::Child, "KA", "A", "General");
    nodes.Add("KA", tvw::Child, "KA1", "A1");
    nodes.Add("KA", tvw::Child, "KA2", "A2");
    nodes.Add("KA2", tvw::Child, "KA21", "A21");
    nodes.Add("K0", tvw::Child, "KB", "B");
    nodes.Add("K0", tvw::Child, "KC", "C");
  }
};

TEST_F(TreeNodesTest, IndexesFollowAdditionAndCloseUpAfterASubtreeLeaves) {
  Sample();
  EXPECT_EQ(nodes.Item("KA21").Index(), 5);
  EXPECT_EQ(nodes.Item("KC").Index(), 7);

  nodes.Remove("KA2");  // takes A21 along
  EXPECT_EQ(nodes.Count(), 5);
  EXPECT_EQ(KeysByIndex(nodes), (std::vector<std::string>{"K0", "KA", "KA1", "KB", "KC"}));
  EXPECT_EQ(nodes.Item("KC").Index(), 5);
  EXPECT_FALSE(nodes.Contains("KA21"));

  nodes.Add("KA", tvw::Child, "KA2", "A2 again");  // newest node: highest index
  EXPECT_EQ(nodes.Item("KA2").Index(), 6);
  nodes.Remove(1L);
  EXPECT_EQ(nodes.Count(), 0);
}

TEST_F(TreeNodesTest, KeysAreUniqueAndMissingItemsAreErrors) {
  Sample();
  EXPECT_EQ(ErrorOf([&] { nodes.Add("K0", tvw::Child, "KB", "again"); }), err::KeyNotUnique);
  EXPECT_EQ(nodes.Count(), 7);
  EXPECT_EQ(ErrorOf([&] { nodes.Item("KA1").SetKey("KB"); }), err::KeyNotUnique);
  EXPECT_EQ(nodes.Item("KA1").Key(), "KA1");

  nodes.Item("KA1").SetKey("KX");
  EXPECT_EQ(nodes.Item("KX").Text(), "A1");
  EXPECT_FALSE(nodes.Contains("KA1"));

  EXPECT_EQ(ErrorOf([&] { nodes.Item("nope"); }), err::ElementNotFound);
  EXPECT_EQ(ErrorOf([&] { nodes.Item(0L); }), err::IndexOutOfBounds);
  EXPECT_EQ(ErrorOf([&] { nodes.Item(8L); }), err::IndexOutOfBounds);
  EXPECT_EQ(ErrorOf([&] { nodes.Add("nope", tvw::Child, "KZ", "z"); }), err::ElementNotFound);
  EXPECT_EQ(ErrorOf([&] { nodes.Add("KA", 7, "KZ", "z"); }), err::InvalidProcedureCall);
  EXPECT_EQ(nodes.Count(), 7);
}

TEST_F(TreeNodesTest, EachRelationshipPlacesTheNodeWhereTheControlWould) {
  Sample();
  nodes.Add("KB", tvw::First, "K1", "first");
  nodes.Add("KB", tvw::Last, "K2", "last");
  nodes.Add("KB", tvw::Next, "K3", "after B");
  nodes.Add(6L, tvw::Previous, "K4", "before B");  // index 6 is B
  nodes.Add({}, tvw::Last, "KT", "second top level");
  nodes.Add({}, tvw::First, "KF", "first top level");

  EXPECT_EQ(ChildKeys(nodes.Item("K0")),
            (std::vector<std::string>{"K1", "KA", "K4", "KB", "K3", "KC", "K2"}));
  EXPECT_EQ(nodes.FirstRoot().Key(), "KF");
  EXPECT_EQ(nodes.FirstRoot().Next().Key(), "K0");
  EXPECT_EQ(nodes.FirstRoot().LastSibling().Key(), "KT");
  EXPECT_EQ(nodes.RootCount(), 3);
}

TEST_F(TreeNodesTest, SiblingNavigationEndsWithNothingAtBothEnds) {
  Sample();
  Node a = nodes.Item("KA");
  Node c = nodes.Item("KC");
  EXPECT_FALSE(a.Previous());
  EXPECT_FALSE(c.Next());
  EXPECT_EQ(a.FirstSibling(), a);
  EXPECT_EQ(a.LastSibling(), c);
  EXPECT_EQ(c.FirstSibling(), a);
  EXPECT_EQ(nodes.Item("KB").Previous(), a);
  EXPECT_EQ(a.Children(), 2);
  EXPECT_EQ(a.Child().Key(), "KA1");
  EXPECT_FALSE(nodes.Item("KA1").Child());
  EXPECT_EQ(nodes.Item("KA21").Parent().Parent(), a);
  EXPECT_FALSE(nodes.Item("K0").Parent());
  EXPECT_EQ(ErrorOf([&] { nodes.Item("K0").Parent().Text(); }), err::ObjectVariableNotSet);
}

TEST_F(TreeNodesTest, SettingTheParentMovesTheSubtreeToTheEndAndRefusesLoops) {
  Sample();
  Node a2 = nodes.Item("KA2");
  a2.SetParent(nodes.Item("KB"));
  EXPECT_EQ(ChildKeys(nodes.Item("KA")), (std::vector<std::string>{"KA1"}));
  EXPECT_EQ(ChildKeys(nodes.Item("KB")), (std::vector<std::string>{"KA2"}));
  EXPECT_EQ(ChildKeys(a2), (std::vector<std::string>{"KA21"}));
  EXPECT_EQ(a2.Index(), 4);  // moving does not renumber

  nodes.Item("KA").SetParent(nodes.Item("K0"));  // to the end of the same parent
  EXPECT_EQ(ChildKeys(nodes.Item("K0")), (std::vector<std::string>{"KB", "KC", "KA"}));

  EXPECT_EQ(ErrorOf([&] { nodes.Item("KB").SetParent(nodes.Item("KA21")); }), err::IntroducesCycle);
  EXPECT_EQ(ErrorOf([&] { nodes.Item("KB").SetParent(nodes.Item("KB")); }), err::IntroducesCycle);
  EXPECT_EQ(ErrorOf([&] { nodes.Item("KB").SetParent(Node()); }), err::ObjectVariableNotSet);
  EXPECT_EQ(ChildKeys(nodes.Item("KB")), (std::vector<std::string>{"KA2"}));
}

TEST_F(TreeNodesTest, AHandleToARemovedNodeIsAnErrorEvenAfterAClear) {
  Sample();
  Node b = nodes.Item("KB");
  Node a1 = nodes.Item("KA1");
  nodes.Remove("KB");
  EXPECT_FALSE(b.Exists());
  EXPECT_EQ(ErrorOf([&] { b.Text(); }), err::NodeRemoved);

  nodes.Clear();
  nodes.Add({}, tvw::Last, "K0", "RAIZ");
  nodes.Add("K0", tvw::Child, "KA1", "new");
  EXPECT_EQ(ErrorOf([&] { a1.Text(); }), err::NodeRemoved);
  EXPECT_EQ(nodes.Item(2L).Text(), "new");
}

TEST_F(TreeNodesTest, ImagesAreResolvedByNumberOrKeyBeforeTheNodeIsAdded) {
  Sample();
  EXPECT_EQ(nodes.Item("K0").Image(), 2);
  EXPECT_EQ(nodes.Item("KA").Image(), 1);
  EXPECT_EQ(nodes.Item("KA1").Image(), 0);
  nodes.Item("KA1").SetImage("Variable");
  EXPECT_EQ(nodes.Item("KA1").Image(), 3);
  EXPECT_EQ(ErrorOf([&] { nodes.Add("KA", tvw::Child, "KZ", "z", "Unknown"); }),
            err::ElementNotFound);
  EXPECT_EQ(ErrorOf([&] { nodes.Add("KA", tvw::Child, "KZ", "z", 5); }), err::IndexOutOfBounds);
  EXPECT_FALSE(nodes.Contains("KZ"));

  TreeNodes bare;
  EXPECT_EQ(ErrorOf([&] { bare.Add({}, tvw::Last, "K0", "RAIZ", 2); }),
            err::ImageListNotInitialized);
  EXPECT_EQ(bare.Count(), 0);
}

TEST_F(TreeNodesTest, SelectionAndHighlightLeaveWithTheirNode) {
  Sample();
  nodes.Item("KA21").SetSelected(true);
  nodes.SetDropHighlight(nodes.Item("KA1"));
  EXPECT_EQ(nodes.SelectedItem().Key(), "KA21");
  nodes.Remove("KA");
  EXPECT_FALSE(nodes.SelectedItem());
  EXPECT_FALSE(nodes.DropHighlight());
}

TEST_F(TreeNodesTest, RowsForViewsFollowInsertsMovesAndRemovals) {
  Sample();
  Node root = nodes.Item("K0");
  EXPECT_EQ(nodes.ChildAt(root, 2).Key(), "KC");
  EXPECT_EQ(nodes.RowOf(nodes.Item("KC")), 2);
  nodes.Add("KA", tvw::Next, "KN", "N");
  EXPECT_EQ(nodes.RowOf(nodes.Item("KC")), 3);
  nodes.Item("KA").SetParent(nodes.Item("KC"));
  EXPECT_EQ(nodes.ChildAt(root, 0).Key(), "KN");
  EXPECT_EQ(nodes.RowOf(nodes.Item("KA")), 0);
  EXPECT_FALSE(nodes.ChildAt(root, 3));
  EXPECT_EQ(nodes.ChildAt(Node(), 0), root);
}

// Writes down every notification, as a view would receive them.
struct Journal : TreeObserver {
  std::vector<std::string> lines;
  static std::string Name(const Node& node) { return node ? node.Key() : "-"; }
  void NodeAboutToBeAdded(const Node& parent, long row) override {
    lines.push_back("adding " + Name(parent) + " " + std::to_string(row));
  }
  void NodeAdded(const Node& node) override { lines.push_back("added " + Name(node)); }
  void NodeAboutToBeRemoved(const Node& node) override {
    lines.push_back("removing " + Name(node));
  }
  void NodeRemoved(const Node& parent, long row) override {
    lines.push_back("removed " + Name(parent) + " " + std::to_string(row));
  }
  void NodeAboutToBeMoved(const Node& node, const Node& parent, long row) override {
    lines.push_back("moving " + Name(node) + " " + Name(parent) + " " + std::to_string(row));
  }
  void NodeMoved(const Node& node) override { lines.push_back("moved " + Name(node)); }
  void NodeChanged(const Node& node, NodeField what) override {
    lines.push_back("changed " + Name(node) + " " + std::to_string(static_cast<int>(what)));
  }
  void AboutToBeCleared() override { lines.push_back("clearing"); }
  void Cleared() override { lines.push_back("cleared"); }
};

TEST_F(TreeNodesTest, ObserversAreToldBeforeAndAfterEachChange) {
  Sample();
  Journal journal;
  nodes.AddObserver(&journal);
  nodes.Add("KB", tvw::Previous, "KP", "P");
  nodes.Item("KP").SetText("P2");
  nodes.Item("KP").SetText("P2");  // no change, no notification
  nodes.Item("KA2").SetParent(nodes.Item("KC"));
  nodes.Remove("KA");
  nodes.Clear();
  EXPECT_EQ(journal.lines, (std::vector<std::string>{"adding K0 1", "added KP", "changed KP 1",
                                                     "moving KA2 KC 0", "moved KA2", "removing KA",
                                                     "removed K0 0", "clearing", "cleared"}));
  nodes.RemoveObserver(&journal);
  nodes.Add({}, tvw::Last, "K0", "RAIZ");
  EXPECT_EQ(journal.lines.size(), 9u);
}

}  // namespace
}  // namespace xel
