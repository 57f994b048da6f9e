#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/forms/TextControl.h"

namespace xel {

// What the maker's text box lets the user type.
namespace TextEntry {
inline constexpr std::int32_t AnyText = 0;
inline constexpr std::int32_t Numeric = 3;  // digits, one decimal point, a leading minus sign
}  // namespace TextEntry

namespace LabelAlignment {
inline constexpr int Left = 0;
inline constexpr int Right = 1;
inline constexpr int Center = 2;
}  // namespace LabelAlignment

// The maker's text box (textoZUL.txtZUL). The length limit and the numeric entry apply to what the
// user types; text set by code is taken as it is, as with any text box of the run time.
class TextBoxZul : public TextControl {
 public:
  TextBoxZul(Container& container, std::string name) : TextControl(container, std::move(name)) {}

  // 0 for no limit; a negative limit is refused.
  std::int16_t MaxLength() const { return maxLength_; }
  void SetMaxLength(std::int16_t length);
  // TextEntry::AnyText or TextEntry::Numeric; other kinds are refused.
  std::int32_t InputKind() const { return inputKind_; }
  void SetInputKind(std::int32_t kind);

  // A locked box shows its text and takes the focus, but the user cannot change it.
  bool Locked() const { return locked_; }
  void SetLocked(bool locked) { Update(locked_, locked, Property::Locked); }
  bool TabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool on) { Update(tabOnEnter_, on, Property::Design); }
  Color EnabledColor() const { return enabledColor_; }
  void SetEnabledColor(Color color) { Update(enabledColor_, color, Property::Colors); }
  Color DisabledColor() const { return disabledColor_; }
  void SetDisabledColor(Color color) { Update(disabledColor_, color, Property::Colors); }
  Color FocusColor() const { return focusColor_; }
  void SetFocusColor(Color color) { Update(focusColor_, color, Property::Colors); }
  const Font& GetFont() const { return font_; }
  void SetFont(Font font) { Update(font_, std::move(font), Property::Design); }

  // The user pressed Enter in the box: with TabOnEnter the focus goes on as with the TAB key.
  void PressEnter();

 protected:
  bool TakesUserInput() const override { return !locked_ && TextControl::TakesUserInput(); }
  size_t InputLimit() const override { return static_cast<size_t>(maxLength_); }
  bool AcceptsCharacter(const std::string& text, size_t at,
                        std::string_view character) const override;

 private:
  std::int16_t maxLength_ = 0;
  std::int32_t inputKind_ = TextEntry::AnyText;
  bool locked_ = false;
  bool tabOnEnter_ = false;
  Color enabledColor_ = 0xFFFFFF;
  Color disabledColor_ = 0xC8D0D4;
  Color focusColor_ = 0xC0FFFF;
  Font font_;
};

// The maker's combo box (comboZul.cbZul) as a list the user picks from: its text is the selected
// entry's. A change of the selection, by code or by the user, raises Change, as setting the list
// index of a run-time list raises its event; selecting the entry already selected raises nothing.
class ComboZul : public Control {
 public:
  ComboZul(Container& container, std::string name) : Control(container, std::move(name)) {}

  // The selected entry's text; empty when nothing is selected.
  std::string Text() const;
  const std::vector<std::string>& Items() const { return items_; }
  int ListCount() const { return static_cast<int>(items_.size()); }
  void AddItem(std::string text);
  // Empties the list and the selection without raising Change, as a fresh load of the window finds
  // the combo.
  void Clear();

  // Zero-based; -1 for no selection. Any other index outside the list is refused.
  int ListIndex() const { return listIndex_; }
  void SetListIndex(int index);

  // The user picks an entry. Returns false, changing nothing, when the combo cannot be used or the
  // index is not an entry of the list.
  bool UserSelect(int index);
  // The user presses a key in the combo. Enter is left to the window's KeyPress, which moves the
  // focus on itself; TabOnEnter does not move it a second time.
  void PressKey(int& keyAscii);

