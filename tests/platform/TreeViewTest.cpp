#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/TreeView.h"
#include "tests/support/ScriptedUi.h"

namespace xel {
namespace {

struct TreeViewTest : ::testing::Test {
  testing::ScriptedUi ui;
  FormsRuntime runtime{ui};
  Form form{runtime, "frmTree"};
  TreeView tree{form, "tvVariables"};
  std::vector<std::string> events;

  TreeViewTest() {
    auto& nodes = tree.Nodes();
    nodes.Add({}, tvw::Last, "K0", "RAIZ");
    nodes.Add("K0", tvw::Child, "KA", "A");
    nodes.Add("KA", tvw::Child, "KA1", "A1");
    nodes.Add("KA1", tvw::Child, "Kv", "v");
    nodes.Add("K0", tvw::Child, "KB", "B");
    tree.Expand.Connect([this](Node n) { events.push_back("expand " + n.Key()); });
    tree.Collapse.Connect([this](Node n) { events.push_back("collapse " + n.Key()); });
    tree.NodeCheck.Connect(
        [this](Node n) { events.push_back("check " + n.Key() + (n.Checked() ? " on" : " off")); });
  }
};

TEST_F(TreeViewTest, EnsureVisibleExpandsTheAncestorsFromTheTopDown) {
  tree.Nodes().Item("Kv").EnsureVisible();
  EXPECT_EQ(events, (std::vector<std::string>{"expand K0", "expand KA", "expand KA1"}));
  tree.UserSetExpanded(tree.Nodes().Item("KA"), false);
  tree.UserSetExpanded(tree.Nodes().Item("KA"), false);  // already collapsed: no event
  EXPECT_EQ(events.back(), "collapse KA");
  EXPECT_EQ(events.size(), 4u);
}

TEST_F(TreeViewTest, OnlyTheUsersCheckRaisesNodeCheck) {
  tree.Nodes().Item("KA").SetChecked(true);
  tree.UserCheck(tree.Nodes().Item("KB"), true);
  EXPECT_EQ(events, (std::vector<std::string>{"check KB on"}));
}

TEST_F(TreeViewTest, HitTestCountsOnlyTheRowsAPersonSees) {
  EXPECT_EQ(tree.HitTest(0, 10).Key(), "K0");
  EXPECT_FALSE(tree.HitTest(0, TreeView::kRowHeight * 1.5f));  // RAIZ is collapsed
  tree.Nodes().Item("K0").SetExpanded(true);
  EXPECT_EQ(tree.HitTest(0, TreeView::kRowHeight * 1.5f).Key(), "KA");
  EXPECT_EQ(tree.HitTest(0, TreeView::kRowHeight * 2.5f).Key(), "KB");
  EXPECT_FALSE(tree.HitTest(0, -1));
  tree.SetHitTester([this](float, float) { return tree.Nodes().Item("Kv"); });
  EXPECT_EQ(tree.HitTest(0, 0).Key(), "Kv");
}

}  // namespace
}  // namespace xel
