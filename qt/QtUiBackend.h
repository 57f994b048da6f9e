#pragma once

#include <QPointer>
#include <map>
#include <set>

#include "platform/forms/UiBackend.h"
#include "qt/FormWindow.h"

class QEventLoop;
class QSettings;

namespace xel {

// The desktop screen of the forms run time: a window per shown form, real modal dialogs, the
// hourglass pointer and the message box for escaped errors. Forms shown through it are unloaded
// or destroyed before it goes. Given the user's settings, a window shown modelessly comes back
// where the user left it, and is remembered there when its form is unloaded.
class QtUiBackend : public UiBackend {
 public:
  explicit QtUiBackend(QSettings* places = nullptr) : places_(places) {}
  ~QtUiBackend() override;
  QtUiBackend(const QtUiBackend&) = delete;
  QtUiBackend& operator=(const QtUiBackend&) = delete;

  void ShowModeless(Form& form) override;
  // Runs a local event loop until the form is hidden or unloaded.
  void ShowModal(Form& form) override;
  void Hide(Form& form) override;
  void Unloaded(Form& form) override;
  void DoEvents() override;
  void SetMousePointer(int pointer) override;
  void ReportUnhandledError(long number, const std::string& description) override;
  void CopyToClipboard(const std::string& text) override;

  // The program's message box: shown over the active window and answered by the user; or, once
  // the screen is unattended, written to the error stream and answered with its default button.
  long Message(const std::string& prompt, long code, const std::string& title,
               const std::string& errorId);
  // No one is there to answer messages (a picture drawn, no display): none waits from now on.
  void SetUnattended() { unattended_ = true; }
  // How many messages were answered for want of a person.
  int UnattendedAnswers() const { return unattendedAnswers_; }

  // The window showing a form, or null while the form has none.
  FormWindow* WindowOf(const Form& form) const;

 private:
  FormWindow& WindowFor(Form& form);
  void EndModalLoop(const Form& form);

  std::map<const Form*, QPointer<FormWindow>> windows_;
  std::map<const Form*, QEventLoop*> modalLoops_;
  bool unattended_ = false;
  int unattendedAnswers_ = 0;
  QSettings* places_;
  std::set<const Form*> placed_;  // the forms whose windows come back where they were left
};

}  // namespace xel
