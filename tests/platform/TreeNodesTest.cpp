// What the random sequences of TreeNodesPropertyTest.cpp do not reach: refused calls, images,
// stale handles and selection.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/forms/TreeNodes.h"
#include "tests/support/FailureOf.h"

namespace xel {
namespace {

using testing::FailureOf;

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
};

TEST_F(TreeNodesTest, RefusedCallsNameTheirFaultAndChangeNothing) {
  const std::vector<std::pair<std::function<void()>, long>> refused = {
      {[&] { nodes.Item("nope"); }, err::ElementNotFound},
      {[&] { nodes.Item(0L); }, err::IndexOutOfBounds},
      {[&] { nodes.Item(7L); }, err::IndexOutOfBounds},
      {[&] { nodes.Add("nope", tvw::Child, "KZ", "z"); }, err::ElementNotFound},
      {[&] { nodes.Add("KA", 7, "KZ", "z"); }, err::InvalidProcedureCall},
      {[&] { nodes.Add("KA", tvw::Child, "KZ", "z", "Unknown"); }, err::ElementNotFound},
      {[&] { nodes.Add("KA", tvw::Child, "KZ", "z", 5); }, err::IndexOutOfBounds},
      {[&] { nodes.Item("KB").SetParent(Node()); }, err::ObjectVariableNotSet},
      {[&] { nodes.Item("K0").Parent().Text(); }, err::ObjectVariableNotSet},
  };
  for (size_t i = 0; i < refused.size(); ++i) {
    EXPECT_EQ(FailureOf(refused[i].first).Number(), refused[i].second) << "case " << i;
  }
  EXPECT_EQ(nodes.Count(), 6);
  EXPECT_EQ(nodes.Item("KB").Parent(), nodes.Item("K0"));
  EXPECT_FALSE(nodes.ChildAt(nodes.Item("K0"), 2)) << "a row past the last child is nothing";
}

TEST_F(TreeNodesTest, ImagesAreResolvedByNumberOrKeyAndNeedAnImageList) {
  nodes.Item("KA1").SetImage("Variable");
  EXPECT_EQ((std::vector<int>{nodes.Item("K0").Image(), nodes.Item("KA").Image(),
                              nodes.Item("KA1").Image(), nodes.Item("KA21").Image()}),
            (std::vector<int>{2, 1, 3, 0}));
  TreeNodes bare;
  EXPECT_EQ(FailureOf([&] { bare.Add({}, tvw::Last, "K0", "RAIZ", 2); }).Number(),
            err::ImageListNotInitialized);
  EXPECT_EQ(bare.Count(), 0);
}

TEST_F(TreeNodesTest, ARemovedNodeLeavesNoHandleSelectionOrHighlightBehind) {
  Node a1 = nodes.Item("KA1");
  Node b = nodes.Item("KB");
  nodes.Item("KA21").SetSelected(true);
  nodes.SetDropHighlight(a1);
  EXPECT_EQ(nodes.SelectedItem().Key(), "KA21");
  nodes.Remove("KA");
  EXPECT_FALSE(nodes.SelectedItem());
  EXPECT_FALSE(nodes.DropHighlight());
  EXPECT_EQ(FailureOf([&] { a1.Text(); }).Number(), err::NodeRemoved);

  // A handle from before a Clear never reaches the new node with its key and index.
  nodes.Clear();
  nodes.Add({}, tvw::Last, "KB", "new");
  EXPECT_FALSE(b.Exists());
  EXPECT_EQ(FailureOf([&] { b.Text(); }).Number(), err::NodeRemoved);
}

}  // namespace
}  // namespace xel