  bool TabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool on) { Update(tabOnEnter_, on, Property::Design); }
  // 2 is the drop-down list, whose text cannot be typed.
  int Estilo() const { return estilo_; }
  void SetEstilo(int style) { Update(estilo_, style, Property::Design); }
  Color EnabledColor() const { return enabledColor_; }
  void SetEnabledColor(Color color) { Update(enabledColor_, color, Property::Colors); }
  const Font& GetFont() const { return font_; }
  void SetFont(Font font) { Update(font_, std::move(font), Property::Design); }

  Event<> Change;
  Event<int&> KeyPress;

 private:
  std::vector<std::string> items_;
  int listIndex_ = -1;
  bool tabOnEnter_ = false;
  int estilo_ = 2;
  Color enabledColor_ = 0xFFFFFF;
  Font font_;
};

// The maker's label (LabelZul.Etiqueta): design values only.
class LabelZul : public Control {
 public:
  LabelZul(Container& container, std::string name);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { Update(caption_, std::move(caption), Property::Caption); }
  const std::string& IdEtiqueta() const { return idEtiqueta_; }
  void SetIdEtiqueta(std::string id) { Update(idEtiqueta_, std::move(id), Property::Design); }
  // One of LabelAlignment; other values are refused.
  int Alignment() const { return alignment_; }
  void SetAlignment(int alignment);
  Color BackColor() const { return backColor_; }
  void SetBackColor(Color color) { Update(backColor_, color, Property::Colors); }
  Color ForeColor() const { return foreColor_; }
  void SetForeColor(Color color) { Update(foreColor_, color, Property::Colors); }
  const Font& GetFont() const { return font_; }
  void SetFont(Font font) { Update(font_, std::move(font), Property::Design); }

 private:
  std::string caption_;
  std::string idEtiqueta_;
  int alignment_ = LabelAlignment::Left;
  Color backColor_ = 0xF5F5F5;
  Color foreColor_ = 0x80000012;
  Font font_;
};

// The maker's title strip with command buttons (toolbarZUL.Controles). Its window says which of
// add, edit and delete are available; a button raises its event only when its command is, and the
// exit button whenever it is shown. A pressed button stays down while its command runs, until the
// command ends or calls Reset.
class ToolbarZul : public Control {
 public:
  enum class Command { None, Add, Edit, Delete, Exit };

  // The strip is used with the mouse; the keyboard's TAB passes it by, as on the screen.
  ToolbarZul(Container& container, std::string name) : Control(container, std::move(name)) {
    SetTabStop(false);
  }

  bool AddAvailable() const { return addAvailable_; }
  void SetAddAvailable(bool on) { Update(addAvailable_, on, Property::Commands); }
  bool EditAvailable() const { return editAvailable_; }
  void SetEditAvailable(bool on) { Update(editAvailable_, on, Property::Commands); }
  bool DeleteAvailable() const { return deleteAvailable_; }
  void SetDeleteAvailable(bool on) { Update(deleteAvailable_, on, Property::Commands); }

  // Brings the strip back to rest: the pressed button comes up. Counted, so that the windows' way
  // out of a command can be checked.
  void Reset();
  int ResetCount() const { return resetCount_; }
  Command PressedCommand() const { return pressed_; }

  // Whether the strip's menu (the pop-up menu and the list of windows) can be opened; a modal
  // dialog switches it off at each activation, since it must not lead to other windows.
  bool MenuEnabled() const { return menuEnabled_; }
  void SetMenuEnabled(bool on) { Update(menuEnabled_, on, Property::Commands); }

  // The user's clicks on the strip's buttons.
  void ClickAdd() { Press(Command::Add, addAvailable_, Add); }
  void ClickEdit() { Press(Command::Edit, editAvailable_, Edit); }
  void ClickDelete() { Press(Command::Delete, deleteAvailable_, Delete); }
  void ClickExit() { Press(Command::Exit, showExitButton_, Exit); }

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { Update(caption_, std::move(caption), Property::Caption); }
  int TabWidth() const { return tabWidth_; }
  void SetTabWidth(int width) { Update(tabWidth_, width, Property::Design); }
  bool EasyAccessEnabled() const { return easyAccessEnabled_; }
  void SetEasyAccessEnabled(bool on) { Update(easyAccessEnabled_, on, Property::Design); }
  bool ShowMenuPopup() const { return showMenuPopup_; }
  void SetShowMenuPopup(bool on) { Update(showMenuPopup_, on, Property::Design); }
  bool ShowWindowsList() const { return showWindowsList_; }
  void SetShowWindowsList(bool on) { Update(showWindowsList_, on, Property::Design); }
  bool ShowExitButton() const { return showExitButton_; }
  void SetShowExitButton(bool on) { Update(showExitButton_, on, Property::Commands); }
  bool PermitirMover() const { return permitirMover_; }
  void SetPermitirMover(bool on) { Update(permitirMover_, on, Property::Design); }

