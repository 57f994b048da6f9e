#pragma once

#include <string>

#include "platform/forms/Forms.h"
#include "platform/forms/TextControl.h"

namespace xel {

// The run time's plain text box. A single-line box keeps line breaks out of what the user types.
class TextBox : public TextControl {
 public:
  TextBox(Container& container, std::string name) : TextControl(container, std::move(name)) {}

  // The system's window colours until the design says otherwise.
  Color BackColor() const { return backColor_; }
  void SetBackColor(Color color) { Update(backColor_, color, Property::Colors); }
  Color ForeColor() const { return foreColor_; }
  void SetForeColor(Color color) { Update(foreColor_, color, Property::Colors); }
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool on) { Update(multiLine_, on, Property::Design); }

  // The user presses a key in the box, when it can be used: it takes the focus and raises KeyDown.
  // Returns the key code the handler left: 0 when it took the key, which then does nothing else.
  int UserKeyDown(int keyCode, int shift);

  Event<int&, int> KeyDown;  // key code, shift state

 protected:
  bool AcceptsCharacter(const std::string& text, size_t at,
                        std::string_view character) const override;

 private:
  Color backColor_ = 0x80000005;
  Color foreColor_ = 0x80000008;
  bool multiLine_ = false;
};

// The run time's option button. The option buttons of one container (a form or a frame) form one
// group: selecting one clears the others. Setting Value to True raises Click, whether the user or
// the code selects it, but only when the option was not selected yet.
class OptionButton : public Control {
 public:
  OptionButton(Container& container, std::string name) : Control(container, std::move(name)) {}

  bool Value() const { return value_; }
  void SetValue(bool value);
  // The selection the window's design gives: exclusive like Value, but without Click, since a
  // designed selection does not run the option's Click when the window loads.
  void SetDesignedValue(bool value);

  // The user clicks the option: it takes the focus and is selected, when it can be used.
  void UserClick();
  // The user presses a key on the option.
  void PressKey(int& keyAscii);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { Update(caption_, std::move(caption), Property::Caption); }
  Color BackColor() const { return backColor_; }
  void SetBackColor(Color color) { Update(backColor_, color, Property::Colors); }
  const Font& GetFont() const { return font_; }
  void SetFont(Font font) { Update(font_, std::move(font), Property::Design); }

  Event<> Click;
  Event<int&> KeyPress;

 private:
  // Sets the option, clearing the others of its group when it is selected; returns whether it has
  // just become selected.
  bool Choose(bool value);

  bool value_ = false;
  std::string caption_;
  Color backColor_ = 0xF5F5F5;
  Font font_;
};

// The run time's frame: a captioned box holding controls. A disabled frame disables what it
// holds: its controls take neither the focus nor the user's clicks.
class Frame : public Control, public Container {
 public:
  Frame(Container& container, std::string name) : Control(container, std::move(name)) {}

  using Control::OwnerForm;
  Form& OwnerForm() override { return Control::OwnerForm(); }
  bool ContentsEnabled() const override { return EffectiveEnabled(); }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { Update(caption_, std::move(caption), Property::Caption); }
  Color BackColor() const { return backColor_; }
  void SetBackColor(Color color) { Update(backColor_, color, Property::Colors); }
  Color ForeColor() const { return foreColor_; }
  void SetForeColor(Color color) { Update(foreColor_, color, Property::Colors); }
  const Font& GetFont() const { return font_; }
  void SetFont(Font font) { Update(font_, std::move(font), Property::Design); }

 private:
  std::string caption_;
  Color backColor_ = 0xF5F5F5;
  Color foreColor_ = 0x80000008;
  Font font_;
};

}  // namespace xel
