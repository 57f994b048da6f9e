#pragma once

#include <QShortcut>
#include <QSize>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/forms/MakerControls.h"
#include "qt/ControlView.h"

namespace xel {

// The window of one form: a widget for every visible control, built by the control's kind and
// placed at its designed position, kept in step with the form and its controls. Resizing the
// window resizes the form, closing it asks the form to close, and the keyboard offers the form's
// commands: the form's window keys wherever the focus is in it, and Escape in a modal form presses
// the button captioned "Cancelar". The title is marked while the form holds unsaved work.
class FormWindow : public QWidget {
 public:
  explicit FormWindow(Form& form);
  ~FormWindow() override;

  Form& Model() const { return *form_; }
  // The widget showing a control, by the control's name; null when there is none.
  QWidget* WidgetOf(const std::string& controlName) const;
  ControlView* ViewOf(const Control& control) const;

  // Stops following the form, which is being unloaded: the controls are left as they are and
  // nothing the user does reaches them any more.
  void Release();
  // Lets go of a form that may no longer exist, without touching it.
  void Abandon();
  bool Attached() const { return attached_; }

  // Runs what the user did against the form under the run time's rule for errors.
  void Act(const std::function<void()>& action);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Build(const Container& container, QWidget* parent);
  std::unique_ptr<ControlView> MakeView(Control& control, QWidget* parent);
  void ArrangeTabOrder();
  void FollowForm();
  void FollowFocus(QWidget* now);
  void ApplyScheme();
  FlatButton* UsableButtonCaptioned(const std::string& caption) const;
  void CancelOrClose();
  void AddShortcuts();

  Form* form_;
  bool attached_ = true;
  QSize reportedSize_;  // the size the form last heard of, or was last given by it
  std::vector<std::unique_ptr<ControlView>> views_;
  QShortcut* escape_ = nullptr;  // only a modal form answers to Escape
  ColorScheme* scheme_ = nullptr;
  Signal<>::Id formConnection_ = 0;
  Signal<Property>::Id schemeConnection_ = 0;
};

}  // namespace xel
