#include <gtest/gtest.h>

#include "tests/support/EditorFixture.h"

namespace xel::testing {
namespace {

// RAIZ > Almacen, Compras, Ventas (Descuentos (DESC_MAX), IVA, MONEDA)
struct MarcasTest : EditorFixture {
  MarcasTest() {
    AddSmallStore();
    Open();
  }
  void Check(const std::string& key, bool state) { Arbol().UserCheck(NodeOf(key), state); }
  // Adds `count` nodes under `parent`, each under the previous one when `nested`.
  void Grow(std::string parent, int count, bool nested) {
    const std::string prefix = parent + "_";
    for (int i = 0; i < count; ++i) {
      std::string key = prefix + std::to_string(i);
      Nodes().Add(parent, tvw::Child, key, key);
      parent = nested ? key : parent;
    }
  }
  // Whether every node below `key` has the state, for a flat run or a chain as Grow makes them.
  bool AllUnder(const std::string& key, bool state) {
    bool all = true;
    for (Node node = NodeOf(key).Child(); node; node = node.Child() ? node.Child() : node.Next()) {
      all = all && node.Checked() == state;
    }
    return all;
  }
};

TEST_F(MarcasTest, NeitherAHundredThousandSiblingsNorAsManyLevelsExhaustThePropagation) {
  Grow("K0004", 100000, false);
  Grow("K0003", 100000, true);
  Check("K0", true);
  EXPECT_TRUE(AllUnder("K0004", true) && AllUnder("K0003", true));
  Check("K0004", false);
  Check("K0003", false);
  EXPECT_TRUE(AllUnder("K0004", false) && AllUnder("K0003", false));
  EXPECT_TRUE(NodeOf("K0001").Checked());
}

}  // namespace
}  // namespace xel::testing
