#include <gtest/gtest.h>

#include <QComboBox>
#include <QRadioButton>

#include "qt/Appearance.h"
#include "qt/HostScreen.h"
#include "tests/qt/QtFixture.h"

namespace xel::testing {
namespace {

using Events = std::vector<std::string>;

// A form with the kinds of control whose widgets act on their own, its handlers noting what they
// were told.
struct SampleForm : Form {
  explicit SampleForm(FormsRuntime& runtime) : Form(runtime, "frmMuestra") {
    cmdCancelar.Click.Connect([this] {
      events.push_back("Cancelar");
      Hide();
    });
    cboTipo.Change.Connect([this] { events.push_back("Change " + cboTipo.Text()); });
    cboTipo.KeyPress.Connect([this](int& key) { events.push_back("Key " + std::to_string(key)); });
    opDos.Click.Connect([this] { events.push_back("opDos"); });
  }

  Frame Marco{*this, "Marco"};
  OptionButton opUno{Marco, "opUno"};
  OptionButton opDos{Marco, "opDos"};
  TextBoxZul txtNumero{*this, "txtNumero"};
  TextBoxZul txtNombre{*this, "txtNombre"};
  ComboZul cboTipo{*this, "cboTipo"};
  FlatButton cmdCancelar{*this, "cmdCancelar"};
  Events events;

 protected:
  void InitializeComponent() override {
    SetDesignSize(7500, 7500);
    Marco.Move(120, 1080, 4000, 450);
    opUno.Move(0, 0, 1500, 375);
    opDos.Move(1600, 0, 1500, 375);
    txtNumero.Move(120, 1680, 1500, 300);
    txtNumero.SetTabOnEnter(true);
    txtNumero.SetTabIndex(1);
    txtNombre.Move(120, 2040, 3000, 300);
    txtNombre.SetTabIndex(2);
    cboTipo.Move(120, 2400, 2000, 300);
    for (const char* item : {"N - Numérico", "B - 0 ó 1", "T - Texto"}) {
      cboTipo.AddItem(item);
    }
    cmdCancelar.Move(1800, 2880, 1500, 375);
    cmdCancelar.SetCaption("Cancelar");
  }
};

struct ControlViewsTest : ::testing::Test {
  ControlViewsTest() {
    form.Show();
    QApplication::processEvents();
  }
  QtUiBackend ui;
  FormsRuntime runtime{ui};
  SampleForm form{runtime};
};

// The host's Tab keystroke moves on only once the event that sent it is over, as on its screen.
TEST_F(ControlViewsTest, EnterWhereTheBoxSaysSoAndTheHostsTabMoveTheFocusAndItsColourOn) {
  auto& numero = WidgetOf<QLineEdit>(ui, form, "txtNumero");
  numero.setFocus();
  EXPECT_EQ(numero.palette().color(QPalette::Active, QPalette::Base),
            ToQColor(form.txtNumero.FocusColor()));
  QTest::keyClick(&numero, Qt::Key_Return);
  EXPECT_EQ(form.ActiveControl(), &form.txtNombre);
  EXPECT_EQ(QApplication::focusWidget(), WindowOf(ui, form).WidgetOf("txtNombre"));
  EXPECT_EQ(numero.palette().color(QPalette::Active, QPalette::Base),
            ToQColor(form.txtNumero.EnabledColor()));

  numero.setFocus();
  SendKeysToFocus("\t");
  EXPECT_EQ(form.ActiveControl(), &form.txtNumero);
  QApplication::processEvents();
  EXPECT_EQ(form.ActiveControl(), &form.txtNombre);
}

// The combo's list and the options' group show what the controls keep, and take the user's pick.
TEST_F(ControlViewsTest, ChoicesShowWhatTheControlsKeepAndTakeTheUsersPickAndKeys) {
  auto& combo = WidgetOf<QComboBox>(ui, form, "cboTipo");
  QTest::keyClick(&combo, Qt::Key_Down);
  QTest::keyClick(&combo, Qt::Key_Return);
  EXPECT_EQ(form.cboTipo.ListIndex(), 0);
  form.cboTipo.SetListIndex(2);
  EXPECT_EQ(combo.currentText(), "T - Texto");

  auto& uno = WidgetOf<QRadioButton>(ui, form, "opUno");
  auto& dos = WidgetOf<QRadioButton>(ui, form, "opDos");
  form.opUno.SetDesignedValue(true);
  EXPECT_TRUE(uno.isChecked());
  QTest::mouseClick(&dos, Qt::LeftButton, {}, QPoint(6, dos.height() / 2));
  EXPECT_TRUE(form.opDos.Value());
  EXPECT_FALSE(uno.isChecked());
  EXPECT_EQ(form.events, (Events{"Change N - Numérico", "Key 13", "Change T - Texto", "opDos"}));
  form.Marco.SetEnabled(false);
  EXPECT_FALSE(uno.isEnabled());
}

// Escape on a modal form presses its "Cancelar" button, or closes the form as its control box
// would when it has none. The form was shown and hidden before, as dialogs are between uses.
TEST_F(ControlViewsTest, AModalFormRunsUntilEscapeHidesOrClosesIt) {
  for (bool cancelButton : {true, false}) {
    SCOPED_TRACE(cancelButton ? "with a Cancelar button" : "without");
    form.Show();
    form.Hide();
    form.events.clear();
    form.cmdCancelar.SetCaption(cancelButton ? "Cancelar" : "Cerrar");
    QTimer::singleShot(0, [this] { QTest::keyClick(&WindowOf(ui, form), Qt::Key_Escape); });
    form.Show(true);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.events, cancelButton ? Events{"Cancelar"} : Events{});
    EXPECT_EQ(form.Loaded(), cancelButton);
    EXPECT_EQ(ui.WindowOf(form) != nullptr, cancelButton);
  }
}

}  // namespace
}  // namespace xel::testing
