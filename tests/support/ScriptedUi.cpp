#include "tests/support/ScriptedUi.h"

#include <iostream>

namespace xel::testing {

void FailScript(const std::string& message) {
  std::cerr << "test script error: " << message << std::endl;
  throw ScriptError{message};
}

void ScriptedUi::ShowModal(Form& form) {
  ++modalShows_;
  shown_.push_back(form.Name());
  if (nextModal_ >= modalActions_.size()) {
    FailScript("no scripted user action for the modal form " + form.Name());
  }
  UserAction action = modalActions_[nextModal_++];
  action(form);
  if (form.Visible()) {
    FailScript("the scripted user left the modal form " + form.Name() + " open");
  }
}

}  // namespace xel::testing
