// The run time's controls and the maker's, as the user and the code reach them.

#include <gtest/gtest.h>

#include <algorithm>
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

// Writes down what a control told its views, as a view would receive it.
struct ChangeLog {
  std::vector<Property> told;
  explicit ChangeLog(Control& control) {
    control.Changed.Connect([this](Property what) { told.push_back(what); });
  }
  long Count(Property what) const { return std::count(told.begin(), told.end(), what); }
};

struct ControlsTest : ::testing::Test {
  testing::ScriptedUi ui;
  FormsRuntime runtime{ui};
  Form form{runtime, "frmTest"};
};

// The dialog's mode choice: two options in a frame, with other controls around it.
struct StandardControlsTest : ControlsTest {
  TextBox before{form, "txtBefore"};
  Frame frame{form, "Frame1"};
  OptionButton classOption{frame, "opClaseVariable"};
  OptionButton variableOption{frame, "opVariable"};
  TextBox after{form, "txtAfter"};
  OptionButton formOption{form, "opOther"};
  Texts clicks;

  StandardControlsTest() {
    int tabIndex = 0;
    for (Control* control : form.AllControls()) {
      control->SetTabIndex(tabIndex++);
    }
    classOption.Click.Connect([this] { clicks.push_back("class"); });
    variableOption.Click.Connect([this] { clicks.push_back("variable"); });
    formOption.Click.Connect([this] { clicks.push_back("other"); });
  }
};

TEST_F(StandardControlsTest, SelectingAnOptionClearsItsGroupOnlyAndClicksOnlyWhenNewlySelected) {
  formOption.SetValue(true);
  classOption.SetValue(true);
  ChangeLog classLog(classOption);
  ChangeLog otherLog(formOption);
  variableOption.SetValue(true);
  variableOption.SetValue(true);
  EXPECT_FALSE(classOption.Value());
  EXPECT_TRUE(formOption.Value()) << "another container is another group";
  EXPECT_EQ(classLog.Count(Property::Value), 1) << "the cleared option tells its views";
  EXPECT_TRUE(otherLog.told.empty());
  classOption.SetDesignedValue(true);
  EXPECT_FALSE(variableOption.Value());
  classOption.SetValue(false);
  EXPECT_FALSE(classOption.Value());
  EXPECT_EQ(clicks, (Texts{"other", "class", "variable"})) << "no Click by design or to clear";
}

TEST_F(StandardControlsTest, ADisabledFrameBlocksTheUserAndTheTabKeyButNotTheCode) {
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
  EXPECT_FALSE(variableOption.Value());
  EXPECT_FALSE(variableOption.HasFocus());
  EXPECT_EQ(keysSeen, 0);
  before.SetFocus();
  form.FocusNextControl();
  EXPECT_TRUE(after.HasFocus()) << "the TAB key passes over what a disabled frame holds";
  // A caller that locks the mode still selects it by code, and the option's Click runs.
  variableOption.SetValue(true);
  EXPECT_EQ(clicks, Texts{"variable"});
  frame.SetEnabled(true);
  classOption.UserClick();
  EXPECT_TRUE(classOption.HasFocus());
  EXPECT_EQ(clicks, (Texts{"variable", "class"}));
  variableOption.PressKey(key);
  EXPECT_TRUE(after.HasFocus()) << "Enter reaches the option's handler, which moves the focus on";
}

TEST_F(StandardControlsTest, ASingleLineBoxKeepsLineBreaksOutOfTyping) {
  after.SetMultiLine(true);
  before.Type("Tasa\r\ndel IVA");
  after.Type("Tasa\r\ndel IVA");
  EXPECT_EQ(before.Text() + "|" + after.Text(), "Tasadel IVA|Tasa\r\ndel IVA");
}

struct MakerControlsTest : ControlsTest {
  TextBoxZul box{form, "txtValor"};
  TextBoxZul next{form, "txtTexto"};

  MakerControlsTest() { next.SetTabIndex(1); }
};

enum class Reach { Usable, Locked, Disabled, Hidden };

struct UserEditCase {
  const char* what;
  std::int16_t maxLength;
  std::int32_t kind;
  Reach reach;
  std::string before, edited, after;
};

