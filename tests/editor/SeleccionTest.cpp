#include <gtest/gtest.h>

#include "tests/support/EditorFixture.h"

namespace xel::testing {
namespace {

using Texts = std::vector<std::string>;
using Flags = std::vector<bool>;

struct Seleccion : EditorFixture {
  explicit Seleccion(Backend backend = Backend::Sqlite) : EditorFixture(backend) {
    AddSmallStore();
    AddClass("0007", "0012", "0000", "0007");  // a class whose description equals its code
    AddClass("0020", "0033", "0000", "Tesoreria");
    Open();
  }
};

// What a click shows and allows, read from the store on each backend.
struct SeleccionTest : OnEveryBackend<Seleccion> {};
// Expanding and dragging, which only the tree sees.
using SeleccionEnArbolTest = Seleccion;

// The details are read from the store; a class described by its own code is taken for a variable,
// and a variable gone from the store shows no value.
TEST_P(SeleccionTest, AClickShowsTheNodesStoredDetailsAndAllowsWhatItsKindTakes) {
  store.Db().Execute("DELETE FROM XEL_Configuracion WHERE Cf_Variable = 'MONEDA'");
  // The pane's position, code, description or value; whether add, edit and delete are allowed.
  for (const auto& [key, pane, commands] :
       std::initializer_list<std::tuple<std::string, Texts, Flags>>{
           {"K0", {"0001", "0001", "RAIZ"}, {true, false, false}},
           {"KIVA", {"", "IVA", "16"}, {false, true, true}},
           {"K0020", {"0033", "0020", "Tesoreria"}, {true, true, true}},
           {"K0007", {"", "0007", ""}, {false, true, true}},
           {"KMONEDA", {"", "MONEDA", ""}, {false, true, true}},
       }) {
    Click(key);
    EXPECT_EQ(Texts({Ctl("txtID").Text(), Ctl("txtClave").Text(), Ctl("txtDescripcion").Text()}),
              pane)
        << key;
    EXPECT_EQ(Flags({Barra().AddAvailable(), Barra().EditAvailable(), Barra().DeleteAvailable()}),
              commands)
        << key;
  }
  EXPECT_TRUE(session->Messages().empty());
}

// A drag starts only on a class, the one selected when a button, any button, went down.
TEST_F(SeleccionEnArbolTest, ADragStartsOnTheClassSelectedWhenAButtonWentDown) {
  for (const char* fijo : {"KIVA", "K0"}) {
    Click(fijo);
    Arbol().UserStartDrag(NodeOf(fijo));
    EXPECT_FALSE(Arrastrando()) << fijo;
  }
  Click("K0001");
  Arbol().UserMouseDown(MouseButton::Right, 1, 500, 500);
  Arbol().UserStartDrag(NodeOf("K0001"));
  EXPECT_TRUE(Arrastrando());
  Arbol().SetSelectedItem(Node());
  Arbol().UserMouseDown(MouseButton::Left, 0, 0, 0);
  Arbol().UserStartDrag(NodeOf("K0001"));
  EXPECT_FALSE(Arrastrando());
}

XEL_ON_EVERY_BACKEND(SeleccionTest);

}  // namespace
}  // namespace xel::testing
