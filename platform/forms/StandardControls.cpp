#include "platform/forms/StandardControls.h"

namespace xel {

bool TextBox::AcceptsCharacter(const std::string& /*text*/, size_t /*at*/,
                               std::string_view character) const {
  return multiLine_ || (character != "\r" && character != "\n");
}

int TextBox::UserKeyDown(int keyCode, int shift) {
  if (!UsableByUser()) {
    return keyCode;
  }
  SetFocus();
  Raise(KeyDown, keyCode, shift);
  return keyCode;
}

void OptionButton::SetValue(bool value) {
  if (Choose(value)) {
    Raise(Click);
  }
}

void OptionButton::SetDesignedValue(bool value) {
  Choose(value);
}

bool OptionButton::Choose(bool value) {
  if (value_ == value) {
    return false;
  }
  if (value) {
    for (Control* sibling : Parent().Controls()) {
      if (auto* option = dynamic_cast<OptionButton*>(sibling); option != this && option) {
        option->Update(option->value_, false, Property::Value);
      }
    }
  }
  Update(value_, value, Property::Value);
  return value;
}

void OptionButton::UserClick() {
  if (!UsableByUser()) {
    return;
  }
  SetFocus();
  SetValue(true);
}

void OptionButton::PressKey(int& keyAscii) {
  if (!UsableByUser()) {
    return;
  }
  SetFocus();
  Raise(KeyPress, keyAscii);
}

}  // namespace xel
