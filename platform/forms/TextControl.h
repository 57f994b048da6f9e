#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/forms/Forms.h"

namespace xel {

// What the text boxes share: their text, and how the user's keyboard changes it. Code may set any
// text; what the user types passes the box's rules character by character, as a real box filters
// keystrokes, so a paste is cut at the length limit and refused keys are dropped.
class TextControl : public Control {
 public:
  const std::string& Text() const { return text_; }
  // Text set by code is a proposal until the user changes it.
  void SetText(std::string text);

  // Whether the whole text is selected, so that what the user types next replaces it. Entering a
  // box that holds a proposal selects it.
  bool WholeTextSelected() const { return wholeSelected_; }
  void SelectAll();

  // The screen reports the whole text after the user changed it (typing, pasting, deleting). The
  // change is read as the characters the user put in at one place, in place of a removed run.
  // Returns whether the box took the edit whole; when not, the screen shows Text() again.
  bool UserEdit(const std::string& edited);
  // The user types these keys at the end of the text.
  void Type(std::string_view keys);

 protected:
  TextControl(Container& container, std::string name) : Control(container, std::move(name)) {}

  void FocusEntered() override;

  // The user reaches the box: shown and usable; a box may refuse more (a locked one).
  virtual bool TakesUserInput() const { return UsableByUser(); }
  // The most characters the user may bring the text to; 0 for no limit.
  virtual size_t InputLimit() const { return 0; }
  // Whether one typed character (UTF-8) may go into the text at the byte offset given.
  virtual bool AcceptsCharacter(const std::string& text, size_t at,
                                std::string_view character) const = 0;

 private:
  void ApplyUserInput(size_t at, size_t removed, std::string_view inserted);

  std::string text_;
  bool proposal_ = false;
  bool wholeSelected_ = false;
};

}  // namespace xel
