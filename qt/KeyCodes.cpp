#include "qt/KeyCodes.h"

#include <map>

#include "platform/KeyCodes.h"

namespace xel {

namespace {
const std::map<int, int>& NamedKeys() {
  static const std::map<int, int> codes{
      {Qt::Key_Backspace, KeyCode::Backspace},
      {Qt::Key_Tab, KeyCode::Tab},
      {Qt::Key_Backtab, KeyCode::Tab},
      {Qt::Key_Return, KeyCode::Enter},
      {Qt::Key_Enter, KeyCode::Enter},
      {Qt::Key_Shift, KeyCode::Shift},
      {Qt::Key_Control, KeyCode::Control},
      {Qt::Key_Alt, KeyCode::Alt},
      {Qt::Key_Pause, KeyCode::Pause},
      {Qt::Key_Escape, KeyCode::Escape},
      {Qt::Key_Space, KeyCode::Space},
      {Qt::Key_PageUp, KeyCode::PageUp},
      {Qt::Key_PageDown, KeyCode::PageDown},
      {Qt::Key_End, KeyCode::End},
      {Qt::Key_Home, KeyCode::Home},
      {Qt::Key_Left, KeyCode::Left},
      {Qt::Key_Up, KeyCode::Up},
      {Qt::Key_Right, KeyCode::Right},
      {Qt::Key_Down, KeyCode::Down},
      {Qt::Key_Insert, KeyCode::Insert},
      {Qt::Key_Delete, KeyCode::Delete},
  };
  return codes;
}

// The Qt key of a key code: the first that reports it, or 0.
int QtKeyOf(int keyCode) {
  if ((keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9')) {
    return keyCode;  // letters and digits share their numbers
  }
  if (keyCode >= KeyCode::F1 && keyCode < KeyCode::F1 + KeyCode::FunctionKeys) {
    return Qt::Key_F1 + (keyCode - KeyCode::F1);
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
    return KeyCode::F1 + (qtKey - Qt::Key_F1);
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
  modifiers.setFlag(Qt::ShiftModifier, (shift & ShiftState::Shift) != 0);
  modifiers.setFlag(Qt::ControlModifier, (shift & ShiftState::Control) != 0);
  modifiers.setFlag(Qt::AltModifier, (shift & ShiftState::Alt) != 0);
  return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(qtKey)));
}

int CharacterCodeOf(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return KeyAscii::Enter;
    case Qt::Key_Backspace:
      return KeyAscii::Backspace;
    case Qt::Key_Escape:
      return KeyAscii::Escape;
    case Qt::Key_Tab:
      return KeyAscii::Tab;
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
  return (modifiers.testFlag(Qt::ShiftModifier) ? ShiftState::Shift : 0) |
         (modifiers.testFlag(Qt::ControlModifier) ? ShiftState::Control : 0) |
         (modifiers.testFlag(Qt::AltModifier) ? ShiftState::Alt : 0);
}

int MouseButtonsOf(Qt::MouseButtons buttons) {
  return (buttons.testFlag(Qt::LeftButton) ? 1 : 0) | (buttons.testFlag(Qt::RightButton) ? 2 : 0) |
         (buttons.testFlag(Qt::MiddleButton) ? 4 : 0);
}

}  // namespace xel
