#include "qt/FormWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QShortcut>
#include <algorithm>

#include "platform/forms/StandardControls.h"
#include "platform/forms/TreeView.h"
#include "qt/Appearance.h"
#include "qt/CaptionViews.h"
#include "qt/ChoiceViews.h"
#include "qt/KeyCodes.h"
#include "qt/TextViews.h"
#include "qt/ToolbarView.h"
#include "qt/TreeControlView.h"

namespace xel {

namespace {

template <class Kind>
Kind* As(Control& control) {
  return dynamic_cast<Kind*>(&control);
}

// The window's title: the form's caption, or for a form without one the caption of its title
// strip.
QString TitleOf(const Form& form) {
  if (!form.Caption().empty()) {
    return QString::fromStdString(form.Caption());
  }
  for (Control* control : form.AllControls()) {
    if (auto* bar = dynamic_cast<ToolbarZul*>(control)) {
      return QString::fromStdString(bar->Caption());
    }
  }
  return {};
}

QSize PixelSizeOf(const Form& form) {
  return {TwipsToPixels(form.Width()), TwipsToPixels(form.Height())};
}

}  // namespace

FormWindow::FormWindow(Form& form) : form_(&form) {
  setObjectName(QString::fromStdString(form.Name()));
  Build(form, this);
  for (auto& view : views_) {
    view->MirrorAll();
  }
  ArrangeTabOrder();
  AddShortcuts();
  ApplyScheme();
  FollowForm();
  formConnection_ = form.StateChanged.Connect([this] { FollowForm(); });
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget* /*old*/, QWidget* now) { FollowFocus(now); });
}

FormWindow::~FormWindow() {
  // The widgets go before the views that feed them, and no focus change reaches a view meanwhile.
  disconnect(qApp, nullptr, this, nullptr);
  qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly));
}

void FormWindow::Build(const Container& container, QWidget* parent) {
  for (Control* control : container.Controls()) {
    if (auto* scheme = As<ColorScheme>(*control)) {
      scheme_ = scheme;
      schemeConnection_ = scheme->Changed.Connect([this](Property) { ApplyScheme(); });
      continue;
    }
    std::unique_ptr<ControlView> view = MakeView(*control, parent);
    if (!view) {
      continue;
    }
    QWidget* contents = view->ContentsWidget();
    views_.push_back(std::move(view));
    if (auto* inner = dynamic_cast<const Container*>(control); inner && contents) {
      Build(*inner, contents);
    }
  }
}

std::unique_ptr<ControlView> FormWindow::MakeView(Control& control, QWidget* parent) {
  if (auto* bar = As<ToolbarZul>(control)) {
    return std::make_unique<ToolbarView>(*bar, *this, parent);
  }
  if (auto* tree = As<TreeView>(control)) {
    return std::make_unique<TreeControlView>(*tree, *this, parent);
  }
  if (auto* frame = As<Frame>(control)) {
    return std::make_unique<FrameView>(*frame, *this, parent);
  }
  if (auto* label = As<LabelZul>(control)) {
    return std::make_unique<LabelZulView>(*label, *this, parent);
  }
  if (auto* box = As<TextBoxZul>(control)) {
    return std::make_unique<TextBoxZulView>(*box, *this, parent);
  }
  if (auto* box = As<TextBox>(control)) {
    return std::make_unique<TextBoxView>(*box, *this, parent);
  }
  if (auto* combo = As<ComboZul>(control)) {
    return std::make_unique<ComboZulView>(*combo, *this, parent);
  }
  if (auto* button = As<FlatButton>(control)) {
    return std::make_unique<FlatButtonView>(*button, *this, parent);
  }
  if (auto* option = As<OptionButton>(control)) {
    return std::make_unique<OptionButtonView>(*option, *this, parent);
  }
  return nullptr;
}

// The keyboard's TAB order is the controls' tab index order; controls that are no tab stop are
// reached by the mouse only.
void FormWindow::ArrangeTabOrder() {
  std::vector<ControlView*> stops;
  for (auto& view : views_) {
    if (view->ContentsWidget() || view->Widget()->focusPolicy() == Qt::NoFocus) {
      continue;
    }
    if (view->Model().TabStop()) {
      stops.push_back(view.get());
    } else {
      view->Widget()->setFocusPolicy(Qt::ClickFocus);
    }
  }
  std::stable_sort(stops.begin(), stops.end(), [](ControlView* a, ControlView* b) {
    return a->Model().TabIndex() < b->Model().TabIndex();
  });
  for (size_t i = 1; i < stops.size(); ++i) {
    setTabOrder(stops[i - 1]->Widget(), stops[i]->Widget());
  }
}

