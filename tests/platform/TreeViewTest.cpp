#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/TreeView.h"
#include "tests/support/ScriptedUi.h"

namespace xel {
namespace {

struct TreeViewTest : ::testing::Test {
  testing::ScriptedUi ui;
  FormsRuntime runtime{ui};
  Form form{runtime, "frmTree"};
  ImageList images{"General", "SEGURIDAD", "Variable", "STOP"};
  TreeView tree{form, "tvVariables"};
  std::vector<std::string> events;

  TreeViewTest() {
    tree.SetImageList(&images);
    auto& nodes = tree.Nodes();
    nodes.Add({}, tvw::Last, "K0", "RAIZ", 2);
    nodes.Add("K0", tvw::Child, "KA", "A", "General");
    nodes.Add("KA", tvw::Child, "KA1", "A1", "General");
    nodes.Add("KA1", tvw::Child, "Kv", "v", "Variable");
    nodes.Add("K0", tvw::Child, "KB", "B", "General");
    tree.Expand.Connect([this](Node n) { events.push_back("expand " + n.Key()); });
    tree.Collapse.Connect([this](Node n) { events.push_back("collapse " + n.Key()); });
    tree.NodeCheck.Connect(
        [this](Node n) { events.push_back("check " + n.Key() + (n.Checked() ? " on" : " off")); });
    tree.NodeClick.Connect([this](Node n) { events.push_back("click " + n.Key()); });
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

TEST_F(TreeViewTest, AClickSelectsTheNodeBeforeTheHandlerRuns) {
  tree.NodeClick.Connect(
      [this](Node n) { events.push_back(tree.SelectedItem() == n ? "selected" : "not selected"); });
  tree.UserClick(tree.Nodes().Item("KB"));
  EXPECT_EQ(events, (std::vector<std::string>{"selected"}));
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

TEST_F(TreeViewTest, KeyPressHandlersCanConsumeTheKey) {
  tree.KeyPress.Connect([](int& key) {
    if (key == '+') {
      key = 0;
    }
  });
  EXPECT_EQ(tree.UserKeyPress('+'), 0);
  EXPECT_EQ(tree.UserKeyPress('a'), 'a');
}

TEST_F(TreeViewTest, AFailingTreeHandlerIsReportedNotThrown) {
  tree.NodeClick.Connect([](Node n) { n.Parent().Text(); });
  tree.UserClick(tree.Nodes().Item("K0"));
  ASSERT_EQ(ui.UnhandledErrors().size(), 1u);
  EXPECT_EQ(ui.UnhandledErrors()[0].number, err::ObjectVariableNotSet);
}

}  // namespace
}  // namespace xel
