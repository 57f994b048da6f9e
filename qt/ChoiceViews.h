#pragma once

#include <QComboBox>
#include <QRadioButton>

#include "platform/forms/MakerControls.h"
#include "platform/forms/StandardControls.h"
#include "qt/ControlView.h"

namespace xel {

// The maker's combo box as a drop-down list. Picking an entry goes to the combo through
// UserSelect; keys typed on it through PressKey, a key its handler consumes going no further.
class ComboZulView : public ControlView {
 public:
  ComboZulView(ComboZul& combo, FormWindow& window, QWidget* parent);
  QWidget* Widget() const override { return box_; }

 protected:
  void MirrorOwn() override;

 private:
  ComboZul& combo_;
  QComboBox* box_;
};

// The run time's option button. Qt's own grouping is off: the control keeps its group exclusive,
// and the button shows the control's value.
class OptionButtonView : public ControlView {
 public:
  OptionButtonView(OptionButton& option, FormWindow& window, QWidget* parent);
  QWidget* Widget() const override { return button_; }

 protected:
  void MirrorOwn() override;

 private:
  OptionButton& option_;
  QRadioButton* button_;
};

}  // namespace xel
