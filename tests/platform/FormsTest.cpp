#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "tests/support/ScriptedUi.h"

namespace xel {
namespace {

using Journal = std::vector<std::string>;

// A form that writes down the order in which its events run; QueryUnload refuses the control box,
// and the second activation fails with the busy pointer on.
struct JournalForm : Form {
  using Form::Form;
  Journal journal;

  void InitializeComponent() override { journal.push_back("design"); }
  void Form_Load() override { journal.push_back("load"); }
  void Form_Activate() override {
    journal.push_back("activate");
    if (journal.size() == 4) {
      Runtime().SetMousePointer(MousePointer::Hourglass);
      throw RuntimeError(91, "Object variable not set");
    }
  }
  void Form_QueryUnload(int& cancel, UnloadMode mode) override {
    journal.push_back("queryunload " + std::to_string(static_cast<int>(mode)));
    cancel = mode == UnloadMode::FormControlMenu ? 1 : 0;
  }
  void Form_Unload() override { journal.push_back("unload"); }
};

TEST(FormsTest, ShowLoadsOnceActivatesEachTimeAndQueryUnloadMayRefuseOnlyTheControlBox) {
  testing::ScriptedUi ui;
  FormsRuntime runtime{ui};
  JournalForm form{runtime, "frmJournal"};
  form.Show();
  form.Activate();
  ASSERT_EQ(ui.UnhandledErrors().size(), 1u) << "an error escaping a handler is reported";
  EXPECT_EQ(runtime.MousePointer(), MousePointer::Default) << "and the pointer restored";
  form.RequestClose();
  EXPECT_TRUE(form.Unload());
  EXPECT_EQ(ui.UnloadedForms(), Journal{"frmJournal"});
  form.Load();
  EXPECT_EQ(form.journal, (Journal{"design", "load", "activate", "activate", "queryunload 0",
                                   "queryunload 1", "unload", "design", "load"}));
}

}  // namespace
}  // namespace xel
