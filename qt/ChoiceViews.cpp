#include "qt/ChoiceViews.h"

#include <QKeyEvent>
#include <QSignalBlocker>

#include "qt/Appearance.h"
#include "qt/FormWindow.h"
#include "qt/KeyCodes.h"

namespace xel {

namespace {

// Hands the character keys typed on a widget to its control's KeyPress; a key the control's
// handler consumes (sets to 0) does not reach the widget.
class KeyPressRelay : public QObject {
 public:
  using Press = std::function<int(int)>;  // the character code in, what is left of it out
  KeyPressRelay(QWidget* widget, Press press) : QObject(widget), press_(std::move(press)) {
    widget->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) {
      return false;
    }
    int code = CharacterCodeOf(*static_cast<QKeyEvent*>(event));
    return code != 0 && press_(code) == 0;
  }

 private:
  Press press_;
};

QStringList ItemsOf(const ComboZul& combo) {
  QStringList items;
  for (const std::string& item : combo.Items()) {
    items << QString::fromStdString(item);
  }
  return items;
}

QStringList ItemsOf(const QComboBox& box) {
  QStringList items;
  for (int i = 0; i < box.count(); ++i) {
    items << box.itemText(i);
  }
  return items;
}

}  // namespace

ComboZulView::ComboZulView(ComboZul& combo, FormWindow& window, QWidget* parent)
    : ControlView(combo, window), combo_(combo), box_(new QComboBox(parent)) {
  box_->setEditable(false);
  QObject::connect(box_, &QComboBox::activated, box_, [this](int index) {
    Act([&] { combo_.UserSelect(index); });
    MirrorOwn();  // an entry the combo refused is unpicked again
  });
  new KeyPressRelay(box_, [this](int code) {
    Act([&] { combo_.PressKey(code); });
    return code;
  });
}

void ComboZulView::MirrorOwn() {
  QSignalBlocker quiet(box_);
  QStringList items = ItemsOf(combo_);
  if (ItemsOf(*box_) != items) {
    box_->clear();
    box_->addItems(items);
  }
  box_->setCurrentIndex(combo_.ListIndex());
  box_->setFont(ToQFont(combo_.GetFont()));
  QPalette palette = box_->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::Base, ToQColor(combo_.EnabledColor()));
    palette.setColor(group, QPalette::Button, ToQColor(combo_.EnabledColor()));
  }
  box_->setPalette(palette);
}

OptionButtonView::OptionButtonView(OptionButton& option, FormWindow& window, QWidget* parent)
    : ControlView(option, window), option_(option), button_(new QRadioButton(parent)) {
  button_->setAutoExclusive(false);
  QObject::connect(button_, &QRadioButton::clicked, button_, [this] {
    Act([this] { option_.UserClick(); });
    MirrorOwn();  // Qt toggled the button itself; it shows the control's value
  });
  new KeyPressRelay(button_, [this](int code) {
    Act([&] { option_.PressKey(code); });
    return code;
  });
}

void OptionButtonView::MirrorOwn() {
  button_->setChecked(option_.Value());
  button_->setText(QString::fromStdString(option_.Caption()));
  SetAccessibleCaption(option_.Caption());
  button_->setFont(ToQFont(option_.GetFont()));
  button_->setBackgroundRole(QPalette::Window);
  button_->setAutoFillBackground(true);
  QPalette palette = button_->palette();
  palette.setColor(QPalette::Window, ToQColor(option_.BackColor()));
  button_->setPalette(palette);
}

}  // namespace xel
