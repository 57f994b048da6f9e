#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/StandardControls.h"
#include "tests/platform/ChangeLog.h"
#include "tests/support/ScriptedUi.h"

namespace xel {
namespace {

using Clicks = std::vector<std::string>;

// The dialog's mode choice: two options in a frame, with other controls around it.
struct StandardControlsTest : ::testing::Test {
  testing::ScriptedUi ui;
  FormsRuntime runtime{ui};
  Form form{runtime, "frmTest"};
  TextBox before{form, "txtBefore"};
  Frame frame{form, "Frame1"};
  OptionButton classOption{frame, "opClaseVariable"};
  OptionButton variableOption{frame, "opVariable"};
  TextBox after{form, "txtAfter"};
  OptionButton formOption{form, "opOther"};
  Clicks clicks;

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

TEST_F(StandardControlsTest, SelectingAnOptionClearsTheOthersOfItsContainerOnly) {
  formOption.SetValue(true);
  classOption.SetValue(true);
  variableOption.SetValue(true);
  EXPECT_FALSE(classOption.Value());
  EXPECT_TRUE(variableOption.Value());
  EXPECT_TRUE(formOption.Value()) << "another container is another group";
  EXPECT_EQ(clicks, (Clicks{"other", "class", "variable"}));
}

TEST_F(StandardControlsTest, ClickComesOnlyWhenAnOptionBecomesSelectedAndNotByDesign) {
  variableOption.SetValue(true);
  variableOption.SetValue(true);
  classOption.SetDesignedValue(true);
  EXPECT_FALSE(variableOption.Value());
  classOption.SetValue(false);
  EXPECT_FALSE(classOption.Value());
  EXPECT_EQ(clicks, Clicks{"variable"});
}

TEST_F(StandardControlsTest, ADisabledFrameBlocksTheUserButNotTheCode) {
  bool keySeen = false;
  variableOption.KeyPress.Connect([&](int&) { keySeen = true; });
  frame.SetEnabled(false);
  variableOption.UserClick();
  variableOption.SetFocus();
  int key = KeyAscii::Enter;
  variableOption.PressKey(key);
  EXPECT_FALSE(variableOption.Value());
  EXPECT_FALSE(variableOption.HasFocus());
  EXPECT_FALSE(keySeen);
  // A caller that locks the mode still selects it by code, and the option's Click runs.
  variableOption.SetValue(true);
  EXPECT_EQ(clicks, Clicks{"variable"});
  frame.SetEnabled(true);
  classOption.UserClick();
  EXPECT_TRUE(classOption.HasFocus());
  EXPECT_EQ(clicks, (Clicks{"variable", "class"}));
}

TEST_F(StandardControlsTest, EnterOnAnOptionReachesItsHandlerWhichMovesTheFocusOn) {
  variableOption.KeyPress.Connect([&](int& key) {
    if (key == KeyAscii::Enter) {
      form.FocusNextControl();
    }
  });
  int key = KeyAscii::Enter;
  variableOption.PressKey(key);
  EXPECT_EQ(key, KeyAscii::Enter);
  EXPECT_TRUE(after.HasFocus());
  frame.SetEnabled(false);
  before.SetFocus();
  form.FocusNextControl();
  EXPECT_TRUE(after.HasFocus()) << "the TAB key passes over what a disabled frame holds";
}

TEST_F(StandardControlsTest, AnErrorEscapingAClickSetByCodeIsReported) {
  classOption.Click.Connect([] { throw RuntimeError(err::ObjectRequired, "Object required"); });
  EXPECT_NO_THROW(classOption.SetValue(true));
  ASSERT_EQ(ui.UnhandledErrors().size(), 1u);
  EXPECT_EQ(ui.UnhandledErrors()[0].number, err::ObjectRequired);
  EXPECT_TRUE(classOption.Value());
}

TEST_F(StandardControlsTest, EachOptionThatChangesTellsItsViewsOnce) {
  classOption.SetValue(true);
  testing::ChangeLog classLog(classOption);
  testing::ChangeLog variableLog(variableOption);
  testing::ChangeLog otherLog(formOption);
  variableOption.SetValue(true);
  variableOption.SetValue(true);
  EXPECT_EQ(classLog.Count(Property::Value), 1);
  EXPECT_EQ(variableLog.Count(Property::Value), 1);
  EXPECT_EQ(otherLog.Total(), 0u);
}

TEST_F(StandardControlsTest, ASingleLineBoxKeepsLineBreaksOutOfTyping) {
  before.Type("Tasa\r\ndel IVA");
  EXPECT_EQ(before.Text(), "Tasadel IVA");
  after.SetMultiLine(true);
  after.Type("Tasa\r\ndel IVA");
  EXPECT_EQ(after.Text(), "Tasa\r\ndel IVA");
  after.SetEnabled(false);
  EXPECT_FALSE(after.UserEdit(""));
  EXPECT_EQ(after.Text(), "Tasa\r\ndel IVA");
}

}  // namespace
}  // namespace xel
