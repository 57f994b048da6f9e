#pragma once

#include <string>

namespace xel {

class Form;

// Everything of the forms run time that needs a real screen. The Qt front end implements it for
// the desktop; tests use a scripted implementation that acts as the user.
class UiBackend {
 public:
  virtual ~UiBackend() = default;

  // A form became visible without blocking its caller.
  virtual void ShowModeless(Form& form) = 0;
  // A form is shown modally: returns only once the form is hidden or unloaded.
  virtual void ShowModal(Form& form) = 0;
  virtual void Hide(Form& form) = 0;
  // The form was unloaded; whatever shows it can be released.
  virtual void Unloaded(Form& form) = 0;
  // Let the window events that are waiting run once.
  virtual void DoEvents() = 0;
  // The screen's mouse pointer: 0 the default arrow, 11 the hourglass.
  virtual void SetMousePointer(int pointer) = 0;
  // One message box for an error that escaped an event handler.
  virtual void ReportUnhandledError(long number, const std::string& description) = 0;
  // Puts a text on the system clipboard; a screen without one (the component's headless screen)
  // copies nothing.
  virtual void CopyToClipboard(const std::string& /*text*/) {}
};

}  // namespace xel
