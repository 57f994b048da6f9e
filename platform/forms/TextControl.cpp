#include "platform/forms/TextControl.h"

#include <algorithm>

namespace xel {

namespace {

bool IsContinuationByte(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Whether the byte offset falls inside a character of the text rather than before one.
bool SplitsCharacter(const std::string& text, size_t at) {
  return at < text.size() && IsContinuationByte(text[at]);
}

size_t CharacterCount(const std::string& text) {
  return static_cast<size_t>(
      std::count_if(text.begin(), text.end(), [](char byte) { return !IsContinuationByte(byte); }));
}

size_t CharacterLength(std::string_view text, size_t at) {
  size_t end = at + 1;
  while (end < text.size() && IsContinuationByte(text[end])) {
    ++end;
  }
  return end - at;
}

// The one place where the texts differ: what is kept in front, what is kept behind, in bytes, never
// cutting a character in two.
struct EditSpan {
  size_t kept_front;
  size_t kept_behind;
};

EditSpan FindEdit(const std::string& before, const std::string& after) {
  size_t shorter = std::min(before.size(), after.size());
  size_t front = 0;
  while (front < shorter && before[front] == after[front]) {
    ++front;
  }
  while (front > 0 && (SplitsCharacter(before, front) || SplitsCharacter(after, front))) {
    --front;
  }
  size_t behind = 0;
  while (front + behind < shorter &&
         before[before.size() - 1 - behind] == after[after.size() - 1 - behind]) {
    ++behind;
  }
  while (behind > 0 && (SplitsCharacter(before, before.size() - behind) ||
                        SplitsCharacter(after, after.size() - behind))) {
    --behind;
  }
  return {front, behind};
}

}  // namespace

void TextControl::SetText(std::string text) {
  proposal_ = !text.empty();
  wholeSelected_ = false;
  Update(text_, std::move(text), Property::Text);
}

void TextControl::SelectAll() {
  wholeSelected_ = !text_.empty();
  Notify(Property::Selection);
}

void TextControl::FocusEntered() {
  if (proposal_) {
    SelectAll();
  }
}

bool TextControl::UserEdit(const std::string& edited) {
  if (!TakesUserInput()) {
    return text_ == edited;
  }
  EditSpan span = FindEdit(text_, edited);
  size_t removed = text_.size() - span.kept_front - span.kept_behind;
  std::string_view inserted(edited);
  inserted = inserted.substr(span.kept_front, edited.size() - span.kept_front - span.kept_behind);
  ApplyUserInput(span.kept_front, removed, inserted);
  return text_ == edited;
}

void TextControl::Type(std::string_view keys) {
  if (!TakesUserInput()) {
    return;
  }
  SetFocus();
  const bool replaces = wholeSelected_;
  ApplyUserInput(replaces ? 0 : text_.size(), replaces ? text_.size() : 0, keys);
}

void TextControl::ApplyUserInput(size_t at, size_t removed, std::string_view inserted) {
  SetFocus();
  std::string result = text_;
  result.erase(at, removed);
  size_t limit = InputLimit();
  for (size_t i = 0; i < inserted.size();) {
    std::string_view character = inserted.substr(i, CharacterLength(inserted, i));
    i += character.size();
    if (limit != 0 && CharacterCount(result) >= limit) {
      break;
    }
    if (AcceptsCharacter(result, at, character)) {
      result.insert(at, character);
      at += character.size();
    }
  }
  Update(text_, std::move(result), Property::Text);
  proposal_ = false;
  wholeSelected_ = false;
}

}  // namespace xel
