#pragma once

#include <QLabel>
#include <QPushButton>

#include "platform/forms/MakerControls.h"
#include "platform/forms/StandardControls.h"
#include "qt/ControlView.h"

namespace xel {

// The maker's label: its caption, aligned, on its own background.
class LabelZulView : public ControlView {
 public:
  LabelZulView(LabelZul& label, FormWindow& window, QWidget* parent);
  QWidget* Widget() const override { return text_; }

 protected:
  void MirrorOwn() override;

 private:
  LabelZul& label_;
  QLabel* text_;
};

// The maker's flat button: a flat coloured face, ringed in its focus colour while it has the
// focus. A click goes to the button through PerformClick.
class FlatButtonView : public ControlView {
 public:
  FlatButtonView(FlatButton& button, FormWindow& window, QWidget* parent);
  QWidget* Widget() const override { return face_; }

 protected:
  void MirrorOwn() override;

 private:
  FlatButton& button_;
  QPushButton* face_;
};

class FrameBox;

// The run time's frame: a box with its caption on the top edge, holding the widgets of its
// controls, which it clips.
class FrameView : public ControlView {
 public:
  FrameView(Frame& frame, FormWindow& window, QWidget* parent);
  QWidget* Widget() const override;
  QWidget* ContentsWidget() const override;

 protected:
  void MirrorOwn() override;

 private:
  Frame& frame_;
  FrameBox* box_;
};

}  // namespace xel
