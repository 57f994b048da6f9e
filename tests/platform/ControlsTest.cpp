// The run time's controls and the maker's, as the user and the code reach them.

#include <gtest/gtest.h>

#include <string>

#include "platform/forms/MakerControls.h"
#include "platform/forms/StandardControls.h"
#include "tests/support/ScriptedUi.h"

namespace xel {
namespace {

// A form with a text box before the one under test, to take the focus away.
struct ControlsTest : ::testing::Test {
  testing::ScriptedUi ui;
  FormsRuntime runtime{ui};
  Form form{runtime, "frmTest"};
  TextBox before{form, "txtBefore"};
  TextBoxZul box{form, "txtValor"};
};

enum class Reach { Usable, Locked, Disabled };

// Code's text is taken as it is; what the user types passes the length limit and the entry kind,
// and a one-line box takes no line break.
TEST_F(ControlsTest, TheUserEditsATextBoxWithinItsLimitEntryKindAndReach) {
  using TextEntry::AnyText, TextEntry::Numeric;
  const struct {
    std::int16_t maxLength;
    std::int32_t kind;
    Reach reach;
    std::string before, edited, after;
  } cases[] = {
      {4, AnyText, Reach::Usable, "", "cañón", "cañó"},  // the limit counts characters
      {4, AnyText, Reach::Usable, "cañó", "cañò", "cañò"},
      {4, AnyText, Reach::Usable, "ab", "aXYZb", "aXYb"},       // a paste is cut where it goes in
      {4, AnyText, Reach::Usable, "abcdef", "abcde", "abcde"},  // deleting is always allowed
      {0, Numeric, Reach::Usable, "", "-1a2.3.4-é", "-12.34"},
      {0, Numeric, Reach::Usable, "1,5 kg", "1,5", "1,5"},  // code's text can be deleted
      {0, AnyText, Reach::Locked, "0007", "0008", "0007"},
      {0, AnyText, Reach::Disabled, "", "x", ""},
  };
  for (const auto& c : cases) {
    box.SetMaxLength(c.maxLength);
    box.SetInputKind(c.kind);
    box.SetLocked(c.reach == Reach::Locked);
    box.SetEnabled(c.reach != Reach::Disabled);
    box.SetText(c.before);
    before.SetFocus();
    EXPECT_EQ(box.UserEdit(c.edited), c.after == c.edited) << c.edited;
    EXPECT_EQ(box.Text(), c.after) << c.edited;
    EXPECT_EQ(box.HasFocus(), c.reach == Reach::Usable) << c.edited;
  }
  before.Type("Tasa\r\ndel IVA");
  EXPECT_EQ(before.Text(), "Tasadel IVA");
}

// A pressed button stays down while its command runs, until the command resets it or ends, even
// failing.
TEST_F(ControlsTest, ToolbarButtonsRaiseTheirEventsOnlyWhenAvailableAndStayDownWhileTheyRun) {
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
  toolbar.SetShowExitButton(false);
  toolbar.SetEditAvailable(true);
  toolbar.SetDeleteAvailable(true);
  EXPECT_EQ(clickAll(), "edit delete *");
  ASSERT_EQ(ui.UnhandledErrors().size(), 1u);
  EXPECT_EQ(toolbar.PressedCommand(), ToolbarZul::Command::None);
  toolbar.SetEnabled(false);
  EXPECT_EQ(clickAll(), "");
}

}  // namespace
}  // namespace xel
