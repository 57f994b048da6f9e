#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "platform/forms/Forms.h"
#include "platform/forms/MakerControls.h"

namespace xel {

class FormWindow;

// One control of a form on the screen: the widget that shows it, kept in step with the control's
// properties. What the user does to the widget reaches the control through its User... and
// Click... members, which raise the control's events; the widget shows what the control then
// holds.
class ControlView {
 public:
  ControlView(Control& control, FormWindow& window);
  virtual ~ControlView() = default;
  ControlView(const ControlView&) = delete;
  ControlView& operator=(const ControlView&) = delete;

  Control& Model() const { return *control_; }
  virtual QWidget* Widget() const = 0;
  // Where the controls of a container control go; null for other controls.
  virtual QWidget* ContentsWidget() const { return nullptr; }

  // Shows every property; called once the widget has its place in the window.
  void MirrorAll();
  // The form's colour scheme was applied.
  virtual void ApplyScheme(const ColorSchemeValues& /*scheme*/) {}
  // Stops following the control, which stays as it is.
  virtual void Release();

 protected:
  // The properties a kind of control shows beyond place, visibility, enablement and focus.
  virtual void MirrorOwn() {}
  // The name the screen reader gives the widget: its caption, or the control's name.
  void SetAccessibleCaption(const std::string& caption);
  // A text control's whole text was selected.
  virtual void MirrorSelection() {}
  // Where the widget goes for the control's place in its container, in pixels; by default there.
  virtual QRect PlaceFor(const QRect& designed) const { return designed; }
  void MirrorBounds();

  // Runs what the user did against the control under the run time's rule for errors; nothing
  // once the window has let go of its form.
  void Act(const std::function<void()>& action) const;

 private:
  // Shows one property of the control.
  void Mirror(Property what);
  void MirrorFocus();

  Control* control_;
  FormWindow* window_;
  Signal<Property>::Id connection_;
};

}  // namespace xel
