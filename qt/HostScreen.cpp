#include "qt/HostScreen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>
#include <array>
#include <iostream>

#include <utility>
#include "platform/text/VisibleText.h"

namespace xel {

namespace {

constexpr long kButtonsMask = 0x0F;
constexpr long kIconMask = 0x70;
constexpr long kDefaultMask = 0x300;

using Buttons = std::array<QMessageBox::StandardButton, 3>;

// The buttons of each button code, in the order they show; NoButton fills the row.
Buttons ButtonsOf(long code) {
  switch (code & kButtonsMask) {
    case 1:
      return {QMessageBox::Ok, QMessageBox::Cancel, QMessageBox::NoButton};
    case 2:
      return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
    case 3:
      return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case 4:
      return {QMessageBox::Yes, QMessageBox::No, QMessageBox::NoButton};
    case 5:
      return {QMessageBox::Retry, QMessageBox::Cancel, QMessageBox::NoButton};
    default:
      return {QMessageBox::Ok, QMessageBox::NoButton, QMessageBox::NoButton};
  }
}

QMessageBox::Icon IconOf(long code) {
  switch (code & kIconMask) {
    case 16:
      return QMessageBox::Critical;
    case 32:
      return QMessageBox::Question;
    case 48:
      return QMessageBox::Warning;
    case 64:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

// The buttons speak the language of the messages, whatever translations Qt finds.
void NameButtonsInSpanish(QMessageBox& box) {
  static const std::array<std::pair<QMessageBox::StandardButton, const char*>, 7> kNames{{
      {QMessageBox::Ok, "Aceptar"},
      {QMessageBox::Cancel, "Cancelar"},
      {QMessageBox::Yes, "Sí"},
      {QMessageBox::No, "No"},
      {QMessageBox::Abort, "Anular"},
      {QMessageBox::Retry, "Reintentar"},
      {QMessageBox::Ignore, "Omitir"},
  }};
  for (const auto& [button, name] : kNames) {
    if (QAbstractButton* shown = box.button(button)) {
      shown->setText(QString::fromUtf8(name));
    }
  }
}

}  // namespace

MessageBoxKind MessageBoxKindFor(long code) {
  Buttons row = ButtonsOf(code);
  MessageBoxKind kind;
  kind.icon = IconOf(code);
  kind.buttons = QMessageBox::NoButton;
  for (QMessageBox::StandardButton button : row) {
    kind.buttons |= button;
  }
  size_t wanted = static_cast<size_t>((code & kDefaultMask) >> 8);
  kind.defaultButton =
      wanted < row.size() && row[wanted] != QMessageBox::NoButton ? row[wanted] : row[0];
  return kind;
}

long AnswerFor(QMessageBox::StandardButton pressed) {
  switch (pressed) {
    case QMessageBox::Ok:
      return 1;
    case QMessageBox::Cancel:
      return 2;
    case QMessageBox::Abort:
      return 3;
    case QMessageBox::Retry:
      return 4;
    case QMessageBox::Ignore:
      return 5;
    case QMessageBox::Yes:
      return 6;
    case QMessageBox::No:
      return 7;
    default:
      return 2;
  }
}

long ShowMensaje(QWidget* owner, const std::string& prompt, long code, const std::string& title) {
  MessageBoxKind kind = MessageBoxKindFor(code);
  QMessageBox box(kind.icon, QString::fromStdString(title), QString::fromStdString(prompt),
                  kind.buttons, owner);
  box.setTextFormat(Qt::PlainText);  // texts from the store are shown, never interpreted
  NameButtonsInSpanish(box);
  box.setDefaultButton(kind.defaultButton);
  box.exec();
  auto pressed = static_cast<QMessageBox::StandardButton>(box.standardButton(box.clickedButton()));
  return AnswerFor(pressed);
}

long AnswerUnattended(const std::string& prompt, long code, const std::string& title,
                      const std::string& errorId) {
  static constexpr std::array<const char*, 8> kButtonNames{"",      "OK",     "Cancel", "Abort",
                                                           "Retry", "Ignore", "Yes",    "No"};
  long answer = AnswerFor(MessageBoxKindFor(code).defaultButton);
  std::cerr << "xel02: " << (errorId.empty() ? "" : errorId + " ") << VisibleText(title) << ": "
            << VisibleText(prompt) << " (answered " << kButtonNames.at(answer)
            << ", as no one is there to answer)\n";
  return answer;
}

// The keys arrive after the event that sent them, as typed keys would; each goes to the widget
// that has the focus by then.
void SendKeysToFocus(const std::string& keys) {
  auto tabs = std::count(keys.begin(), keys.end(), '\t');
  QMetaObject::invokeMethod(
      qApp,
      [tabs] {
        for (auto i = 0; i < tabs; ++i) {
          if (QWidget* focused = QApplication::focusWidget()) {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QApplication::sendEvent(focused, &tab);
          }
        }
      },
      Qt::QueuedConnection);
}

}  // namespace xel
