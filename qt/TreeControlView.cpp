#include "qt/TreeControlView.h"

#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>

#include "qt/Appearance.h"
#include "qt/FormWindow.h"
#include "qt/KeyCodes.h"

namespace xel {

namespace {
// What a drag of a node carries: the node's identity. Only this tree's own drags are taken.
const char* const kNodeFormat = "application/x-xel02-node";
// How near the top or bottom edge a drag scrolls the tree, in pixels.
constexpr int kScrollMargin = 16;
// The state a drag-over reports: the pointer came in, went out, or moved inside.
constexpr int kDragEnter = 0;
constexpr int kDragLeave = 1;
constexpr int kDragOver = 2;
}  // namespace

NodeTreeWidget::NodeTreeWidget(TreeView& tree, FormWindow& window, QWidget* parent)
    : QTreeView(parent), tree_(tree), window_(window), items_(new TreeItemModel(tree, this)) {
  setModel(items_);
  setHeaderHidden(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setDragDropMode(QAbstractItemView::NoDragDrop);
  viewport()->setAcceptDrops(true);
  setMouseTracking(true);

  items_->onExpandedChanged = [this](const QModelIndex& at, bool expanded) {
    FollowExpanded(at, expanded);
  };
  items_->onSelectionChanged = [this] { FollowSelection(); };
  items_->onEnsureVisible = [this](const QModelIndex& at) { scrollTo(at); };
  connect(this, &QTreeView::expanded, this,
          [this](const QModelIndex& at) { UserExpanded(at, true); });
  connect(this, &QTreeView::collapsed, this,
          [this](const QModelIndex& at) { UserExpanded(at, false); });
  // Qt moves the current row off a removed one by itself; the control's selection says otherwise.
  connect(items_, &QAbstractItemModel::rowsRemoved, this, [this] { FollowSelection(); });
  connect(items_, &QAbstractItemModel::modelReset, this, [this] { FollowSelection(); });
  tree.SetHitTester([widget = QPointer<NodeTreeWidget>(this)](float x, float y) {
    return widget ? widget->NodeAtTwips(x, y) : Node();
  });

  for (long i = 1; i <= tree.Nodes().Count(); ++i) {
    Node node = tree.Nodes().Item(i);
    if (node.Expanded()) {
      FollowExpanded(items_->IndexOf(node), true);
    }
  }
  FollowSelection();
}

void NodeTreeWidget::Release() {
  tree_.SetHitTester(nullptr);
  items_->Release();
}

void NodeTreeWidget::Act(const std::function<void()>& action) const {
  window_.Act(action);
}

QPointF NodeTreeWidget::ToTwips(const QPointF& viewportPoint) const {
  return (viewportPoint + QPointF(viewport()->pos())) * kTwipsPerPixel;
}

Node NodeTreeWidget::NodeAtTwips(float x, float y) const {
  QPoint at = QPoint(TwipsToPixels(x), TwipsToPixels(y)) - viewport()->pos();
  if (!viewport()->rect().contains(at)) {
    return Node();
  }
  return items_->NodeAt(indexAt(at));
}

void NodeTreeWidget::FollowSelection() {
  QModelIndex selected = items_->IndexOf(tree_.SelectedItem());
  if (selected == currentIndex() && selectionModel()->isSelected(selected) == selected.isValid()) {
    return;
  }
  followingControl_ = true;
  if (selected.isValid()) {
    selectionModel()->setCurrentIndex(selected, QItemSelectionModel::ClearAndSelect);
  } else {
    selectionModel()->clear();
  }
  followingControl_ = false;
}

void NodeTreeWidget::FollowExpanded(const QModelIndex& index, bool expanded) {
  followingControl_ = true;
  setExpanded(index, expanded);
  followingControl_ = false;
}

void NodeTreeWidget::UserExpanded(const QModelIndex& index, bool expanded) {
  Node node = items_->NodeAt(index);
  if (!followingControl_ && node) {
    Act([&] { tree_.UserSetExpanded(node, expanded); });
  }
}

// The control's own keyboard selection raises NodeClick; moves of the current row caused by
// changes of the tree do not.
void NodeTreeWidget::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTreeView::currentChanged(current, previous);
  Node node = items_->NodeAt(current);
  if (userKeys_ && !followingControl_ && node) {
    Act([&] { tree_.UserClick(node); });
  }
}

// A click selects the node and raises NodeClick, then MouseDown, whose handler reads the node just
// selected.
void NodeTreeWidget::mousePressEvent(QMouseEvent* event) {
  QModelIndex at = indexAt(event->position().toPoint());
  Node node = items_->NodeAt(at);
  QTreeView::mousePressEvent(event);
  if (!window_.Attached()) {
    return;
  }
  pressed_ = event->button() == Qt::LeftButton ? node : Node();
  pressedAt_ = event->position().toPoint();
  if (node && currentIndex() == at) {
    Act([&] { tree_.UserClick(node); });
  }
  QPointF twips = ToTwips(event->position());
  Act([&] {
    tree_.UserMouseDown(MouseButtonsOf(event->button()), ShiftStateOf(event->modifiers()),
                        static_cast<float>(twips.x()), static_cast<float>(twips.y()));
  });
}

// Moving with the left button held on a node beyond the drag distance starts a drag of it; the
// selection does not follow a held button as it would in a plain list.
void NodeTreeWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!window_.Attached()) {
    QTreeView::mouseMoveEvent(event);
    return;
  }
  bool leftHeld = event->buttons().testFlag(Qt::LeftButton);
  if (pressed_ && leftHeld &&
      (event->position().toPoint() - pressedAt_).manhattanLength() >=
          QApplication::startDragDistance()) {
    Node node = pressed_;
    pressed_ = Node();
    StartDrag(node);
    return;
  }
  QPointF twips = ToTwips(event->position());
  Act([&] {
    tree_.UserMouseMove(MouseButtonsOf(event->buttons()), ShiftStateOf(event->modifiers()),
                        static_cast<float>(twips.x()), static_cast<float>(twips.y()));
  });
  if (event->buttons() == Qt::NoButton) {
    QTreeView::mouseMoveEvent(event);
  }
}

