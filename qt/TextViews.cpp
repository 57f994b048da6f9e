#include "qt/TextViews.h"

#include <QKeyEvent>
#include <functional>
#include <utility>

#include "qt/Appearance.h"
#include "qt/FormWindow.h"
#include "qt/KeyCodes.h"

namespace xel {

namespace {

// Hands every key pressed in a widget to the control first, as its KeyDown; a key the control
// takes goes no further.
class KeyDownFilter : public QObject {
 public:
  using Takes = std::function<bool(int keyCode, int shift)>;
  KeyDownFilter(QWidget* widget, Takes takes) : QObject(widget), takes_(std::move(takes)) {
    widget->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) {
      return QObject::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    int code = KeyCodeOf(key->key());
    return code != 0 && takes_(code, ShiftStateOf(key->modifiers()));
  }

 private:
  Takes takes_;
};

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

// The colours of a text widget: background and text, in every state, since the control itself
// decides which of its colours shows.
void Paint(QWidget& widget, const QColor& back, const QColor& text) {
  QPalette palette = widget.palette();
  if (back.isValid()) {
    palette.setColor(QPalette::All, QPalette::Base, back);
  }
  if (text.isValid()) {
    palette.setColor(QPalette::All, QPalette::Text, text);
  }
  widget.setPalette(palette);
}

}  // namespace

TextBoxZulView::TextBoxZulView(TextBoxZul& box, FormWindow& window, QWidget* parent)
    : ControlView(box, window), box_(box), edit_(new QLineEdit(parent)) {
  QObject::connect(edit_, &QLineEdit::textEdited, edit_,
                   [this](const QString& text) { UserEdited(text); });
  QObject::connect(edit_, &QLineEdit::returnPressed, edit_,
                   [this] { Act([this] { box_.PressEnter(); }); });
}

void TextBoxZulView::UserEdited(const QString& text) {
  Act([&] { box_.UserEdit(text.toStdString()); });
  // A refused edit leaves the box's text unchanged, so no change comes to put it back.
  ShowText();
}

void TextBoxZulView::ShowText() {
  QString text = ToQString(box_.Text());
  if (edit_->text() != text) {
    int cursor = std::min(edit_->cursorPosition(), static_cast<int>(text.size()));
    edit_->setText(text);
    edit_->setCursorPosition(cursor);
  }
}

void TextBoxZulView::MirrorOwn() {
  ShowText();
  edit_->setReadOnly(box_.Locked());
  edit_->setInputMethodHints(box_.InputKind() == TextEntry::Numeric ? Qt::ImhFormattedNumbersOnly
                                                                    : Qt::ImhNone);
  edit_->setFont(ToQFont(box_.GetFont()));
  // A box disabled itself or through its frame takes the disabled colour from the palette's
  // disabled group.
  QPalette palette = edit_->palette();
  QColor usable = ToQColor(box_.HasFocus() ? box_.FocusColor() : box_.EnabledColor());
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::Base, usable);
    palette.setColor(group, QPalette::Text, Qt::black);
  }
  palette.setColor(QPalette::Disabled, QPalette::Base, ToQColor(box_.DisabledColor()));
  edit_->setPalette(palette);
}

void TextBoxZulView::MirrorSelection() {
  if (box_.WholeTextSelected()) {
    ShowText();
    edit_->selectAll();
  }
}

TextBoxView::TextBoxView(TextBox& box, FormWindow& window, QWidget* parent)
    : ControlView(box, window), box_(box) {
  if (box.MultiLine()) {
    lines_ = new QPlainTextEdit(parent);
    QObject::connect(lines_, &QPlainTextEdit::textChanged, lines_, [this] {
      if (Shown() != ToQString(box_.Text())) {
        UserEdited();
      }
    });
    widget_ = lines_;
  } else {
    line_ = new QLineEdit(parent);
    QObject::connect(line_, &QLineEdit::textEdited, line_, [this] { UserEdited(); });
    widget_ = line_;
  }
  new KeyDownFilter(widget_, [this](int keyCode, int shift) {
    int left = keyCode;
    Act([&] { left = box_.UserKeyDown(keyCode, shift); });
    return left == 0;
  });
}

QString TextBoxView::Shown() const {
  return line_ ? line_->text() : lines_->toPlainText();
}

// Shows the box's text, the cursor staying where it was as far as the text allows.
void TextBoxView::Show(const QString& text) {
  int at = static_cast<int>(text.size());
  if (line_) {
    at = std::min(at, line_->cursorPosition());
    line_->setText(text);
    line_->setCursorPosition(at);
    return;
  }
  at = std::min(at, lines_->textCursor().position());
  lines_->setPlainText(text);
  QTextCursor cursor = lines_->textCursor();
  cursor.setPosition(at);
  lines_->setTextCursor(cursor);
}

void TextBoxView::UserEdited() {
  std::string edited = Shown().toStdString();
  Act([&] { box_.UserEdit(edited); });
  MirrorOwn();
}

void TextBoxView::MirrorSelection() {
  if (!box_.WholeTextSelected()) {
    return;
  }
  MirrorOwn();
  if (line_) {
    line_->selectAll();
  } else {
    lines_->selectAll();
  }
}

void TextBoxView::MirrorOwn() {
  QString text = ToQString(box_.Text());
  if (Shown() != text) {
    Show(text);
  }
  Paint(*widget_, ToQColor(box_.BackColor()), ToQColor(box_.ForeColor()));
}

}  // namespace xel
