#include <gtest/gtest.h>

#include "tests/support/EditorFixture.h"
#include "tests/support/TreeAndStore.h"

namespace xel::testing {
namespace {

using Lines = std::vector<std::string>;

struct CargaArbolTest : OnEveryBackend<EditorFixture> {};

TEST_P(CargaArbolTest, BuildsTheTreeByTheNodeConventionsWithOneQueryPerLevelAndClass) {
  AddSmallStore();
  AddClass("0009", "0009", "0077", "Huerfana");  // its parent is missing: not shown
  AddClass("0010", "0010", "0000", "bodega");    // letter case does not decide the order
  editor.Show();

  EXPECT_EQ(TreeShown(Nodes()),
            (Lines{"K0|RAIZ|", " K0004|Almacen|0004", " K0010|bodega|0010", " K0003|Compras|0003",
                   " K0001|Ventas|0001", "  K0002|Descuentos|0002",
                   "   KDESC_MAX|DESC_MAX|DESC_MAX", "  KIVA|IVA|IVA", "  KMONEDA|MONEDA|MONEDA"}))
      << "top level by description; sub-classes before variables; variables by key";
  EXPECT_EQ(NodeOf("K0001").Image(), Imagen("General"));
  EXPECT_EQ(NodeOf("KIVA").Image(), Imagen("Variable"));
  for (long i = 1; i <= Nodes().Count(); ++i) {
    EXPECT_EQ(Nodes().Item(i).Checked(), i == 1) << Nodes().Item(i).Key();
  }
  EXPECT_EQ(WithoutHistory(db.Statements()).size(), 1u + 2 * 5) << "one query per level and class";
  // The load makes add available, the tree load takes it back.
  EXPECT_EQ(ui.Pointers(), (std::vector<int>{MousePointer::Hourglass, MousePointer::Default}));
  EXPECT_FALSE(Barra().AddAvailable() || Barra().EditAvailable() || Barra().DeleteAvailable());
  EXPECT_TRUE(session->Messages().empty());

  db.Clear();
  editor.Activate();
  EXPECT_TRUE(db.Statements().empty()) << "activation loads only an empty tree";
}

// A class met twice stops only the level under its second holder; a variable key equal to a class
// code at the top level ends the load there.
TEST_P(CargaArbolTest, AKeyMetTwiceStopsTheLevelItIsMetInAndTheRestLoads) {
  struct Caso {
    Lines clases;          // "code position parent description"
    std::string variable;  // "class key"
    std::string errorId;
    Lines shape;
  };
  const Caso casos[] = {
      {{"0001 0001 0000 A", "0002 0001 0000 B", "0003 0002 0001 Hija", "0004 0004 0000 C"},
       "0002 VB",
       "ERR-ID:7500002",
       {"K0", " K0001", "  K0003", " K0002", "  KVB", " K0004"}},
      {{"0001 0001 0000 A", "0002 0002 0000 B"}, "0001 0001", "ERR-ID:7500001", {"K0", " K0001"}},
  };
  Open();
  for (const Caso& c : casos) {
    store.Db().Execute("DELETE FROM XEL_Configuracion");
    store.Db().Execute("DELETE FROM XEL_Clase_Variable");
    session->ClearMessages();
    for (const std::string& clase : c.clases) {
      AddClass(clase.substr(0, 4), clase.substr(5, 4), clase.substr(10, 4), clase.substr(15));
    }
    AddVariable(c.variable.substr(0, 4), c.variable.substr(5), "x");
    PressF5();
    EXPECT_EQ(session->ErrorIds(), Lines{c.errorId});
    EXPECT_EQ(Shape(), c.shape) << c.errorId;
  }
}

XEL_ON_EVERY_BACKEND(CargaArbolTest);

}  // namespace
}  // namespace xel::testing
