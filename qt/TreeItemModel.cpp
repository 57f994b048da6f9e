#include "qt/TreeItemModel.h"

#include <QApplication>
#include <QPalette>

#include "qt/Pictures.h"

namespace xel {

TreeItemModel::TreeItemModel(TreeView& tree, QObject* parent)
    : QAbstractItemModel(parent), tree_(&tree) {
  tree_->Nodes().AddObserver(this);
}

void TreeItemModel::Release() {
  if (!tree_) {
    return;
  }
  beginResetModel();
  tree_->Nodes().RemoveObserver(this);
  tree_ = nullptr;
  endResetModel();
}

Node TreeItemModel::NodeAt(const QModelIndex& index) const {
  if (!tree_ || !index.isValid() || index.model() != this) {
    return Node();
  }
  return tree_->Nodes().FromId(index.internalId());
}

QModelIndex TreeItemModel::IndexOf(const Node& node) const {
  if (!tree_ || !node || !node.Exists()) {
    return {};
  }
  return createIndex(static_cast<int>(tree_->Nodes().RowOf(node)), 0,
                     static_cast<quintptr>(node.Id()));
}

QModelIndex TreeItemModel::index(int row, int column, const QModelIndex& parent) const {
  if (!tree_ || column != 0 || (parent.isValid() && !NodeAt(parent))) {
    return {};
  }
  Node node = tree_->Nodes().ChildAt(NodeAt(parent), row);
  return node ? createIndex(row, 0, static_cast<quintptr>(node.Id())) : QModelIndex();
}

QModelIndex TreeItemModel::parent(const QModelIndex& child) const {
  Node node = NodeAt(child);
  return node ? IndexOf(node.Parent()) : QModelIndex();
}

int TreeItemModel::rowCount(const QModelIndex& parent) const {
  if (!tree_ || parent.column() > 0) {
    return 0;
  }
  if (!parent.isValid()) {
    return static_cast<int>(tree_->Nodes().RootCount());
  }
  Node node = NodeAt(parent);
  return node ? static_cast<int>(node.Children()) : 0;
}

int TreeItemModel::columnCount(const QModelIndex& /*parent*/) const {
  return 1;
}

QIcon TreeItemModel::IconOf(const Node& node) const {
  int image = node.Selected() && node.SelectedImage() != 0 ? node.SelectedImage() : node.Image();
  const ImageList* images = tree_->ImageListUsed();
  if (image == 0 || !images || image > images->Count()) {
    return {};
  }
  auto drawn = icons_.find(image);
  if (drawn == icons_.end()) {
    drawn = icons_.emplace(image, NodeIcon(images->Key(image))).first;
  }
  return drawn->second;
}

QVariant TreeItemModel::data(const QModelIndex& index, int role) const {
  Node node = NodeAt(index);
  if (!node) {
    return {};
  }
  bool highlighted = tree_->DropHighlight() == node;
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return QString::fromStdString(node.Text());
    case Qt::DecorationRole:
      return IconOf(node);
    case Qt::CheckStateRole:
      if (!tree_->Checkboxes()) {
        return {};
      }
      return node.Checked() ? Qt::Checked : Qt::Unchecked;
    case Qt::BackgroundRole:
      return highlighted ? QVariant(QApplication::palette().color(QPalette::Highlight))
                         : QVariant();
    case Qt::ForegroundRole:
      return highlighted ? QVariant(QApplication::palette().color(QPalette::HighlightedText))
                         : QVariant();
    default:
      return {};
  }
}

bool TreeItemModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  Node node = NodeAt(index);
  if (!node || role != Qt::CheckStateRole || !tree_->Checkboxes()) {
    return false;
  }
  bool checked = value.value<Qt::CheckState>() == Qt::Checked;
  tree_->Runtime().Dispatch([&] { tree_->UserCheck(node, checked); });
  return true;
}

Qt::ItemFlags TreeItemModel::flags(const QModelIndex& index) const {
  if (!NodeAt(index)) {
    return Qt::NoItemFlags;
  }
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (tree_->Checkboxes()) {
    flags |= Qt::ItemIsUserCheckable;
  }
  return flags;
}

void TreeItemModel::NodeAboutToBeAdded(const Node& parent, long row) {
  int at = static_cast<int>(row);
  beginInsertRows(IndexOf(parent), at, at);
}

void TreeItemModel::NodeAdded(const Node& /*node*/) {
  endInsertRows();
}

void TreeItemModel::NodeAboutToBeRemoved(const Node& node) {
  int row = static_cast<int>(tree_->Nodes().RowOf(node));
  beginRemoveRows(IndexOf(node.Parent()), row, row);
}

void TreeItemModel::NodeRemoved(const Node& /*parent*/, long /*row*/) {
  endRemoveRows();
}

// Qt refuses only a move that leaves the node where it is (the last child moved under its own
// parent); the views then need not hear of it.
void TreeItemModel::NodeAboutToBeMoved(const Node& node, const Node& newParent, long newRow) {
  int row = static_cast<int>(tree_->Nodes().RowOf(node));
  moving_ =
      beginMoveRows(IndexOf(node.Parent()), row, row, IndexOf(newParent), static_cast<int>(newRow));
}

void TreeItemModel::NodeMoved(const Node& /*node*/) {
  if (moving_) {
    moving_ = false;
    endMoveRows();
  }
}

void TreeItemModel::NodeChanged(const Node& node, NodeField what) {
  QModelIndex at = IndexOf(node);
  switch (what) {
    case NodeField::Text:
      Q_EMIT dataChanged(at, at, {Qt::DisplayRole, Qt::AccessibleTextRole});
      break;
    case NodeField::Image:
      Q_EMIT dataChanged(at, at, {Qt::DecorationRole});
      break;
    case NodeField::Checked:
      Q_EMIT dataChanged(at, at, {Qt::CheckStateRole});
      break;
    case NodeField::DropHighlight:
      Q_EMIT dataChanged(at, at, {Qt::BackgroundRole, Qt::ForegroundRole});
      break;
    case NodeField::Selected:
      Q_EMIT dataChanged(at, at, {Qt::DecorationRole});
      if (onSelectionChanged) {
        onSelectionChanged();
      }
      break;
    case NodeField::Expanded:
      if (onExpandedChanged) {
        onExpandedChanged(at, node.Expanded());
      }
      break;
    case NodeField::Key:
    case NodeField::Tag:
      break;
  }
}

void TreeItemModel::NodeEnsureVisible(const Node& node) {
  if (onEnsureVisible) {
    onEnsureVisible(IndexOf(node));
  }
}

void TreeItemModel::AboutToBeCleared() {
  beginResetModel();
}

void TreeItemModel::Cleared() {
  endResetModel();
}

}  // namespace xel
