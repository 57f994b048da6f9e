#include "qt/ControlView.h"

#include "qt/Appearance.h"
#include "qt/FormWindow.h"

namespace xel {

ControlView::ControlView(Control& control, FormWindow& window)
    : control_(&control), window_(&window) {
  connection_ = control.Changed.Connect([this](Property what) { Mirror(what); });
}

void ControlView::Release() {
  control_->Changed.Disconnect(connection_);
}

void ControlView::Act(const std::function<void()>& action) const {
  window_->Act(action);
}

void ControlView::MirrorAll() {
  QWidget* widget = Widget();
  widget->setObjectName(QString::fromStdString(control_->Name()));
  widget->setAccessibleName(QString::fromStdString(control_->Name()));
  MirrorBounds();
  widget->setVisible(control_->Visible());
  widget->setEnabled(control_->Enabled());
  MirrorOwn();
}

void ControlView::SetAccessibleCaption(const std::string& caption) {
  Widget()->setAccessibleName(QString::fromStdString(caption.empty() ? control_->Name() : caption));
}

void ControlView::Mirror(Property what) {
  switch (what) {
    case Property::Bounds:
      MirrorBounds();
      break;
    case Property::Visible:
      Widget()->setVisible(control_->Visible());
      break;
    case Property::Enabled:
      Widget()->setEnabled(control_->Enabled());
      MirrorOwn();
      break;
    case Property::Focus:
      MirrorFocus();
      MirrorOwn();
      break;
    case Property::Selection:
      MirrorSelection();
      break;
    default:
      MirrorOwn();
      break;
  }
}

// A control placed partly left of or above its container's inside is cut there, as the
// container clips it; what remains keeps its right and bottom edges, so right-aligned text stays
// readable.
void ControlView::MirrorBounds() {
  QWidget* widget = Widget();
  QRect place = PlaceFor(ToPixels(control_->GetBounds()));
  QRect inside = widget->parentWidget() ? widget->parentWidget()->contentsRect() : QRect();
  place.setLeft(std::max(place.left(), inside.left()));
  place.setTop(std::max(place.top(), inside.top()));
  widget->setGeometry(place);
}

void ControlView::MirrorFocus() {
  QWidget* widget = Widget();
  if (control_->HasFocus() && !widget->hasFocus()) {
    widget->setFocus(Qt::OtherFocusReason);
  }
}

}  // namespace xel
