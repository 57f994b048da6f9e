#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/DialogoFixture.h"

namespace xel::testing {
namespace {

using Texts = std::vector<std::string>;

struct ModosTest : OnEveryBackend<DialogoFixture> {
  ModosTest() {
    AddSmallStore();
    Open();
  }
  struct Campos {
    bool clave, valor, texto, tipo;
    int largoClave;
    Color fondoTexto;
    bool operator==(const Campos&) const = default;
  };
  static Campos CamposDe(const frmZULAddVariables& d) {
    return {d.txtClave.Enabled(), d.txtValor.Enabled(),   d.txtTexto.Enabled(),
            d.cboTipo.Enabled(),  d.txtClave.MaxLength(), d.txtTexto.BackColor()};
  }
};

// Whatever the last command left (here an accepted edit of a variable), the next one finds the
// dialog as its load sets it: class mode, no type, the strips' menu switched off at activation.
// Each option then sets the fields of its mode and leaves the value's length alone; each type in
// turn, and the type emptied again, which changes nothing, sets what the value takes. Enter in the
// type or on an option sends the host a TAB and keeps its code; other keys send nothing.
TEST_P(ModosTest, EachCommandFindsTheDialogFreshAndTheModeAndTypeSetWhatTheFieldsTake) {
  Edita("KIVA", [](frmZULAddVariables& d) {
    d.txtValor.SetText("17");
    d.cmdAceptar.PerformClick();
  });
  utility->onKeys = [this](const std::string& keys) {
    if (keys == "\t") {
      Dialogo().FocusNextControl();
    }
  };
  Agrega("K0001", [](frmZULAddVariables& d) {  // the add command under Ventas
    EXPECT_FALSE(d.Add || d.Controles.MenuEnabled() || d.txtClave.Enabled());
    EXPECT_TRUE(d.Frame1.Enabled() && d.opClaseVariable.Value());
    EXPECT_EQ(d.cboTipo.Items(), (Texts{"N - Numérico", "B - 0 ó 1", "T - Texto"}));
    EXPECT_EQ(std::tuple(d.cboTipo.ListIndex(), d.txtValor.Text(), d.txtClave.MaxLength()),
              std::tuple(-1, "", 0))
        << "no type, no value, and the class option's Click has not run";
    EXPECT_TRUE(d.txtPadre.Locked() && d.txtNPadre.Locked() && d.txtID.Locked());
    d.txtValor.SetMaxLength(7);
    d.txtClave.SetText("0005");
    d.opVariable.UserClick();
    EXPECT_EQ(CamposDe(d), (Campos{true, true, true, true, 50, 0xFFFFFF}));
    EXPECT_TRUE(d.txtClave.HasFocus()) << "choosing a variable leads to its key";
    d.opClaseVariable.UserClick();
    EXPECT_EQ(CamposDe(d), (Campos{false, true, false, false, 15, 0x80000004}));
    EXPECT_EQ(d.txtValor.MaxLength(), 7);
    EXPECT_EQ(d.txtClave.Text(), "0005");
    d.opVariable.UserClick();
    for (auto [tipo, entrada, largo] : {std::tuple{1, TextEntry::Numeric, 1},
                                        {-1, TextEntry::Numeric, 1},
                                        {2, TextEntry::AnyText, 0},
                                        {0, TextEntry::Numeric, 0}}) {
      d.cboTipo.SetListIndex(tipo);
      EXPECT_EQ(d.txtValor.InputKind(), entrada) << tipo;
      EXPECT_EQ(d.txtValor.MaxLength(), largo) << tipo;
    }
    d.txtValor.Type("1a2");
    EXPECT_EQ(d.txtValor.Text(), "12");
    int key = KeyAscii::Enter;
    d.cboTipo.PressKey(key);
    EXPECT_EQ(key, KeyAscii::Enter);
    EXPECT_TRUE(d.txtValor.HasFocus()) << "the next tab stop after the type";
    d.opClaseVariable.PressKey(key);
    EXPECT_TRUE(d.opVariable.HasFocus());
    int other = 'a';
    d.opVariable.PressKey(other);
    d.cmdCancelar.PerformClick();
  });
  EXPECT_EQ(utility->SentKeys(), (Texts{"\t", "\t"}));
}

// The strip's exit and the control box hide the dialog without writing, as Cancelar does; the
// command then unloads it.
TEST_P(ModosTest, EveryWayOutWithoutAcceptingLeavesAddFalseAndWritesNothing) {
  for (bool porLaBarra : {true, false}) {
    Agrega("K0001", [&](frmZULAddVariables& d) {
      LlenaVariable(d, "NUEVA", 0, "5");
      porLaBarra ? d.Controles.ClickExit() : d.RequestClose();
      EXPECT_TRUE(!d.Add && d.Loaded() && !d.Visible()) << porLaBarra;
    });
    EXPECT_FALSE(Dialogo().Loaded()) << porLaBarra;
    EXPECT_TRUE(Arbol().HasFocus()) << porLaBarra;
  }
  EXPECT_EQ(VariableGuardada("NUEVA"), "(none)");
}

XEL_ON_EVERY_BACKEND(ModosTest);

}  // namespace
}  // namespace xel::testing
