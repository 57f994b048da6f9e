// The run time's controls and the maker's, as the user and the code reach them.

#include <gtest/gtest.h>

#include <string>

#include "platform/forms/MakerControls.h"
#include "platform/forms/StandardControls.h"
#include "tests/support/ScriptedUi.h"

namespace xel {
namespace {

// A form with text boxes around the one under test, and a toolbar strip.
struct ControlsTest : ::testing::Test {
  testing::ScriptedUi ui;
  FormsRuntime runtime{ui};
  Form form{runtime, "frmTest"};
  TextBox before{form, "txtBefore"};
  TextBox after{form, "txtAfter"};
  TextBoxZul box{form, "txtValor"};
};

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
