#include <gtest/gtest.h>

#include "tests/support/EditorFixture.h"

namespace xel::testing {
namespace {

// The tree grows with the window and the frame follows it; a window too small for the tree keeps
// the last height that fitted rather than a negative one.
TEST_F(EditorFixture, AWindowTooSmallKeepsTheTreeHeightButStillMovesTheFrame) {
  editor.Load();
  editor.Resize(9000, 7000);
  const Bounds grown = Arbol().GetBounds();
  EXPECT_FLOAT_EQ(Ctl<Frame>("frFrame").GetBounds().top, grown.top + grown.height + 150);
  editor.Resize(200, 3000);
  const Bounds tree = Arbol().GetBounds();
  EXPECT_FLOAT_EQ(tree.height, grown.height);
  EXPECT_FLOAT_EQ(tree.width, grown.width);
  EXPECT_FLOAT_EQ(Ctl<Frame>("frFrame").GetBounds().top, tree.top + tree.height + 150);
  EXPECT_TRUE(ui.UnhandledErrors().empty());
}

}  // namespace
}  // namespace xel::testing