void NodeTreeWidget::mouseReleaseEvent(QMouseEvent* event) {
  pressed_ = Node();
  QTreeView::mouseReleaseEvent(event);
}

// The window's handlers decide what a drag means: the drag runs whatever they made of its start.
void NodeTreeWidget::StartDrag(const Node& node) {
  Act([&] { tree_.UserStartDrag(node); });
  if (!window_.Attached() || !node.Exists()) {
    return;
  }
  auto* data = new QMimeData;
  data->setData(kNodeFormat, QByteArray::number(static_cast<qulonglong>(node.Id())));
  auto* drag = new QDrag(this);
  drag->setMimeData(data);
  QIcon icon = items_->data(items_->IndexOf(node), Qt::DecorationRole).value<QIcon>();
  if (!icon.isNull()) {
    drag->setPixmap(icon.pixmap(16, 16));
  }
  drag->exec(Qt::MoveAction);
}

void NodeTreeWidget::keyPressEvent(QKeyEvent* event) {
  if (!window_.Attached()) {
    QTreeView::keyPressEvent(event);
    return;
  }
  int shift = ShiftStateOf(event->modifiers());
  if (int code = KeyCodeOf(event->key())) {
    Act([&] { tree_.UserKeyDown(code, shift); });
  }
  if (int character = CharacterCodeOf(*event)) {
    int left = character;
    Act([&] { left = tree_.UserKeyPress(character); });
    if (left == 0) {
      event->accept();
      return;
    }
  }
  userKeys_ = true;
  QTreeView::keyPressEvent(event);
  userKeys_ = false;
}

void NodeTreeWidget::keyReleaseEvent(QKeyEvent* event) {
  int code = KeyCodeOf(event->key());
  if (window_.Attached() && !event->isAutoRepeat() && code != 0) {
    int shift = ShiftStateOf(event->modifiers());
    Act([&] { tree_.UserKeyUp(code, shift); });
  }
  QTreeView::keyReleaseEvent(event);
}

void NodeTreeWidget::dragEnterEvent(QDragEnterEvent* event) {
  if (!window_.Attached() || !event->mimeData()->hasFormat(kNodeFormat)) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  QPointF twips = ToTwips(event->position());
  Act([&] {
    tree_.UserDragOver(static_cast<float>(twips.x()), static_cast<float>(twips.y()), kDragEnter);
  });
}

void NodeTreeWidget::dragMoveEvent(QDragMoveEvent* event) {
  if (!window_.Attached() || !event->mimeData()->hasFormat(kNodeFormat)) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  int y = event->position().toPoint().y();
  if (y < kScrollMargin) {
    verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  } else if (y > viewport()->height() - kScrollMargin) {
    verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  }
  QPointF twips = ToTwips(event->position());
  Act([&] {
    tree_.UserDragOver(static_cast<float>(twips.x()), static_cast<float>(twips.y()), kDragOver);
  });
}

// Leaving, the pointer is over no node of the tree.
void NodeTreeWidget::dragLeaveEvent(QDragLeaveEvent* event) {
  event->accept();
  QPointF twips = ToTwips(viewport()->mapFromGlobal(QCursor::pos()));
  Act([&] {
    tree_.UserDragOver(static_cast<float>(twips.x()), static_cast<float>(twips.y()), kDragLeave);
  });
}

// The drop runs once the drag is over, so that whatever it asks the user is not asked inside the
// drag.
void NodeTreeWidget::dropEvent(QDropEvent* event) {
  if (!window_.Attached() || !event->mimeData()->hasFormat(kNodeFormat)) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  QPointF twips = ToTwips(event->position());
  QMetaObject::invokeMethod(
      this,
      [this, twips] {
        Act([&] { tree_.UserDrop(static_cast<float>(twips.x()), static_cast<float>(twips.y())); });
      },
      Qt::QueuedConnection);
}

TreeControlView::TreeControlView(TreeView& tree, FormWindow& window, QWidget* parent)
    : ControlView(tree, window), tree_(tree), widget_(new NodeTreeWidget(tree, window, parent)) {}

void TreeControlView::Release() {
  ControlView::Release();
  widget_->Release();
}

void TreeControlView::MirrorOwn() {
  widget_->setFont(ToQFont(tree_.GetFont()));
  widget_->viewport()->update();
}

}  // namespace xel
