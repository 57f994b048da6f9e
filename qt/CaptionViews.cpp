#include "qt/CaptionViews.h"

#include <QChildEvent>
#include <QPainter>
#include <algorithm>

#include "qt/Appearance.h"
#include "qt/FormWindow.h"

namespace xel {

namespace {

QString ToQString(const std::string& text) {
  return QString::fromStdString(text);
}

Qt::Alignment AlignmentOf(int alignment) {
  switch (alignment) {
    case LabelAlignment::Right:
      return Qt::AlignRight | Qt::AlignVCenter;
    case LabelAlignment::Center:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
      return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

// Back and fore colour of a widget that fills its own background; a colour the screen does not
// know leaves the palette's.
void Colour(QWidget& widget, const QColor& back, const QColor& fore) {
  QPalette palette = widget.palette();
  if (back.isValid()) {
    palette.setColor(QPalette::Window, back);
  }
  if (fore.isValid()) {
    palette.setColor(QPalette::WindowText, fore);
  }
  widget.setAutoFillBackground(true);
  widget.setPalette(palette);
}

}  // namespace

// The frame's box: an edge with the caption set into its top line. A caption that the frame's
// own controls would cover is left out rather than shown cut. The edge is drawn over the controls,
// so that none breaks it, and they are kept inside it.
class FrameBox : public QWidget {
 public:
  explicit FrameBox(QWidget* parent) : QWidget(parent) {
    setContentsMargins(1, 1, 1, 1);
    edge_ = new Edge(*this);
  }

  void SetCaption(const QString& caption) {
    if (caption_ != caption) {
      caption_ = caption;
      update();
      edge_->update();
    }
  }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    if (!CaptionShown()) {
      return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(CaptionArea(), Qt::AlignCenter, caption_);
  }
  void resizeEvent(QResizeEvent* /*event*/) override { edge_->setGeometry(rect()); }
  void childEvent(QChildEvent* event) override {
    QWidget::childEvent(event);
    if (event->added() && edge_) {
      edge_->raise();
    }
  }

 private:
  class Edge : public QWidget {
   public:
    explicit Edge(FrameBox& box) : QWidget(&box), box_(box) {
      setAttribute(Qt::WA_TransparentForMouseEvents);
    }

   protected:
    void paintEvent(QPaintEvent* /*event*/) override {
      QPainter painter(this);
      painter.setPen(palette().color(QPalette::Mid));
      bool captioned = box_.CaptionShown();
      QRect caption = box_.CaptionArea();
      double top = (captioned ? caption.height() / 2 : 0) + 0.5;
      double right = width() - 0.5;
      double bottom = height() - 0.5;
      painter.drawLine(QPointF(0.5, top), QPointF(0.5, bottom));
      painter.drawLine(QPointF(0.5, bottom), QPointF(right, bottom));
      painter.drawLine(QPointF(right, bottom), QPointF(right, top));
      painter.drawLine(QPointF(right, top), QPointF(captioned ? caption.right() : 0.5, top));
      if (captioned) {
        painter.drawLine(QPointF(caption.left(), top), QPointF(0.5, top));
      }
    }

   private:
    FrameBox& box_;
  };

  QRect CaptionArea() const {
    QFontMetrics metrics(font());
    return {6, 0, metrics.horizontalAdvance(caption_) + 6, metrics.height()};
  }

  bool CaptionShown() const {
    if (caption_.isEmpty()) {
      return false;
    }
    QRect area = CaptionArea();
    const auto children = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    return std::none_of(children.begin(), children.end(), [&](const QWidget* child) {
      return child != edge_ && child->isVisible() && child->geometry().intersects(area);
    });
  }

  QString caption_;
  Edge* edge_ = nullptr;
};

namespace {

// An emphasised button takes its focus colour as its face, with dark bold text.
QString ButtonStyle(const FlatButton& button) {
  const bool emphasized = button.Emphasized();
  QColor back = ToQColor(emphasized ? button.FocusColor() : button.BackColor());
  QColor fore = emphasized ? QColor(Qt::black) : ToQColor(button.ForeColor());
  return QString(
             "QPushButton { background-color: %1; color: %2; border: 1px solid %3; padding: 2px; "
             "font-weight: %9; }"
             "QPushButton:hover { background-color: %4; }"
             "QPushButton:pressed { background-color: %5; }"
             "QPushButton:focus { border: 2px solid %6; }"
             "QPushButton:disabled { background-color: %7; color: %8; }")
      .arg(back.name(), fore.name(), ToQColor(button.BorderColor()).name(),
           back.lighter(125).name(), back.darker(130).name(), ToQColor(button.FocusColor()).name(),
           QColor(0xA8, 0xA8, 0xA8).name(), QColor(0xEE, 0xEE, 0xEE).name(),
           emphasized ? "bold" : "normal");
}

}  // namespace

LabelZulView::LabelZulView(LabelZul& label, FormWindow& window, QWidget* parent)
    : ControlView(label, window), label_(label), text_(new QLabel(parent)) {
  text_->setTextFormat(Qt::PlainText);  // a caption may come from the store
}

void LabelZulView::MirrorOwn() {
  text_->setText(ToQString(label_.Caption()));
  SetAccessibleCaption(label_.Caption());
  text_->setAlignment(AlignmentOf(label_.Alignment()));
  text_->setFont(ToQFont(label_.GetFont()));
  Colour(*text_, ToQColor(label_.BackColor()), ToQColor(label_.ForeColor()));
}

FlatButtonView::FlatButtonView(FlatButton& button, FormWindow& window, QWidget* parent)
    : ControlView(button, window), button_(button), face_(new QPushButton(parent)) {
  face_->setAutoDefault(false);
  face_->setFocusPolicy(Qt::StrongFocus);
  QObject::connect(face_, &QPushButton::clicked, face_,
                   [this] { Act([this] { button_.PerformClick(); }); });
}

void FlatButtonView::MirrorOwn() {
  face_->setText(ToQString(button_.Caption()));
  SetAccessibleCaption(button_.Caption());
  face_->setFont(ToQFont(button_.GetFont()));
  QString style = ButtonStyle(button_);
  if (face_->styleSheet() != style) {
    face_->setStyleSheet(style);
  }
}

FrameView::FrameView(Frame& frame, FormWindow& window, QWidget* parent)
    : ControlView(frame, window), frame_(frame), box_(new FrameBox(parent)) {}

QWidget* FrameView::Widget() const {
  return box_;
}

QWidget* FrameView::ContentsWidget() const {
  return box_;
}

void FrameView::MirrorOwn() {
  box_->SetCaption(ToQString(frame_.Caption()));
  SetAccessibleCaption(frame_.Caption());
  box_->setFont(ToQFont(frame_.GetFont()));
  Colour(*box_, ToQColor(frame_.BackColor()), ToQColor(frame_.ForeColor()));
}

}  // namespace xel
