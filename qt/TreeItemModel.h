#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <functional>
#include <map>

#include "platform/forms/TreeView.h"

namespace xel {

// The tree control's nodes as a Qt item model, read lazily: an index carries its node's identity,
// and rows are asked of the node store only for what a view shows, so a tree of any size opens at
// once. The node store's notifications become the model's row and data signals.
class TreeItemModel : public QAbstractItemModel, private TreeObserver {
 public:
  explicit TreeItemModel(TreeView& tree, QObject* parent = nullptr);
  TreeItemModel(const TreeItemModel&) = delete;
  TreeItemModel& operator=(const TreeItemModel&) = delete;

  // Stops following the tree; the control is left as if never shown. The model then shows nothing.
  void Release();

  Node NodeAt(const QModelIndex& index) const;
  QModelIndex IndexOf(const Node& node) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  // A check box the user toggles reaches the control as the user's check.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // What a view must follow beyond rows and data: a node expanded or collapsed by the program, a
  // change of the selected node, and a node to be brought into sight.
  std::function<void(const QModelIndex&, bool expanded)> onExpandedChanged;
  std::function<void()> onSelectionChanged;
  std::function<void(const QModelIndex&)> onEnsureVisible;

 private:
  void NodeAboutToBeAdded(const Node& parent, long row) override;
  void NodeAdded(const Node& node) override;
  void NodeAboutToBeRemoved(const Node& node) override;
  void NodeRemoved(const Node& parent, long row) override;
  void NodeAboutToBeMoved(const Node& node, const Node& newParent, long newRow) override;
  void NodeMoved(const Node& node) override;
  void NodeChanged(const Node& node, NodeField what) override;
  void NodeEnsureVisible(const Node& node) override;
  void AboutToBeCleared() override;
  void Cleared() override;

  QIcon IconOf(const Node& node) const;

  TreeView* tree_;
  bool moving_ = false;  // a move the views were told about is under way
  mutable std::map<int, QIcon> icons_;
};

}  // namespace xel
