// The run time's controls and the maker's, as the user and the code reach them.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/forms/MakerControls.h"
#include "platform/forms/StandardControls.h"
#include "tests/support/FailureOf.h"
#include "tests/support/ScriptedUi.h"

namespace xel {
namespace {

using testing::FailureOf;
using Texts = std::vector<std::string>;

// The dialog's mode choice: two options in a frame, with other controls around it.
struct ControlsTest : ::testing::Test {
  testing::ScriptedUi ui;
  FormsRuntime runtime{ui};
  Form form{runtime, "frmTest"};
  TextBox before{form, "txtBefore"};
  Frame frame{form, "Frame1"};
  OptionButton classOption{frame, "opClaseVariable"};
  OptionButton variableOption{frame, "opVariable"};
  TextBox after{form, "txtAfter"};
  OptionButton formOption{form, "opOther"};
  TextBoxZul box{form, "txtValor"};
  ComboZul combo{form, "cboTipo"};
  Texts clicks;

  ControlsTest() {
    int tabIndex = 0;
    for (Control* control : form.AllControls()) {
      control->SetTabIndex(tabIndex++);
    }
    classOption.Click.Connect([this] { clicks.push_back("class"); });
    variableOption.Click.Connect([this] { clicks.push_back("variable"); });
    formOption.Click.Connect([this] { clicks.push_back("other"); });
    for (const char* type : {"N - Numérico", "B - 0 ó 1", "T - Texto"}) {
      combo.AddItem(type);
    }
  }
};

TEST_F(ControlsTest, SelectingAnOptionClearsItsGroupOnlyAndClicksOnlyWhenNewlySelected) {
  formOption.SetValue(true);
  classOption.SetValue(true);
  variableOption.SetValue(true);
  variableOption.SetValue(true);
  EXPECT_FALSE(classOption.Value());
  EXPECT_TRUE(formOption.Value()) << "another container is another group";
  classOption.SetDesignedValue(true);
  EXPECT_FALSE(variableOption.Value());
  classOption.SetValue(false);
  EXPECT_FALSE(classOption.Value());
  EXPECT_EQ(clicks, (Texts{"other", "class", "variable"})) << "no Click by design or to clear";
}

TEST_F(ControlsTest, ADisabledFrameBlocksTheUserAndTheTabKeyButNotTheCode) {
  int keysSeen = 0;
  variableOption.KeyPress.Connect([&](int& key) {
    ++keysSeen;
    if (key == KeyAscii::Enter) {
      form.FocusNextControl();
    }
  });
  frame.SetEnabled(false);
  variableOption.UserClick();
  variableOption.SetFocus();
  int key = KeyAscii::Enter;
  variableOption.PressKey(key);
  EXPECT_FALSE(variableOption.Value() || variableOption.HasFocus() || keysSeen > 0);
  before.SetFocus();
  form.FocusNextControl();
  EXPECT_TRUE(after.HasFocus()) << "the TAB key passes over what a disabled frame holds";
  variableOption.SetValue(true);  // a caller that locks the mode still selects it by code
  frame.SetEnabled(true);
  classOption.UserClick();
  EXPECT_TRUE(classOption.HasFocus());
  EXPECT_EQ(clicks, (Texts{"variable", "class"}));
  variableOption.PressKey(key);
  EXPECT_TRUE(after.HasFocus()) << "Enter reaches the option's handler, which moves the focus on";
}

enum class Reach { Usable, Locked, Disabled, Hidden };

// Code's text is taken as it is; what the user types passes the length limit and the entry kind,
// and a one-line box takes no line break.
TEST_F(ControlsTest, TheUserEditsATextBoxWithinItsLimitEntryKindAndReach) {
  constexpr auto kAny = TextEntry::AnyText;
  constexpr auto kNumeric = TextEntry::Numeric;
  const struct {
    std::int16_t maxLength;
    std::int32_t kind;
    Reach reach;
    std::string before, edited, after;
  } cases[] = {
      {4, kAny, Reach::Usable, "", "cañón", "cañó"},  // the limit counts characters
      {4, kAny, Reach::Usable, "cañó", "cañò", "cañò"},
      {4, kAny, Reach::Usable, "ab", "aXYZb", "aXYb"},       // a paste is cut where it goes in
      {4, kAny, Reach::Usable, "abcdef", "abcde", "abcde"},  // deleting is always allowed
      {0, kNumeric, Reach::Usable, "", "-1a2.3.4-é", "-12.34"},
      {0, kNumeric, Reach::Usable, "-12.34", "7-12.34", "-12.34"},
      {0, kNumeric, Reach::Usable, "1,5 kg", "1,5", "1,5"},  // code's text can be deleted
      {0, kAny, Reach::Locked, "0007", "0008", "0007"},
      {0, kAny, Reach::Disabled, "", "x", ""},
      {0, kAny, Reach::Hidden, "", "x", ""},
  };
  for (const auto& c : cases) {
    box.SetMaxLength(c.maxLength);
    box.SetInputKind(c.kind);
    box.SetLocked(c.reach == Reach::Locked);
    box.SetEnabled(c.reach != Reach::Disabled);
    box.SetVisible(c.reach != Reach::Hidden);
    box.SetText(c.before);
    before.SetFocus();
    EXPECT_EQ(box.UserEdit(c.edited), c.after == c.edited) << c.edited;
    EXPECT_EQ(box.Text(), c.after) << c.edited;
    EXPECT_EQ(box.HasFocus(), c.reach == Reach::Usable) << c.edited;
  }
  before.Type("Tasa\r\ndel IVA");
  after.SetMultiLine(true);
  after.Type("Tasa\r\ndel IVA");
  EXPECT_EQ(before.Text() + "|" + after.Text(), "Tasadel IVA|Tasa\r\ndel IVA");
  box.SetVisible(true);
  box.SetLocked(true);
  box.SetFocus();
  box.PressEnter();
  EXPECT_TRUE(box.HasFocus());
  box.SetTabOnEnter(true);
  box.PressEnter();  // even from a locked box
  EXPECT_FALSE(box.HasFocus());
}

TEST_F(ControlsTest, ImpossibleValuesAreRefusedAndChangeNothing) {
  LabelZul label{form, "Etiqueta1"};
  box.SetMaxLength(15);
  for (const std::function<void()>& refused : std::vector<std::function<void()>>{
           [&] { box.SetMaxLength(-1); }, [&] { box.SetInputKind(1); },
           [&] { label.SetAlignment(3); }, [&] { combo.SetListIndex(3); },
           [&] { combo.SetListIndex(-2); }}) {
    EXPECT_EQ(FailureOf(refused).Number(), err::InvalidPropertyValue);
  }
  EXPECT_EQ(box.MaxLength(), 15);
  EXPECT_EQ(box.InputKind(), TextEntry::AnyText);
  EXPECT_EQ(label.Alignment(), LabelAlignment::Left);
  EXPECT_EQ(combo.ListIndex(), -1);
}

TEST_F(ControlsTest, AComboRaisesChangeForEachNewSelectionAndTheUserReachesItOnlyWhenUsable) {
  int changes = 0;
  combo.Change.Connect([&] { ++changes; });
  combo.KeyPress.Connect([](int& key) { key = 0; });
  combo.SetListIndex(1);
  combo.SetListIndex(1);  // the same entry again is no change
  EXPECT_EQ(combo.Text(), "B - 0 ó 1");
  combo.SetListIndex(-1);
  EXPECT_EQ(combo.Text(), "");
  combo.SetEnabled(false);
  int key = KeyAscii::Enter;
  combo.PressKey(key);
  EXPECT_EQ(key, KeyAscii::Enter) << "no handler ran";
  EXPECT_FALSE(combo.UserSelect(0));
  combo.SetEnabled(true);
  EXPECT_FALSE(combo.UserSelect(3));
  EXPECT_TRUE(combo.UserSelect(2) && combo.HasFocus());
  combo.PressKey(key);
  EXPECT_EQ(key, 0) << "the handler may change the key";
  combo.Clear();
  EXPECT_EQ(combo.ListCount() + combo.ListIndex(), -1) << "an empty list with nothing selected";
  EXPECT_EQ(changes, 3) << "emptying the list raises no Change";
}

// A pressed button stays down while its command runs, until the command resets it or ends, even
// failing.
TEST_F(ControlsTest, ToolbarButtonsRaiseTheirEventsOnlyWhenAvailableAndStayDownWhileTheyRun) {
  ToolbarZul toolbar{form, "Controles"};
  FlatButton button{form, "cmdAceptar"};
  std::string raised;
  auto record = [&](const char* what) {
    raised += what + std::string(toolbar.PressedCommand() == ToolbarZul::Command::None ? "" : "*");
  };
  toolbar.Add.Connect([&] { record("add "); });
  toolbar.Edit.Connect([&] {
    toolbar.Reset();
    record("edit ");
  });
  toolbar.Delete.Connect([&] {
    record("delete ");
    throw std::runtime_error("boom");
  });
  toolbar.Exit.Connect([&] { record("exit "); });
  button.Click.Connect([&] { record("button "); });
  auto clickAll = [&] {
    raised.clear();
    toolbar.ClickAdd();
    toolbar.ClickEdit();
    toolbar.ClickDelete();
    toolbar.ClickExit();
    button.PerformClick();
    return raised;
  };
  EXPECT_EQ(clickAll(), "exit *button ");
  toolbar.SetAddAvailable(true);
  toolbar.SetShowExitButton(false);
  button.SetEnabled(false);
  EXPECT_EQ(clickAll(), "add *");
  toolbar.SetAddAvailable(false);
  toolbar.SetEditAvailable(true);
  toolbar.SetDeleteAvailable(true);
  EXPECT_EQ(clickAll(), "edit delete *");
  ASSERT_EQ(ui.UnhandledErrors().size(), 1u);
  EXPECT_EQ(ui.UnhandledErrors()[0].description, "boom");
  EXPECT_EQ(toolbar.PressedCommand(), ToolbarZul::Command::None);
  toolbar.SetEnabled(false);
  EXPECT_EQ(clickAll(), "");
}

}  // namespace
}  // namespace xel
