#pragma once

#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "platform/forms/Forms.h"

namespace xel::testing {

// A broken test script. Deliberately not a standard exception, so that no handler of the product
// swallows it: it ends the test.
struct ScriptError {
  std::string message;
};

// Prints the message (the test framework cannot show a foreign exception's text) and throws.
[[noreturn]] inline void FailScript(const std::string& message) {
  std::cerr << "test script error: " << message << std::endl;
  throw ScriptError{message};
}

// The k-th call from now on, as a test names it: counted from 1, the next call.
inline int CallsFromOne(int k) {
  if (k < 1) {
    FailScript("calls are counted from 1, not from " + std::to_string(k));
  }
  return k;
}

// A form's control of the given kind, found by name as the screen finds it; a missing one ends
// the test.
template <class C>
C& ControlOf(const Form& form, const std::string& name) {
  auto* control = dynamic_cast<C*>(form.FindControl(name));
  if (!control) {
    FailScript("no control " + name + " of that kind");
  }
  return *control;
}

// The screen for tests: a modal show runs the next scripted user action, which fills fields and
// presses buttons, and returns when the form is hidden. Everything the screen is asked to do is
// recorded so tests can check it.
class ScriptedUi : public UiBackend {
 public:
  using UserAction = std::function<void(Form&)>;

  // Queues what the user does the next time a form is shown modally.
  void WhenModal(UserAction action) { modalActions_.push_back(std::move(action)); }

  void ShowModeless(Form& form) override { shown_.push_back(form.Name()); }
  void ShowModal(Form& form) override {
    ++modalShows_;
    shown_.push_back(form.Name());
    if (nextModal_ >= modalActions_.size()) {
      FailScript("no scripted user action for the modal form " + form.Name());
    }
    UserAction action = modalActions_[nextModal_++];  // a copy: the action may queue more
    action(form);
    if (form.Visible()) {
      FailScript("the scripted user left the modal form " + form.Name() + " open");
    }
  }
  void Hide(Form&) override {}
  void Unloaded(Form& form) override { unloaded_.push_back(form.Name()); }
  void DoEvents() override {}
  void SetMousePointer(int pointer) override { pointers_.push_back(pointer); }
  void ReportUnhandledError(long number, const std::string& description) override {
    unhandled_.push_back({number, description});
  }

  struct Unhandled {
    long number;
    std::string description;
  };

  const std::vector<std::string>& Shown() const { return shown_; }
  const std::vector<std::string>& UnloadedForms() const { return unloaded_; }
  const std::vector<int>& Pointers() const { return pointers_; }
  const std::vector<Unhandled>& UnhandledErrors() const { return unhandled_; }
  int ModalShows() const { return modalShows_; }

 private:
  std::vector<UserAction> modalActions_;
  size_t nextModal_ = 0;
  std::vector<std::string> shown_, unloaded_;
  std::vector<int> pointers_;
  std::vector<Unhandled> unhandled_;
  int modalShows_ = 0;
};

}  // namespace xel::testing
