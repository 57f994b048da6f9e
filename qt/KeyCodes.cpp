#include "qt/KeyCodes.h"

#include <map>

namespace xel {

namespace {
const std::map<int, int>& NamedKeys() {
  static const std::map<int, int> codes{
      {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},     {Qt::Key_Backtab, 9},  {Qt::Key_Return, 13},
      {Qt::Key_Enter, 13},    {Qt::Key_Shift, 16},  {Qt::Key_Control, 17}, {Qt::Key_Alt, 18},
      {Qt::Key_Pause, 19},    {Qt::Key_Escape, 27}, {Qt::Key_Space, 32},   {Qt::Key_PageUp, 33},
      {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},    {Qt::Key_Home, 36},    {Qt::Key_Left, 37},
      {Qt::Key_Up, 38},       {Qt::Key_Right, 39},  {Qt::Key_Down, 40},    {Qt::Key_Insert, 45},
      {Qt::Key_Delete, 46},
  };
  return codes;
}

// The Qt key of a key code: the first that reports it, or 0.
int QtKeyOf(int keyCode) {
  if ((keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9')) {
    return keyCode;  // letters and digits share their numbers
  }
  if (keyCode >= 112 && keyCode < 112 + 24) {
    return Qt::Key_F1 + (keyCode - 112);
  }
  for (const auto& [qtKey, code] : NamedKeys()) {
    if (code == keyCode) {
      return qtKey;
    }
  }
  return 0;
}
}  // namespace

int KeyCodeOf(int qtKey) {
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
    return qtKey;  // letters and digits share their numbers
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
    return 112 + (qtKey - Qt::Key_F1);
  }
  auto found = NamedKeys().find(qtKey);
  return found == NamedKeys().end() ? 0 : found->second;
}

QKeySequence KeySequenceOf(int keyCode, int shift) {
  int qtKey = QtKeyOf(keyCode);
  if (qtKey == 0) {
    return {};
  }
  Qt::KeyboardModifiers modifiers;
  modifiers.setFlag(Qt::ShiftModifier, (shift & 1) != 0);
  modifiers.setFlag(Qt::ControlModifier, (shift & 2) != 0);
  modifiers.setFlag(Qt::AltModifier, (shift & 4) != 0);
  return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(qtKey)));
}

int CharacterCodeOf(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Tab:
      return 9;
    default:
      break;
  }
  QString text = event.text();
  if (text.size() != 1 || text[0].unicode() < 32 || text[0].unicode() > 255) {
    return 0;
  }
  return text[0].unicode();
}

int ShiftStateOf(Qt::KeyboardModifiers modifiers) {
  return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
         (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) |
         (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

int MouseButtonsOf(Qt::MouseButtons buttons) {
  return (buttons.testFlag(Qt::LeftButton) ? 1 : 0) | (buttons.testFlag(Qt::RightButton) ? 2 : 0) |
         (buttons.testFlag(Qt::MiddleButton) ? 4 : 0);
}

}  // namespace xel
