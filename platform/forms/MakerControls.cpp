#include "platform/forms/MakerControls.h"

#include "platform/text/RuntimeError.h"

namespace xel {

namespace {

[[noreturn]] void RefuseValue() {
  throw RuntimeError(err::InvalidPropertyValue, "Invalid property value");
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Numeric entry: digits, one decimal point, and a minus sign only in front of everything.
bool AcceptsNumericCharacter(const std::string& text, size_t at, char c) {
  bool inFrontOfMinus = at == 0 && !text.empty() && text.front() == '-';
  if (IsDigit(c)) {
    return !inFrontOfMinus;
  }
  if (c == '.') {
    return !inFrontOfMinus && text.find('.') == std::string::npos;
  }
  return c == '-' && at == 0 && text.find('-') == std::string::npos;
}

}  // namespace

void TextBoxZul::SetMaxLength(std::int16_t length) {
  if (length < 0) {
    RefuseValue();
  }
  Update(maxLength_, length, Property::MaxLength);
}

void TextBoxZul::SetInputKind(std::int32_t kind) {
  if (kind != TextEntry::AnyText && kind != TextEntry::Numeric) {
    RefuseValue();
  }
  Update(inputKind_, kind, Property::InputKind);
}

bool TextBoxZul::AcceptsCharacter(const std::string& text, size_t at,
                                  std::string_view character) const {
  if (inputKind_ != TextEntry::Numeric) {
    return true;
  }
  return character.size() == 1 && AcceptsNumericCharacter(text, at, character.front());
}

void TextBoxZul::PressEnter() {
  if (!UsableByUser()) {
    return;
  }
  SetFocus();
  if (tabOnEnter_) {
    OwnerForm().FocusNextControl();
  }
}

std::string ComboZul::Text() const {
  return listIndex_ < 0 ? std::string() : items_[static_cast<size_t>(listIndex_)];
}

void ComboZul::AddItem(std::string text) {
  items_.push_back(std::move(text));
  Notify(Property::Items);
}

void ComboZul::Clear() {
  Update(listIndex_, -1, Property::ListIndex);
  if (!items_.empty()) {
    items_.clear();
    Notify(Property::Items);
  }
}

void ComboZul::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) {
    RefuseValue();
  }
  if (index == listIndex_) {
    return;
  }
  Update(listIndex_, index, Property::ListIndex);
  Raise(Change);
}

bool ComboZul::UserSelect(int index) {
  if (!UsableByUser() || index < 0 || index >= ListCount()) {
    return false;
  }
  SetFocus();
  SetListIndex(index);
  return true;
}

void ComboZul::PressKey(int& keyAscii) {
  if (!UsableByUser()) {
    return;
  }
  SetFocus();
  Raise(KeyPress, keyAscii);
}

LabelZul::LabelZul(Container& container, std::string name) : Control(container, std::move(name)) {
  SetTabStop(false);
}

void LabelZul::SetAlignment(int alignment) {
  if (alignment < LabelAlignment::Left || alignment > LabelAlignment::Center) {
    RefuseValue();
  }
  Update(alignment_, alignment, Property::Design);
}

void ToolbarZul::Reset() {
  ++resetCount_;
  SetPressed(Command::None);
}

void ToolbarZul::Press(Command command, bool available, const Event<>& event) {
  if (!available || !UsableByUser()) {
    return;
  }
  SetPressed(command);
  Raise(event);
  SetPressed(Command::None);
}

void FlatButton::PerformClick() {
  if (!UsableByUser()) {
    return;
  }
  SetFocus();
  Raise(Click);
}

ColorScheme::ColorScheme(Container& container, std::string name)
    : Control(container, std::move(name)) {
  SetVisible(false);
  SetTabStop(false);
}

void ColorScheme::ApplyToForm() {
  ++timesApplied_;
  Notify(Property::Colors);
}

}  // namespace xel
