#pragma once

#include <string>

#include "platform/forms/UiBackend.h"

namespace xel {

// The component's screen until the host hands over its own: nothing is shown, a modal window is
// closed at once as if its user had dismissed it, and errors that escape a handler are written to
// the standard error stream.
class HeadlessUi : public UiBackend {
 public:
  void ShowModeless(Form&) override {}
  void ShowModal(Form& form) override;
  void Hide(Form&) override {}
  void Unloaded(Form&) override {}
  void DoEvents() override {}
  void SetMousePointer(int) override {}
  void ReportUnhandledError(long number, const std::string& description) override;
};

}  // namespace xel
