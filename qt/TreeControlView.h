#pragma once

#include <QPoint>
#include <QTreeView>

#include "platform/forms/TreeView.h"
#include "qt/ControlView.h"
#include "qt/TreeItemModel.h"

namespace xel {

// The tree control's widget: a tree view over the control's nodes. Clicks, keys, check boxes,
// expanding and collapsing, and drags reach the control through its User... members, which raise
// its events; selection, expansion, check marks, images and the drop highlight follow the control.
class NodeTreeWidget : public QTreeView {
 public:
  NodeTreeWidget(TreeView& tree, FormWindow& window, QWidget* parent);

  TreeItemModel& Items() const { return *items_; }
  // The node shown at a point of the control given in twips, or nothing: the geometry the
  // control's HitTest uses once the tree is on the screen.
  Node NodeAtTwips(float x, float y) const;
  // Stops following the control.
  void Release();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

 private:
  void Act(const std::function<void()>& action) const;
  // A point of the viewport as the control's events give it: twips from the control's corner.
  QPointF ToTwips(const QPointF& viewportPoint) const;
  void FollowSelection();
  void FollowExpanded(const QModelIndex& index, bool expanded);
  void UserExpanded(const QModelIndex& index, bool expanded);
  void StartDrag(const Node& node);

  TreeView& tree_;
  FormWindow& window_;
  TreeItemModel* items_;
  bool followingControl_ = false;  // the view is being brought in line with the control
  bool userKeys_ = false;          // the current item moves because of the user's keys
  Node pressed_;                   // the node the left button went down on
  QPoint pressedAt_;
};

// The tree control on a form.
class TreeControlView : public ControlView {
 public:
  TreeControlView(TreeView& tree, FormWindow& window, QWidget* parent);
  QWidget* Widget() const override { return widget_; }
  void Release() override;

 protected:
  void MirrorOwn() override;

 private:
  TreeView& tree_;
  NodeTreeWidget* widget_;
};

}  // namespace xel
