#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/TreeView.h"
#include "tests/support/ScriptedUi.h"

namespace xel {
namespace {

TEST(TreeViewTest, EnsureVisibleExpandsTheAncestorsTopDownAndHitTestCountsOnlyVisibleRows) {
  testing::ScriptedUi ui;
  FormsRuntime runtime{ui};
  Form form{runtime, "frmTree"};
  TreeView tree{form, "tvVariables"};
  std::vector<std::string> events;
  TreeNodes& nodes = tree.Nodes();
  nodes.Add({}, tvw::Last, "K0", "RAIZ");
  nodes.Add("K0", tvw::Child, "KA", "A");
  nodes.Add("KA", tvw::Child, "KA1", "A1");
  nodes.Add("KA1", tvw::Child, "Kv", "v");
  nodes.Add("K0", tvw::Child, "KB", "B");
  tree.Expand.Connect([&](Node n) { events.push_back("expand " + n.Key()); });
  tree.Collapse.Connect([&](Node n) { events.push_back("collapse " + n.Key()); });
  tree.NodeCheck.Connect([&](Node n) { events.push_back("check " + n.Key()); });
  constexpr float kRow = TreeView::kRowHeight;
  EXPECT_EQ(tree.HitTest(0, 10).Key(), "K0");
  EXPECT_FALSE(tree.HitTest(0, kRow * 1.5f)) << "RAIZ is collapsed";
  nodes.Item("Kv").EnsureVisible();
  EXPECT_EQ(tree.HitTest(0, kRow * 1.5f).Key(), "KA");
  EXPECT_EQ(tree.HitTest(0, kRow * 4.5f).Key(), "KB");
  EXPECT_FALSE(tree.HitTest(0, -1));
  tree.UserSetExpanded(nodes.Item("KA"), false);
  tree.UserSetExpanded(nodes.Item("KA"), false);  // already collapsed: no event
  nodes.Item("KA").SetChecked(true);              // only the user's check raises NodeCheck
  tree.UserCheck(nodes.Item("KB"), true);
  EXPECT_EQ(events, (std::vector<std::string>{"expand K0", "expand KA", "expand KA1", "collapse KA",
                                              "check KB"}));
  tree.SetHitTester([&](float, float) { return nodes.Item("Kv"); });
  EXPECT_EQ(tree.HitTest(0, 0).Key(), "Kv");
}

}  // namespace
}  // namespace xel
