#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/MakerControls.h"
#include "tests/platform/ChangeLog.h"
#include "tests/support/ScriptedUi.h"

namespace xel {
namespace {

struct MakerControlsTest : ::testing::Test {
  testing::ScriptedUi ui;
  FormsRuntime runtime{ui};
  Form form{runtime, "frmTest"};
};

template <class Action>
void ExpectRefusedValue(Action action) {
  try {
    action();
    ADD_FAILURE() << "the value was taken";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), err::InvalidPropertyValue);
    EXPECT_EQ(e.Description(), "Invalid property value");
  }
}

struct TextBoxZulTest : MakerControlsTest {
  TextBoxZul box{form, "txtValor"};
  TextBoxZul next{form, "txtTexto"};

  TextBoxZulTest() { next.SetTabIndex(1); }
};

TEST_F(TextBoxZulTest, TheUserIsLimitedToTheMaximumLengthButCodeIsNot) {
  box.SetMaxLength(4);
  box.Type("abcdef");
  EXPECT_EQ(box.Text(), "abcd");
  box.SetText("ab");
  EXPECT_FALSE(box.UserEdit("aXYZb")) << "a paste is cut where it goes in";
  EXPECT_EQ(box.Text(), "aXYb");
  EXPECT_TRUE(box.HasFocus());
  box.SetText("abcdef");
  EXPECT_EQ(box.Text(), "abcdef");
  EXPECT_TRUE(box.UserEdit("abcde")) << "deleting is always allowed";
}

TEST_F(TextBoxZulTest, NumericEntryTakesDigitsOnePointAndALeadingMinus) {
  box.SetInputKind(TextEntry::Numeric);
  box.Type("-1a2.3.4-é");
  EXPECT_EQ(box.Text(), "-12.34");
  EXPECT_FALSE(box.UserEdit("7-12.34"));
  EXPECT_EQ(box.Text(), "-12.34");
  box.SetText("1,5 kg");
  EXPECT_TRUE(box.UserEdit("1,5")) << "what code put in can still be deleted";
  box.SetInputKind(TextEntry::AnyText);
  box.Type("x");
  EXPECT_EQ(box.Text(), "1,5x");
}

TEST_F(TextBoxZulTest, TheLimitCountsCharactersNotBytes) {
  box.SetMaxLength(4);
  box.Type("cañón");
  EXPECT_EQ(box.Text(), "cañó");
  // The two accented letters share their first byte: still one character swapped for another.
  EXPECT_TRUE(box.UserEdit("cañò"));
  EXPECT_EQ(box.Text(), "cañò");
}

TEST_F(TextBoxZulTest, LockedOrUnusableBoxesRefuseTheUser) {
  box.SetText("0007");
  box.SetLocked(true);
  box.Type("8");
  EXPECT_FALSE(box.UserEdit("0008"));
  EXPECT_EQ(box.Text(), "0007");
  box.SetFocus();
  EXPECT_TRUE(box.HasFocus()) << "a locked box still takes the focus";
  next.SetEnabled(false);
  next.Type("x");
  next.SetEnabled(true);
  next.SetVisible(false);
  EXPECT_FALSE(next.UserEdit("x"));
  EXPECT_EQ(next.Text(), "");
}

TEST_F(TextBoxZulTest, ImpossibleValuesAreRefused) {
  box.SetMaxLength(15);
  ExpectRefusedValue([&] { box.SetMaxLength(-1); });
  ExpectRefusedValue([&] { box.SetInputKind(1); });
  EXPECT_EQ(box.MaxLength(), 15);
  EXPECT_EQ(box.InputKind(), TextEntry::AnyText);
  LabelZul label{form, "Etiqueta1"};
  ExpectRefusedValue([&] { label.SetAlignment(3); });
}

TEST_F(TextBoxZulTest, EnterMovesTheFocusOnOnlyWithTabOnEnter) {
  box.PressEnter();
  EXPECT_TRUE(box.HasFocus());
  box.SetTabOnEnter(true);
  box.PressEnter();
  EXPECT_TRUE(next.HasFocus());
}

TEST_F(TextBoxZulTest, ViewsAreToldOncePerRealChange) {
  testing::ChangeLog log(box);
  for (int twice = 0; twice < 2; ++twice) {
    box.SetText("IVA");
    box.SetMaxLength(50);
    box.SetInputKind(TextEntry::Numeric);
    box.SetLocked(true);
  }
  box.SetEnabledColor(box.EnabledColor());
  EXPECT_EQ(log.Count(Property::Text), 1);
  EXPECT_EQ(log.Count(Property::MaxLength), 1);
  EXPECT_EQ(log.Count(Property::InputKind), 1);
  EXPECT_EQ(log.Count(Property::Locked), 1);
  EXPECT_EQ(log.Total(), 4u);
}

struct ComboZulTest : MakerControlsTest {
  ComboZul combo{form, "cboTipo"};
  int changes = 0;

  ComboZulTest() {
    for (const char* type : {"N - Numérico", "B - 0 ó 1", "T - Texto"}) {
      combo.AddItem(type);
    }
    combo.Change.Connect([this] { ++changes; });
  }
};

TEST_F(ComboZulTest, TheSelectedEntryGivesTheTextAndEachNewSelectionRaisesChange) {
  EXPECT_EQ(combo.Text(), "");
  combo.SetListIndex(1);
  EXPECT_EQ(combo.Text(), "B - 0 ó 1");
  combo.SetListIndex(1);
  EXPECT_EQ(changes, 1) << "the same entry again is no change";
  combo.SetListIndex(-1);
  EXPECT_EQ(combo.Text(), "");
  EXPECT_EQ(changes, 2);
  ExpectRefusedValue([&] { combo.SetListIndex(3); });
  ExpectRefusedValue([&] { combo.SetListIndex(-2); });
  EXPECT_EQ(combo.ListIndex(), -1);
  EXPECT_EQ(changes, 2);
}

