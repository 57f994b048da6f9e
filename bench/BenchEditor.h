#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "bench/StoreGenerator.h"
#include "component/HostServices.h"
#include "editor/frmXEL02.h"
#include "platform/Forms.h"

namespace xel::bench {

// A screen that shows nothing: the benchmarks measure the editor's own work.
class NoScreen : public UiBackend {
 public:
  void ShowModeless(Form&) override {}
  void ShowModal(Form& form) override { form.Hide(); }
  void Hide(Form&) override {}
  void Unloaded(Form&) override {}
  void DoEvents() override {}
  void SetMousePointer(int) override {}
  void ReportUnhandledError(long number, const std::string& description) override;
};

// A generated store of the given shape, kept in the temporary folder between runs, with the
// editor window open on it through host services that answer every question with OK.
class BenchEditor {
 public:
  explicit BenchEditor(StoreShape shape);
  ~BenchEditor();

  Connection& Db() { return *db_; }
  frmXEL02& Editor() { return *editor_; }
  void Reload();  // F5 in the tree

 private:
  std::filesystem::path path_;
  std::unique_ptr<Connection> db_;
  NoScreen screen_;
  FormsRuntime runtime_{screen_};
  Publico publico_;
  std::unique_ptr<frmXEL02> editor_;
};

}  // namespace xel::bench
