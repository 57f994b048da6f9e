#include "qt/ToolbarView.h"

#include <QEvent>
#include <QHBoxLayout>
#include <functional>
#include <utility>

#include "qt/Appearance.h"
#include "qt/FormWindow.h"
#include "qt/Pictures.h"

namespace xel {

namespace {
constexpr int kTitlePointSize = 14;
constexpr int kIconSize = 24;

// Runs an action each time a widget gets a new size.
class ResizeFollower : public QObject {
 public:
  ResizeFollower(QWidget* watched, std::function<void()> action)
      : QObject(watched), action_(std::move(action)) {
    watched->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize) {
      action_();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> action_;
};
}  // namespace

ToolbarView::ToolbarView(ToolbarZul& bar, FormWindow& window, QWidget* parent)
    : ControlView(bar, window), bar_(bar), strip_(new QWidget(parent)), title_(new QLabel(strip_)) {
  auto* layout = new QHBoxLayout(strip_);
  layout->setContentsMargins(12, 2, 8, 2);
  layout->setSpacing(2);
  QFont titleFont = strip_->font();
  titleFont.setPointSize(kTitlePointSize);
  titleFont.setBold(true);
  title_->setFont(titleFont);
  title_->setObjectName("titulo");
  title_->setTextFormat(Qt::PlainText);
  layout->addWidget(title_, 1);
  AddCommand(ToolbarZul::Command::Add, "Agregar", "Insert");
  AddCommand(ToolbarZul::Command::Edit, "Modificar", "F2");
  AddCommand(ToolbarZul::Command::Delete, "Eliminar", "Supr");
  AddCommand(ToolbarZul::Command::Exit, "Salir", "");
  // The strip follows its window's width as the window is resized.
  new ResizeFollower(parent, [this] { MirrorBounds(); });
}

void ToolbarView::AddCommand(ToolbarZul::Command command, const QString& text, const QString& key) {
  auto* button = new QToolButton(strip_);
  button->setText(text);
  button->setAccessibleName(text);
  button->setIcon(CommandIcon(command));
  button->setIconSize(QSize(kIconSize, kIconSize));
  button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setToolTip(key.isEmpty() ? text : text + " (" + key + ")");
  strip_->layout()->addWidget(button);
  QObject::connect(button, &QToolButton::clicked, button, [this, command] { Press(command); });
  commands_.push_back({command, button});
}

QRect ToolbarView::PlaceFor(const QRect& designed) const {
  const QWidget* window = strip_->parentWidget();
  return window ? QRect(designed.left(), designed.top(), window->width() - designed.left(),
                        designed.height())
                : designed;
}

QToolButton* ToolbarView::ButtonOf(ToolbarZul::Command command) const {
  for (const CommandButton& entry : commands_) {
    if (entry.command == command) {
      return entry.button;
    }
  }
  return nullptr;
}

bool ToolbarView::Available(ToolbarZul::Command command) const {
  switch (command) {
    case ToolbarZul::Command::Add:
      return bar_.AddAvailable();
    case ToolbarZul::Command::Edit:
      return bar_.EditAvailable();
    case ToolbarZul::Command::Delete:
      return bar_.DeleteAvailable();
    case ToolbarZul::Command::Exit:
      return bar_.ShowExitButton();
    case ToolbarZul::Command::None:
      break;
  }
  return false;
}

void ToolbarView::Press(ToolbarZul::Command command) {
  Act([this, command] {
    switch (command) {
      case ToolbarZul::Command::Add:
        bar_.ClickAdd();
        break;
      case ToolbarZul::Command::Edit:
        bar_.ClickEdit();
        break;
      case ToolbarZul::Command::Delete:
        bar_.ClickDelete();
        break;
      case ToolbarZul::Command::Exit:
        bar_.ClickExit();
        break;
      case ToolbarZul::Command::None:
        break;
    }
  });
}

void ToolbarView::MirrorOwn() {
  title_->setText(QString::fromStdString(bar_.Caption()));
  SetAccessibleCaption(bar_.Caption());
  for (const CommandButton& entry : commands_) {
    bool available = Available(entry.command);
    entry.button->setEnabled(available);
    entry.button->setDown(bar_.PressedCommand() == entry.command);
  }
  ButtonOf(ToolbarZul::Command::Exit)->setVisible(bar_.ShowExitButton());
}

void ToolbarView::ApplyScheme(const ColorSchemeValues& scheme) {
  QPalette palette = strip_->palette();
  palette.setColor(QPalette::Window, ToQColor(scheme.menuBackColor));
  palette.setColor(QPalette::WindowText, ToQColor(scheme.calendarForeColor));
  strip_->setAutoFillBackground(true);
  strip_->setPalette(palette);
  strip_->setStyleSheet(QString("QToolButton:hover { background-color: %1; border-radius: 3px; }"
                                "QToolButton:pressed { background-color: %2; border-radius: 3px; }")
                            .arg(ToQColor(scheme.menuSelBackColor).name(),
                                 ToQColor(scheme.menuFontBackColor).name()));
}

}  // namespace xel
