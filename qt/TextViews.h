#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

#include "platform/forms/MakerControls.h"
#include "platform/forms/StandardControls.h"
#include "qt/ControlView.h"

namespace xel {

// The maker's text box as a line edit. What the user types goes to the box through UserEdit, which
// applies its length limit, numeric entry and lock; the line edit then shows the box's text. Its
// background follows the box's enabled, disabled and focus colours.
class TextBoxZulView : public ControlView {
 public:
  TextBoxZulView(TextBoxZul& box, FormWindow& window, QWidget* parent);
  QWidget* Widget() const override { return edit_; }

 protected:
  void MirrorOwn() override;
  void MirrorSelection() override;

 private:
  void UserEdited(const QString& text);
  void ShowText();

  TextBoxZul& box_;
  QLineEdit* edit_;
};

// The run time's plain text box: a line edit, or a text editor when it is multi-line. The keys
// pressed in it reach the box's KeyDown first.
class TextBoxView : public ControlView {
 public:
  TextBoxView(TextBox& box, FormWindow& window, QWidget* parent);
  QWidget* Widget() const override { return widget_; }

 protected:
  void MirrorOwn() override;
  void MirrorSelection() override;

 private:
  QString Shown() const;
  void Show(const QString& text);
  void UserEdited();

  TextBox& box_;
  QLineEdit* line_ = nullptr;
  QPlainTextEdit* lines_ = nullptr;
  QWidget* widget_;
};

}  // namespace xel