// Code's text is taken as it is; what the user types passes the length limit and the entry kind.
TEST_F(MakerControlsTest, TheUserEditsATextBoxWithinItsLimitEntryKindAndReach) {
  constexpr auto kAny = TextEntry::AnyText;
  constexpr auto kNumeric = TextEntry::Numeric;
  const UserEditCase cases[] = {
      {"the limit counts characters", 4, kAny, Reach::Usable, "", "cañón", "cañó"},
      // The two accented letters share their first byte: still one character for another.
      {"one accented letter for another", 4, kAny, Reach::Usable, "cañó", "cañò", "cañò"},
      {"a paste is cut where it goes in", 4, kAny, Reach::Usable, "ab", "aXYZb", "aXYb"},
      {"deleting is always allowed", 4, kAny, Reach::Usable, "abcdef", "abcde", "abcde"},
      {"digits, one point, a leading minus", 0, kNumeric, Reach::Usable, "", "-1a2.3.4-é",
       "-12.34"},
      {"nothing before the minus", 0, kNumeric, Reach::Usable, "-12.34", "7-12.34", "-12.34"},
      {"code's text can be deleted", 0, kNumeric, Reach::Usable, "1,5 kg", "1,5", "1,5"},
      {"locked", 0, kAny, Reach::Locked, "0007", "0008", "0007"},
      {"disabled", 0, kAny, Reach::Disabled, "", "x", ""},
      {"hidden", 0, kAny, Reach::Hidden, "", "x", ""},
  };
  for (const UserEditCase& c : cases) {
    box.SetMaxLength(c.maxLength);
    box.SetInputKind(c.kind);
    box.SetLocked(c.reach == Reach::Locked);
    box.SetEnabled(c.reach != Reach::Disabled);
    box.SetVisible(c.reach != Reach::Hidden);
    box.SetText(c.before);
    next.SetFocus();
    EXPECT_EQ(box.UserEdit(c.edited), c.after == c.edited) << c.what;
    EXPECT_EQ(box.Text(), c.after) << c.what;
    EXPECT_EQ(box.HasFocus(), c.reach == Reach::Usable) << c.what;
  }
}

TEST_F(MakerControlsTest, EnterMovesTheFocusOnOnlyWithTabOnEnterEvenFromALockedBox) {
  box.SetLocked(true);
  box.PressEnter();
  EXPECT_TRUE(box.HasFocus());
  box.SetTabOnEnter(true);
  box.PressEnter();
  EXPECT_TRUE(next.HasFocus());
}

TEST_F(MakerControlsTest, ViewsAreToldOncePerRealChange) {
  ChangeLog log(box);
  for (int twice = 0; twice < 2; ++twice) {
    box.SetMaxLength(50);
    box.SetInputKind(TextEntry::Numeric);
  }
  box.SetEnabledColor(box.EnabledColor());
  EXPECT_EQ(log.told, (std::vector<Property>{Property::MaxLength, Property::InputKind}));
}

TEST_F(MakerControlsTest, ImpossibleValuesAreRefusedAndChangeNothing) {
  ComboZul combo{form, "cboTipo"};
  LabelZul label{form, "Etiqueta1"};
  box.SetMaxLength(15);
  combo.AddItem("N - Numérico");
  for (const std::function<void()>& refused : std::vector<std::function<void()>>{
           [&] { box.SetMaxLength(-1); }, [&] { box.SetInputKind(1); },
           [&] { label.SetAlignment(3); }, [&] { combo.SetListIndex(1); },
           [&] { combo.SetListIndex(-2); }}) {
    RuntimeError failure = FailureOf(refused);
    EXPECT_EQ(failure.Number(), err::InvalidPropertyValue);
    EXPECT_EQ(failure.Description(), "Invalid property value");
  }
  EXPECT_EQ(box.MaxLength(), 15);
  EXPECT_EQ(box.InputKind(), TextEntry::AnyText);
  EXPECT_EQ(label.Alignment(), LabelAlignment::Left);
  EXPECT_EQ(combo.ListIndex(), -1);
}

TEST_F(MakerControlsTest, AComboRaisesChangeForEachNewSelectionAndTheUserReachesItOnlyWhenUsable) {
  ComboZul combo{form, "cboTipo"};
  for (const char* type : {"N - Numérico", "B - 0 ó 1", "T - Texto"}) {
    combo.AddItem(type);
  }
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
  EXPECT_TRUE(combo.UserSelect(2));
  EXPECT_TRUE(combo.HasFocus());
  combo.PressKey(key);
  EXPECT_EQ(key, 0) << "the handler may change the key";
  combo.Clear();
  EXPECT_EQ(combo.ListCount() + combo.ListIndex(), -1) << "an empty list with nothing selected";
  EXPECT_EQ(changes, 3) << "emptying the list raises no Change";
}

// A pressed button stays down while its command runs, until the command resets it or ends, even
// failing.
TEST_F(MakerControlsTest, ToolbarButtonsRaiseTheirEventsOnlyWhenAvailableAndStayDownWhileTheyRun) {
  ToolbarZul toolbar{form, "Controles"};
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
  auto clickAll = [&] {
    raised.clear();
    toolbar.ClickAdd();
    toolbar.ClickEdit();
    toolbar.ClickDelete();
    toolbar.ClickExit();
    return raised;
  };
  EXPECT_EQ(clickAll(), "exit *");
  toolbar.SetAddAvailable(true);
  toolbar.SetShowExitButton(false);
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

TEST_F(MakerControlsTest, AFlatButtonClicksOnlyWhenUsableAndTheColourSchemeOnlyRepaints) {
  FlatButton button{form, "cmdAceptar"};
  ColorScheme scheme{form, "colorZUL"};
  int clicks = 0;
  button.Click.Connect([&] { ++clicks; });
  button.SetEnabled(false);
  button.PerformClick();
  button.SetEnabled(true);
  button.PerformClick();
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(button.HasFocus());
  scheme.SetFocus();
  EXPECT_TRUE(button.HasFocus());
  ChangeLog log(scheme);
  scheme.ApplyToForm();
  EXPECT_EQ(log.Count(Property::Colors), 1) << "each application repaints the window";
}

}  // namespace
}  // namespace xel
