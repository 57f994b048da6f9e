#include <gtest/gtest.h>

#include "tests/editor/EditorFixture.h"

namespace xel::testing {
namespace {

struct LayoutTest : EditorFixture {
  LayoutTest() { editor.Load(); }
};

TEST_F(LayoutTest, TheTreeTakesTheRoomAboveTheFrameWhichFollowsIt) {
  editor.Resize(10000, 8000);
  const Bounds tree = editor.tvVariables.GetBounds();
  const Bounds frame = editor.frFrame.GetBounds();
  EXPECT_FLOAT_EQ(tree.height, 8000 - 3255);
  EXPECT_FLOAT_EQ(tree.width, 10000 - 350);
  EXPECT_FLOAT_EQ(frame.top, 8000 - 2025);
  EXPECT_FLOAT_EQ(frame.width, 7335) << "the frame keeps its designed size";
  EXPECT_FLOAT_EQ(frame.left, 120);
  EXPECT_FLOAT_EQ(tree.left, 120);
  EXPECT_FLOAT_EQ(tree.top, 1080);
}

TEST_F(LayoutTest, AWindowTooSmallKeepsTheTreeHeightButStillMovesTheFrame) {
  editor.Resize(9000, 7000);
  editor.Resize(200, 3000);
  const Bounds tree = editor.tvVariables.GetBounds();
  EXPECT_FLOAT_EQ(tree.height, 7000 - 3255);
  EXPECT_FLOAT_EQ(tree.width, 9000 - 350);
  EXPECT_FLOAT_EQ(editor.frFrame.GetBounds().top, 1080 + 7000 - 3255 + 150);
  EXPECT_TRUE(ui.UnhandledErrors().empty());
}

}  // namespace
}  // namespace xel::testing