  Event<> Add;
  Event<> Edit;
  Event<> Delete;
  Event<> Exit;

 private:
  void Press(Command command, bool available, const Event<>& event);
  void SetPressed(Command command) { Update(pressed_, command, Property::Commands); }

  bool addAvailable_ = false;
  bool editAvailable_ = false;
  bool deleteAvailable_ = false;
  bool menuEnabled_ = true;
  Command pressed_ = Command::None;
  int resetCount_ = 0;
  std::string caption_;
  int tabWidth_ = 0;
  bool easyAccessEnabled_ = false;
  bool showMenuPopup_ = false;
  bool showWindowsList_ = false;
  bool showExitButton_ = true;
  bool permitirMover_ = false;
};

// The maker's flat button (flatButtonZUL.flatButton).
class FlatButton : public Control {
 public:
  FlatButton(Container& container, std::string name) : Control(container, std::move(name)) {}

  // The user clicks the button: it takes the focus and raises Click, when it can be used.
  void PerformClick();

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { Update(caption_, std::move(caption), Property::Caption); }
  Color BackColor() const { return backColor_; }
  void SetBackColor(Color color) { Update(backColor_, color, Property::Colors); }
  Color BorderColor() const { return borderColor_; }
  void SetBorderColor(Color color) { Update(borderColor_, color, Property::Colors); }
  Color ForeColor() const { return foreColor_; }
  void SetForeColor(Color color) { Update(foreColor_, color, Property::Colors); }
  Color FocusColor() const { return focusColor_; }
  void SetFocusColor(Color color) { Update(focusColor_, color, Property::Colors); }
  const Font& GetFont() const { return font_; }
  void SetFont(Font font) { Update(font_, std::move(font), Property::Design); }
  int IconSize() const { return iconSize_; }
  void SetIconSize(int size) { Update(iconSize_, size, Property::Design); }
  // Drawn to catch the eye: the button has work waiting for it.
  bool Emphasized() const { return emphasized_; }
  void SetEmphasized(bool on) { Update(emphasized_, on, Property::Colors); }

  Event<> Click;

 private:
  bool emphasized_ = false;
  std::string caption_;
  Color backColor_ = 0x8A5300;
  Color borderColor_ = 0x8A5300;
  Color foreColor_ = 0xFFFFFF;
  Color focusColor_ = 0x75ACFF;
  Font font_;
  int iconSize_ = 0;
};

// The colours and font sizes of the maker's colour scheme, as the windows design them.
struct ColorSchemeValues {
  Color backColor = 16119285;
  Color enableColor = 16777215;
  Color disableColor = 14737632;
  Color focusColor = 16777215;
  float labelFontSize = 8.25f;
  float textFontSize = 8.25f;
  Color menuBackColor = 14535859;
  Color menuFontBackColor = 13364469;
  Color menuSelBackColor = 10278370;
  Color calendarBackColor = 12648447;
  Color calendarForeColor = 8388608;
  Color calendarTitleBackColor = 13218185;
  Color calendarTitleForeColor = 16777215;
  Color calendarTrailingForeColor = 9065216;
  Color dbGridBackColor = 12648447;
  Color dbGridBackColorEven = 16777215;
  Color dbGridBackColorOdd = 16777215;
  bool operator==(const ColorSchemeValues&) const = default;
};

// The maker's colour scheme (coloresZUL.colorZUL): never seen itself, it colours its window when
// the window's load applies it. Applying tells the views (Property::Colors), which repaint the
// window with Values().
class ColorScheme : public Control {
 public:
  ColorScheme(Container& container, std::string name);

  const ColorSchemeValues& Values() const { return values_; }
  void SetValues(const ColorSchemeValues& values) { Update(values_, values, Property::Design); }

  void ApplyToForm();
  int TimesApplied() const { return timesApplied_; }

 private:
  ColorSchemeValues values_;
  int timesApplied_ = 0;
};

}  // namespace xel
