#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Forms.h"
#include "tests/support/ScriptedUi.h"

namespace xel {
namespace {

// A form that writes down the order in which its events run.
class JournalForm : public Form {
 public:
  JournalForm(FormsRuntime& runtime, std::vector<std::string>& journal)
      : Form(runtime, "frmJournal"), journal_(journal) {}
  int cancelUnloadMode = -1;  // the unload mode QueryUnload refuses, -1 for none
  std::function<void()> onActivate;

 protected:
  void InitializeComponent() override { journal_.push_back("design"); }
  void Form_Load() override { journal_.push_back("load"); }
  void Form_Activate() override {
    journal_.push_back("activate");
    if (onActivate) {
      onActivate();
    }
  }
  void Form_QueryUnload(int& cancel, UnloadMode mode) override {
    journal_.push_back("queryunload " + std::to_string(static_cast<int>(mode)));
    if (static_cast<int>(mode) == cancelUnloadMode) {
      cancel = 1;
    }
  }
  void Form_Unload() override { journal_.push_back("unload"); }

 private:
  std::vector<std::string>& journal_;
};

struct FormsTest : ::testing::Test {
  testing::ScriptedUi ui;
  FormsRuntime runtime{ui};
  std::vector<std::string> journal;
  JournalForm form{runtime, journal};
};

TEST_F(FormsTest, ShowLoadsOnceThenActivatesEachTime) {
  form.Show();
  form.Activate();
  EXPECT_EQ(journal, (std::vector<std::string>{"design", "load", "activate", "activate"}));
  EXPECT_TRUE(form.Visible());
}

TEST_F(FormsTest, ModalShowReturnsWhenTheUserHidesTheForm) {
  ui.WhenModal([&](Form& shown) {
    EXPECT_TRUE(shown.Visible());
    journal.push_back("user");
    shown.Hide();
  });
  form.Show(true);
  EXPECT_EQ(journal, (std::vector<std::string>{"design", "load", "activate", "user"}));
  EXPECT_FALSE(form.Visible());
  EXPECT_TRUE(form.Loaded());
}

TEST_F(FormsTest, QueryUnloadCanRefuseTheControlBoxCloseButNotTheProgram) {
  form.cancelUnloadMode = 0;
  form.Show();
  form.RequestClose();
  EXPECT_TRUE(form.Loaded());
  EXPECT_TRUE(form.Visible());
  EXPECT_TRUE(form.Unload());
  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(journal.back(), "unload");
  EXPECT_EQ(journal[journal.size() - 2], "queryunload 1");
  EXPECT_EQ(ui.UnloadedForms(), (std::vector<std::string>{"frmJournal"}));
}

TEST_F(FormsTest, ALoadAfterAnUnloadRunsTheDesignAgain) {
  form.Load();
  form.Unload();
  form.Load();
  EXPECT_EQ(std::count(journal.begin(), journal.end(), "design"), 2);
}

TEST_F(FormsTest, AnErrorEscapingAHandlerIsReportedAndThePointerRestored) {
  form.onActivate = [&] {
    runtime.SetMousePointer(MousePointer::Hourglass);
    throw RuntimeError(91, "Object variable not set");
  };
  form.Show();
  ASSERT_EQ(ui.UnhandledErrors().size(), 1u);
  EXPECT_EQ(ui.UnhandledErrors()[0].number, 91);
  EXPECT_EQ(ui.UnhandledErrors()[0].description, "Object variable not set");
  EXPECT_EQ(runtime.MousePointer(), MousePointer::Default);
  EXPECT_TRUE(form.Visible());
}

}  // namespace
}  // namespace xel