// The form's window keys reach it before the focused widget sees them, wherever the focus is.
void FormWindow::AddShortcuts() {
  for (const KeyChord& key : form_->WindowKeys()) {
    auto* shortcut = new QShortcut(KeySequenceOf(key.keyCode, key.shift), this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this,
            [this, key] { Act([this, key] { form_->UserWindowKey(key); }); });
  }
  escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape_, &QShortcut::activated, this, [this] { CancelOrClose(); });
}

FlatButton* FormWindow::UsableButtonCaptioned(const std::string& caption) const {
  for (const auto& view : views_) {
    auto* button = As<FlatButton>(view->Model());
    if (button && button->Caption() == caption && button->UsableByUser()) {
      return button;
    }
  }
  return nullptr;
}

// Escape leaves a modal form as its "Cancelar" button does, or as its control box would.
void FormWindow::CancelOrClose() {
  if (!form_->Modal()) {
    return;
  }
  if (FlatButton* cancel = UsableButtonCaptioned("Cancelar")) {
    Act([cancel] { cancel->PerformClick(); });
    return;
  }
  Act([this] { form_->RequestClose(); });
}

QWidget* FormWindow::WidgetOf(const std::string& controlName) const {
  for (const auto& view : views_) {
    if (view->Model().Name() == controlName) {
      return view->Widget();
    }
  }
  return nullptr;
}

ControlView* FormWindow::ViewOf(const Control& control) const {
  for (const auto& view : views_) {
    if (&view->Model() == &control) {
      return view.get();
    }
  }
  return nullptr;
}

void FormWindow::Release() {
  if (!attached_) {
    return;
  }
  attached_ = false;
  form_->StateChanged.Disconnect(formConnection_);
  if (scheme_) {
    scheme_->Changed.Disconnect(schemeConnection_);
  }
  for (auto& view : views_) {
    view->Release();
  }
}

void FormWindow::Abandon() {
  attached_ = false;
}

void FormWindow::Act(const std::function<void()>& action) {
  if (attached_) {
    form_->Runtime().Dispatch(action);
  }
}

void FormWindow::FollowForm() {
  const QString title = TitleOf(*form_);
  setWindowTitle(title + "[*]");
  setWindowModified(form_->Modified());
  setAccessibleName(title);
  escape_->setEnabled(form_->Modal());
  QSize size = PixelSizeOf(*form_);
  if (size.isEmpty() || size == this->size()) {
    return;
  }
  // A size the form gives itself while shown needs no telling back; the designed size still
  // reaches the form's Resize when the window first appears, as on any screen.
  if (isVisible()) {
    reportedSize_ = size;
  }
  resize(size);
}

// The form hears of every new size of the window but the ones it gave itself.
void FormWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (size() == reportedSize_) {
    return;
  }
  reportedSize_ = size();
  Act([this] { form_->Resize(PixelsToTwips(width()), PixelsToTwips(height())); });
}

// The user closes the window from its title bar: the form decides, and its unload closes it.
void FormWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  Act([this] { form_->RequestClose(); });
}

void FormWindow::FollowFocus(QWidget* now) {
  if (!attached_ || !now || now->window() != this) {
    return;
  }
  for (auto& view : views_) {
    QWidget* widget = view->Widget();
    if ((widget == now || widget->isAncestorOf(now)) && !view->ContentsWidget()) {
      Control& control = view->Model();
      Act([&control] { control.SetFocus(); });
      return;
    }
  }
}

void FormWindow::ApplyScheme() {
  if (!scheme_ || scheme_->TimesApplied() == 0) {
    return;
  }
  const ColorSchemeValues& values = scheme_->Values();
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, ToQColor(values.backColor));
  setAutoFillBackground(true);
  setPalette(palette);
  for (auto& view : views_) {
    view->ApplyScheme(values);
  }
}

}  // namespace xel
