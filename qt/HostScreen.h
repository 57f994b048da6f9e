#pragma once

#include <QMessageBox>
#include <string>

class QWidget;

namespace xel {

// How a message code shows: its icon, its buttons and the button Enter presses. The code adds up
// the buttons (0 OK, 1 OK and Cancel, 2 Abort Retry Ignore, 3 Yes No Cancel, 4 Yes No, 5 Retry
// Cancel), the icon (16 critical, 32 question, 48 exclamation, 64 information) and the default
// button (0 the first, 256 the second, 512 the third).
struct MessageBoxKind {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
  bool operator==(const MessageBoxKind&) const = default;
};
MessageBoxKind MessageBoxKindFor(long code);

// The answer a message returns for the button pressed: 1 OK, 2 Cancel, 3 Abort, 4 Retry,
// 5 Ignore, 6 Yes, 7 No.
long AnswerFor(QMessageBox::StandardButton pressed);

// The host's message box: shows the prompt under the title, as the code says, over the window
// given, and returns the answer. Closing the box answers as its Cancel (or its only) button.
long ShowMensaje(QWidget* owner, const std::string& prompt, long code, const std::string& title);

// Where no one can answer a message (a picture drawn without a display): the message is written to
// the error stream with its identifier, escaped, and answered with its default button.
long AnswerUnattended(const std::string& prompt, long code, const std::string& title,
                      const std::string& errorId);

// The host's keystrokes: each TAB in the keys moves the focus on, as the TAB key would, once the
// event that sent them is over.
void SendKeysToFocus(const std::string& keys);

}  // namespace xel