TEST_F(ComboZulTest, TheUserReachesOnlyAUsableCombo) {
  std::vector<int> keys;
  combo.KeyPress.Connect([&](int& key) {
    keys.push_back(key);
    key = 0;
  });
  combo.SetEnabled(false);
  int key = KeyAscii::Enter;
  combo.PressKey(key);
  EXPECT_FALSE(combo.UserSelect(0));
  combo.SetEnabled(true);
  EXPECT_FALSE(combo.UserSelect(3));
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(keys.empty());
  EXPECT_TRUE(combo.UserSelect(2));
  combo.PressKey(key);
  EXPECT_EQ(combo.Text(), "T - Texto");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(keys, std::vector<int>{KeyAscii::Enter});
  EXPECT_EQ(key, 0) << "the handler may change the key";
  EXPECT_TRUE(combo.HasFocus());
}

TEST_F(ComboZulTest, ClearEmptiesTheListWithoutRaisingChange) {
  combo.SetListIndex(0);
  combo.Clear();
  EXPECT_EQ(combo.ListCount(), 0);
  EXPECT_EQ(combo.ListIndex(), -1);
  EXPECT_EQ(changes, 1);
}

TEST_F(ComboZulTest, AnErrorEscapingTheChangeHandlerIsReportedNotThrown) {
  combo.Change.Connect([] { throw RuntimeError(err::TypeMismatch, "Type mismatch"); });
  EXPECT_NO_THROW(combo.SetListIndex(0));
  ASSERT_EQ(ui.UnhandledErrors().size(), 1u);
  EXPECT_EQ(ui.UnhandledErrors()[0].number, err::TypeMismatch);
  EXPECT_EQ(ui.UnhandledErrors()[0].description, "Type mismatch");
  EXPECT_EQ(combo.ListIndex(), 0);
}

struct ToolbarZulTest : MakerControlsTest {
  ToolbarZul toolbar{form, "Controles"};
  std::vector<std::string> raised;

  ToolbarZulTest() {
    toolbar.Add.Connect([this] { raised.push_back("add"); });
    toolbar.Edit.Connect([this] { raised.push_back("edit"); });
    toolbar.Delete.Connect([this] { raised.push_back("delete"); });
    toolbar.Exit.Connect([this] { raised.push_back("exit"); });
  }

  std::vector<std::string> ClickAll() {
    raised.clear();
    toolbar.ClickAdd();
    toolbar.ClickEdit();
    toolbar.ClickDelete();
    toolbar.ClickExit();
    return raised;
  }
};

TEST_F(ToolbarZulTest, ButtonsRaiseTheirEventsOnlyWhenTheirCommandIsAvailable) {
  using Raised = std::vector<std::string>;
  EXPECT_EQ(ClickAll(), Raised{"exit"});
  toolbar.SetAddAvailable(true);
  toolbar.SetShowExitButton(false);
  EXPECT_EQ(ClickAll(), Raised{"add"});
  toolbar.SetAddAvailable(false);
  toolbar.SetEditAvailable(true);
  toolbar.SetDeleteAvailable(true);
  EXPECT_EQ(ClickAll(), (Raised{"edit", "delete"}));
  toolbar.SetEnabled(false);
  EXPECT_EQ(ClickAll(), Raised{});
}

TEST_F(ToolbarZulTest, APressedButtonStaysDownUntilResetOrTheEndOfItsCommand) {
  toolbar.SetEditAvailable(true);
  std::vector<ToolbarZul::Command> pressed;
  toolbar.Edit.Connect([&] {
    pressed.push_back(toolbar.PressedCommand());
    toolbar.Reset();
    pressed.push_back(toolbar.PressedCommand());
  });
  toolbar.ClickEdit();
  EXPECT_EQ(pressed, (std::vector<ToolbarZul::Command>{ToolbarZul::Command::Edit,
                                                       ToolbarZul::Command::None}));
  EXPECT_EQ(toolbar.ResetCount(), 1);
}

TEST_F(ToolbarZulTest, AFailingCommandIsReportedAndReleasesItsButton) {
  toolbar.SetAddAvailable(true);
  toolbar.Add.Connect([] { throw std::runtime_error("boom"); });
  toolbar.ClickAdd();
  ASSERT_EQ(ui.UnhandledErrors().size(), 1u);
  EXPECT_EQ(ui.UnhandledErrors()[0].description, "boom");
  EXPECT_EQ(toolbar.PressedCommand(), ToolbarZul::Command::None);
}

TEST_F(MakerControlsTest, AFlatButtonClicksOnlyWhenUsable) {
  FlatButton button{form, "cmdAceptar"};
  int clicks = 0;
  button.Click.Connect([&] { ++clicks; });
  button.SetEnabled(false);
  button.PerformClick();
  button.SetEnabled(true);
  button.PerformClick();
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(button.HasFocus());
}

TEST_F(MakerControlsTest, TheColourSchemeIsUnseenAndAnnouncesEachApplication) {
  ColorScheme scheme{form, "colorZUL"};
  testing::ChangeLog log(scheme);
  scheme.ApplyToForm();
  scheme.ApplyToForm();
  EXPECT_EQ(scheme.TimesApplied(), 2);
  EXPECT_EQ(log.Count(Property::Colors), 2);
  scheme.SetFocus();
  EXPECT_FALSE(scheme.HasFocus());
}

}  // namespace
}  // namespace xel
