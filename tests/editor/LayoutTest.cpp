#include <gtest/gtest.h>

#include "tests/editor/EditorFixture.h"

namespace xel::testing {
namespace {

// The tree grows with the window and the frame follows it; a window too small for the tree keeps
// the last height that fitted rather than a negative one.
TEST(LayoutTest, AWindowTooSmallKeepsTheTreeHeightButStillMovesTheFrame) {
  TempStore store(TempStore::Contents::Schema);
  VentanaEditor ventana(store.Db());
  frmXEL02& editor = ventana.editor;
  editor.Load();
  editor.Resize(9000, 7000);
  const Bounds grown = editor.tvVariables.GetBounds();
  EXPECT_FLOAT_EQ(editor.frFrame.GetBounds().top, grown.top + grown.height + 150);
  editor.Resize(200, 3000);
  const Bounds tree = editor.tvVariables.GetBounds();
  EXPECT_FLOAT_EQ(tree.height, grown.height);
  EXPECT_FLOAT_EQ(tree.width, grown.width);
  EXPECT_FLOAT_EQ(editor.frFrame.GetBounds().top, tree.top + tree.height + 150);
  EXPECT_TRUE(ventana.ui.UnhandledErrors().empty());
}

}  // namespace
}  // namespace xel::testing
