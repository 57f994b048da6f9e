#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "tests/support/ScriptedUi.h"

namespace xel {
namespace {

using Journal = std::vector<std::string>;

// A form that writes down the order in which its events run.
struct JournalForm : Form {
  using Form::Form;
  Journal journal;
  int cancelUnloadMode = -1;  // the unload mode QueryUnload refuses, -1 for none
  bool failActivate = false;

  void InitializeComponent() override { journal.push_back("design"); }
  void Form_Load() override { journal.push_back("load"); }
  void Form_Activate() override {
    journal.push_back("activate");
    if (failActivate) {
      Runtime().SetMousePointer(MousePointer::Hourglass);
      throw RuntimeError(91, "Object variable not set");
    }
  }
  void Form_QueryUnload(int& cancel, UnloadMode mode) override {
    journal.push_back("queryunload " + std::to_string(static_cast<int>(mode)));
    cancel = static_cast<int>(mode) == cancelUnloadMode ? 1 : 0;
  }
  void Form_Unload() override { journal.push_back("unload"); }
};

struct FormsTest : ::testing::Test {
  testing::ScriptedUi ui;
  FormsRuntime runtime{ui};
  JournalForm form{runtime, "frmJournal"};
};

TEST_F(FormsTest, ShowLoadsOnceActivatesEachTimeAndQueryUnloadMayRefuseOnlyTheControlBox) {
  form.cancelUnloadMode = 0;
  form.Show();
  form.Activate();
  form.RequestClose();
  EXPECT_TRUE(form.Visible());
  EXPECT_TRUE(form.Unload());
  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(ui.UnloadedForms(), Journal{"frmJournal"});
  form.Load();
  EXPECT_EQ(form.journal, (Journal{"design", "load", "activate", "activate", "queryunload 0",
                                   "queryunload 1", "unload", "design", "load"}));
}

TEST_F(FormsTest, AnErrorEscapingAHandlerIsReportedAndThePointerRestored) {
  form.failActivate = true;
  form.Show();
  ASSERT_EQ(ui.UnhandledErrors().size(), 1u);
  EXPECT_EQ(ui.UnhandledErrors()[0].number, 91);
  EXPECT_EQ(ui.UnhandledErrors()[0].description, "Object variable not set");
  EXPECT_EQ(runtime.MousePointer(), MousePointer::Default);
  EXPECT_TRUE(form.Visible());
}

}  // namespace
}  // namespace xel
